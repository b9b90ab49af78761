#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TestSupport.h"
#include "graphics/GraphicCircle.h"
#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicImage.h"
#include "graphics/GraphicRectangle.h"
#include "graphics/GraphicTable.h"
#include "graphics/XmlValues.h"
#include "tarn/Exception.h"
#include "wxutil/WXError.h"

namespace {

using namespace graphics;
using testsupport::CMemoryStore;
using testsupport::ParseXml;

template <class F>
std::wstring ErrorText(F&& action) {
    try {
        action();
    } catch (const wxutil::CWXError& error) {
        return error.GetDescription();
    }
    return L"<no error>";
}

TEST(GraphicTypeTest, TagsRoundTripAndCompareWithoutCase) {
    for (int type = 0; type < kGraphicTypeCount; ++type) {
        EXPECT_EQ(GraphicTypeFromXml(GraphicTypeToXml(type)), type);
    }
    EXPECT_EQ(GraphicTypeToXml(GRAPHIC_TEXT_CIRCLE), L"text-circle");
    EXPECT_EQ(GraphicTypeFromXml(L"STATE-Button"), GRAPHIC_STATE_BUTTON);
    EXPECT_TRUE(IsGraphicTypeName(L"Mirror"));
    EXPECT_FALSE(IsGraphicTypeName(L"table-content"));
    EXPECT_EQ(ErrorText([] { GraphicTypeFromXml(L"bogus"); }),
              L"GraphicTypeFromXml. Unknwown type:bogus");
    EXPECT_EQ(ErrorText([] { GraphicTypeToXml(19); }), L"GraphicTypeToXml. Unknwown type");
    EXPECT_EQ(ErrorText([] { GraphicTypeToXml(-1); }), L"GraphicTypeToXml. Unknwown type");
}

TEST(GraphicTypeTest, DisplayNames) {
    EXPECT_EQ(GraphicTypeDisplayName(GRAPHIC_TEXT_CIRCLE), L"Circular Text");
    EXPECT_EQ(GraphicTypeDisplayName(GRAPHIC_STATE_BUTTON), L"Button");
    EXPECT_EQ(NewInstance(GRAPHIC_RECTANGLE)->GetDisplayName(), L"Unknown");
    EXPECT_EQ(NewInstance(GRAPHIC_IMAGE)->GetDisplayName(), L"Image");
    auto named = NewInstance(GRAPHIC_IMAGE);
    named->SetName(L"Logo");
    EXPECT_EQ(named->GetDisplayName(), L"Logo");
}

class CTestFactory : public tarn::CObject, public virtual IGraphicElementFactory {
public:
    tarn::P<CGraphicElement> Create(const std::wstring& typeName) override {
        ++asked;
        if (typeName != L"skin-button") return nullptr;
        return tarn::New<CSkinLike>();
    }
    // Reports the state-button value under a type name of its own.
    class CSkinLike : public CGraphicRectangle {
    public:
        int GetType() const override { return GRAPHIC_STATE_BUTTON; }
        std::wstring GetTypeName() const override { return L"skin-button"; }
    };
    int asked = 0;
};

class FactoryTest : public testing::Test {
protected:
    void SetUp() override { RegisterFactory(m_factory); }
    void TearDown() override { UnregisterFactory(m_factory); }
    tarn::P<CTestFactory> m_factory = tarn::New<CTestFactory>();
};

TEST_F(FactoryTest, BuiltInTagsComeFirstThenFactories) {
    for (int type = 0; type < kGraphicTypeCount; ++type) {
        if (type == GRAPHIC_BASE || type == GRAPHIC_CUSTOM || type == GRAPHIC_ANIMATION) {
            EXPECT_EQ(ErrorText([&] { NewInstance(GraphicTypeToXml(type)); }),
                      L"CSheetItemFormat.NewInstance unknwown type");
            continue;
        }
        EXPECT_EQ(NewInstance(GraphicTypeToXml(type))->GetType(), type);
        EXPECT_EQ(NewInstance(type)->GetType(), type);
    }
    EXPECT_EQ(m_factory->asked, 0);
    EXPECT_EQ(NewInstance(L"skin-button")->GetTypeName(), L"skin-button");
    EXPECT_EQ(ErrorText([] { NewInstance(L"no-such-kind"); }),
              L"CSheetItemFormat.NewInstance unknwown type: no-such-kind");
}

TEST_F(FactoryTest, DocumentReadsFactoryKindsUnderAnyTag) {
    const auto xml = ParseXml(
        "<document><state-button type-name=\"skin-button\" name=\"a\"/>"
        "<image type-name=\"skin-button\" name=\"b\"/><shape type=\"skin-button\"/></document>");
    auto document = tarn::New<CGraphicDocument>();
    auto store = tarn::New<CMemoryStore>();
    document->FromXml(*xml->GetRoot(), *store);
    ASSERT_EQ(document->GetCount(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(document->GetAt(i)->GetTypeName(), L"skin-button");
    }
    // Written back under the state-button tag with its type name.
    wxXmlNode written(wxXML_ELEMENT_NODE, "document");
    document->ToXml(written, store.Get());
    const std::string text = testsupport::XmlText(written);
    EXPECT_NE(text.find("<state-button type-name=\"skin-button\""), std::string::npos) << text;

    const auto unknown = ParseXml("<document><image type-name=\"who-knows\"/></document>");
    EXPECT_EQ(ErrorText([&] { document->FromXml(*unknown->GetRoot(), *store); }),
              L"CSheetItemFormat.NewInstance unknwown type: who-knows");
}

TEST(DocumentXmlTest, SkipsWhatIsNotAnElement) {
    const auto xml = ParseXml(
        "<document version=\"1\"><bounding-box x=\"1\" y=\"1\" width=\"5\" height=\"5\"/>"
        "<content-box x=\"2\" y=\"3\" width=\"4\" height=\"5\"/>"
        "<Rectangle name=\"r\"/><unknown-thing/><TABLE-CONTENT/><table-content name=\"t\"/>"
        "<Table name=\"t2\"/><xdata><k type=\"string\" value=\"v\"/></xdata></document>");
    auto document = tarn::New<CGraphicDocument>();
    auto store = tarn::New<CMemoryStore>();
    document->FromXml(*xml->GetRoot(), *store);
    ASSERT_EQ(document->GetCount(), 3u);
    EXPECT_EQ(document->GetAt(0)->GetType(), GRAPHIC_RECTANGLE);
    EXPECT_EQ(document->GetAt(1)->GetType(), GRAPHIC_TABLE);
    EXPECT_EQ(document->GetAt(1)->GetName(), L"t");
    EXPECT_EQ(document->GetAt(2)->GetName(), L"t2");
    EXPECT_TRUE(document->HasContentBox());
    EXPECT_EQ(document->GetContentBox(), (CDRect{2, 3, 4, 5}));
    ASSERT_TRUE(document->GetXDatas());
    EXPECT_FALSE(document->GetXDatas()->IsEmpty());

    // Reading again starts afresh: no content box without the child.
    const auto plain = ParseXml("<document><circle/></document>");
    document->FromXml(*plain->GetRoot(), *store);
    EXPECT_EQ(document->GetCount(), 1u);
    EXPECT_FALSE(document->HasContentBox());
}

TEST(DocumentXmlTest, WritesVersionBoundsContentBoxAndElementsInOrder) {
    auto document = tarn::New<CGraphicDocument>();
    auto a = NewInstance(GRAPHIC_CIRCLE), b = NewInstance(GRAPHIC_PAPER);
    a->SetCenter({10, 10});
    a->SetSize({4, 4});
    b->SetCenter({20, 30});
    b->SetSize({10, 20});
    document->Add(a);
    document->Add(b);
    document->SetContentBox({0, 0, 50, 60});
    wxXmlNode node(wxXML_ELEMENT_NODE, "document");
    document->ToXml(node, nullptr);
    EXPECT_EQ(node.GetAttribute("version"), "1");
    const wxXmlNode* box = xml::FindChild(node, "bounding-box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetAttribute("x"), "8");
    EXPECT_EQ(box->GetAttribute("height"), "32");
    const std::string text = testsupport::XmlText(node);
    EXPECT_LT(text.find("<circle"), text.find("<paper"));
    EXPECT_NE(text.find("<content-box"), std::string::npos);
    EXPECT_EQ(text.find("<xdata"), std::string::npos);
}

TEST(ValueFormTest, DoublesReadWithPointOrCommaInAnyLocale) {
    double value = 0;
    EXPECT_TRUE(xml::ParseDouble("12.5", value));
    EXPECT_EQ(value, 12.5);
    EXPECT_TRUE(xml::ParseDouble("12,5", value));
    EXPECT_EQ(value, 12.5);
    EXPECT_TRUE(xml::ParseDouble("-0,25", value));
    EXPECT_EQ(value, -0.25);
    EXPECT_FALSE(xml::ParseDouble("abc", value));
    EXPECT_EQ(value, -0.25);
    EXPECT_EQ(xml::FormatDouble(0.1), L"0.1");
    EXPECT_EQ(xml::FormatDouble(-1234.5), L"-1234.5");
    double back = 0;
    ASSERT_TRUE(xml::ParseDouble(wxString(xml::FormatDouble(1.0 / 3.0)), back));
    EXPECT_EQ(back, 1.0 / 3.0);

    // A locale with a decimal comma changes neither direction.
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(xml::FormatDouble(2.75), L"2.75");
        EXPECT_TRUE(xml::ParseDouble("2,75", value));
        EXPECT_EQ(value, 2.75);
        EXPECT_TRUE(xml::ParseDouble("2.75", value));
        EXPECT_EQ(value, 2.75);
    }
    std::setlocale(LC_NUMERIC, old.c_str());
}

TEST(ValueFormTest, BooleansIntegersColoursPensBrushes) {
    const auto xml = ParseXml(
        "<n a=\"TRUE\" b=\"1\" c=\"yes\" i=\"-42\" j=\"4x\">"
        "<pen style=\"101\" width=\"3\"><COLOR red=\"1\" green=\"2\" blue=\"3\" alpha=\"4\"/></pen>"
        "<brush style=\"999\"><color red=\"300\"/></brush><ip x=\"5\" y=\"-6\"/></n>");
    const wxXmlNode& node = *xml->GetRoot();
    bool flag = false;
    EXPECT_TRUE(xml::ReadBool(node, "a", flag));
    EXPECT_TRUE(flag);
    xml::ReadBool(node, "b", flag);
    EXPECT_FALSE(flag);
    flag = true;
    xml::ReadBool(node, "c", flag);
    EXPECT_FALSE(flag);
    flag = true;
    EXPECT_FALSE(xml::ReadBool(node, "missing", flag));
    EXPECT_TRUE(flag);
    std::int32_t number = 7;
    EXPECT_TRUE(xml::ReadInt(node, "i", number));
    EXPECT_EQ(number, -42);
    EXPECT_FALSE(xml::ReadInt(node, "j", number));
    EXPECT_EQ(number, -42);

    wxPen pen = *wxBLACK_PEN;
    xml::ReadPen(node, "pen", pen);
    EXPECT_EQ(pen.GetColour(), wxColour(1, 2, 3, 4));
    EXPECT_EQ(pen.GetStyle(), wxPENSTYLE_DOT);
    EXPECT_EQ(pen.GetWidth(), 3);
    wxBrush brush(wxColour(9, 9, 9), wxBRUSHSTYLE_TRANSPARENT);
    xml::ReadBrush(node, "brush", brush);
    EXPECT_EQ(brush.GetColour(), wxColour(255, 9, 9));   // out of range clamps
    EXPECT_EQ(brush.GetStyle(), wxBRUSHSTYLE_SOLID);     // unknown style falls back
    wxPoint point;
    xml::ReadIntPoint(node, "ip", point);
    EXPECT_EQ(point, wxPoint(5, -6));

    wxXmlNode out(wxXML_ELEMENT_NODE, "out");
    xml::WritePen(out, "pen", pen);
    xml::WriteString(out, "name", L"x");
    xml::WriteString(out, "name", L"y");
    EXPECT_EQ(out.GetAttribute("name"), "y");
    wxPen back;
    xml::ReadPen(out, "pen", back);
    EXPECT_EQ(back, pen);
}

TEST(GraphicBaseTest, SetRotationNormalises) {
    auto element = NewInstance(GRAPHIC_RECTANGLE);
    const std::pair<double, double> cases[] = {{-30, 330}, {-30.7, 330}, {360, 360}, {720, 360},
                                               {725, 5},   {-360, 0},    {45.9, 45},  {0, 0}};
    for (const auto& [given, expected] : cases) {
        element->SetRotation(given);
        EXPECT_EQ(element->GetRotation(), expected) << given;
        EXPECT_FALSE(std::signbit(element->GetRotation())) << given;
    }
    element->SetRotation(1e300);  // huge values end in range at once
    EXPECT_GE(element->GetRotation(), 0);
    EXPECT_LE(element->GetRotation(), 360);
}

TEST(GraphicBaseTest, HitTestTurnsThePointBack) {
    auto rectangle = NewInstance(GRAPHIC_RECTANGLE);
    rectangle->SetCenter({0, 0});
    rectangle->SetSize({20, 4});
    EXPECT_TRUE(rectangle->Contains(9, 1));
    rectangle->SetRotation(45);
    // Inside the turned outline, outside the upright rectangle.
    EXPECT_TRUE(rectangle->Contains(6, 6));
    EXPECT_FALSE(rectangle->Contains(9, 1.9));  // a corner of the upright rectangle
    EXPECT_FALSE(rectangle->Contains(-6, 6));
    rectangle->SetMirror(0, true);
    EXPECT_TRUE(rectangle->Contains(6, 6));  // mirroring changes nothing

    auto circle = NewInstance(GRAPHIC_CIRCLE);
    circle->SetCenter({100, 100});
    circle->SetSize({10, 1});
    EXPECT_TRUE(circle->Contains(105, 100));
    EXPECT_TRUE(circle->Contains(100, 95));  // the height is not used
    EXPECT_FALSE(circle->Contains(105.01, 100));
    EXPECT_FALSE(circle->Contains(103.6, 103.6));
}

TEST(GraphicBaseTest, RotatedExtentsAndSizing) {
    auto element = NewInstance(GRAPHIC_RECTANGLE);
    element->SetCenter({50, 50});
    element->SetSize({20, 10});
    element->SetRotation(90);
    EXPECT_NEAR(element->GetRotatedSize().width, 10, 1e-9);
    EXPECT_NEAR(element->GetRotatedSize().height, 20, 1e-9);
    const CDRect bounds = element->GetBoundingRect();
    EXPECT_NEAR(bounds.x, 45, 1e-9);
    EXPECT_NEAR(bounds.y, 40, 1e-9);
    EXPECT_EQ(element->GetOutline().size(), 9u);

    element->SetRotatedSize({20, 40});
    EXPECT_NEAR(element->GetSize().width, 40, 1e-9);
    EXPECT_NEAR(element->GetSize().height, 20, 1e-9);
    element->SetRotatedSize({0, 0});
    EXPECT_EQ(element->GetSize(), (CDSize{1, 1}));

    element->SetRotation(0);
    element->SetSize({10, 10});
    wxAffineMatrix2D doubling;
    doubling.Scale(2, 2);
    element->Transform(doubling);
    EXPECT_EQ(element->GetCenter(), (CDPoint{100, 100}));
    EXPECT_NEAR(element->GetSize().width, 20, 1e-9);
}

// Counts notices.
class CCounter : public IGraphicListener {
public:
    void OnGraphicChanged(CGraphicBase&) override { ++notices; }
    int notices = 0;
};

TEST(ContainerTest, BoundsFollowChangesLazily) {
    auto document = tarn::New<CGraphicDocument>();
    EXPECT_EQ(document->GetBoundingBox(), CDRect{});
    EXPECT_TRUE(document->IsBoundsValid());

    auto a = NewInstance(GRAPHIC_RECTANGLE), b = NewInstance(GRAPHIC_RECTANGLE);
    a->SetCenter({10, 10});
    a->SetSize({10, 10});
    b->SetCenter({30, 40});
    b->SetSize({2, 4});
    document->Add(a);
    document->Add(b);
    EXPECT_FALSE(document->IsBoundsValid());
    EXPECT_EQ(document->GetBoundingBox(), (CDRect{5, 5, 26, 37}));
    b->SetCenter({0, 0});
    EXPECT_FALSE(document->IsBoundsValid());
    EXPECT_EQ(document->GetBoundingBox(), (CDRect{-1, -2, 16, 17}));

    auto listener = tarn::New<CCounter>();
    a->AddListener(listener.Get());
    a->SetSize({1, 1});
    a->SetCenter({1, 1});
    a->SetRotation(10);
    EXPECT_EQ(listener->notices, 2);
    a->RemoveListener(listener.Get());
}

TEST(ContainerTest, UpdateBracketsNestAndNeverGoNegative) {
    auto document = tarn::New<CGraphicDocument>();
    document->EndUpdate();
    EXPECT_EQ(document->GetUpdateDepth(), 0);
    document->GetBoundingBox();
    document->BeginUpdate();
    document->BeginUpdate();
    document->EndUpdate();
    EXPECT_EQ(document->GetUpdateDepth(), 1);
    EXPECT_TRUE(document->IsBoundsValid());
    document->EndUpdate();
    EXPECT_EQ(document->GetUpdateDepth(), 0);
    EXPECT_FALSE(document->IsBoundsValid());
}

TEST(ContainerTest, SharedElementOutlivesItsContainer) {
    auto element = NewInstance(GRAPHIC_RECTANGLE);
    {
        auto first = tarn::New<CGraphicDocument>();
        auto second = tarn::New<CGraphicDocument>();
        first->Add(element);
        second->Add(element);
        EXPECT_EQ(element->GetRefCount(), 3);
        first->Clear();
        EXPECT_EQ(element->GetRefCount(), 2);
    }
    EXPECT_EQ(element->GetRefCount(), 1);
    element->SetCenter({1, 2});  // no container is told any more
}

TEST(ContainerTest, FindAtPrefersTheTopmostVisibleElement) {
    auto document = tarn::New<CGraphicDocument>();
    auto lower = NewInstance(GRAPHIC_RECTANGLE), upper = NewInstance(GRAPHIC_CIRCLE);
    lower->SetCenter({10, 10});
    lower->SetSize({20, 20});
    upper->SetCenter({10, 10});
    upper->SetSize({4, 4});
    document->Add(lower);
    document->Add(upper);
    EXPECT_EQ(document->FindAt(10, 10), upper);
    EXPECT_EQ(document->FindAt(18, 18), lower);
    upper->SetVisible(false);
    EXPECT_EQ(document->FindAt(10, 10), lower);
    EXPECT_FALSE(document->FindAt(50, 50));
}

TEST(ElementTest, HintsForEditing) {
    auto image = NewInstance(GRAPHIC_IMAGE);
    EXPECT_EQ(image->GetHint(), L"");
    image->SetFlags(image->GetFlags() | CGraphicBase::kFlagEditingHints);
    EXPECT_EQ(image->GetHint(), L"Double click to load an image");
    auto typed = tarn::Cast<CGraphicImage>(image);
    typed->SetBitmap(std::make_unique<wxBitmap>(testsupport::MakeBitmap(2, 2, *wxRED)));
    typed->SetCenter({1.5, 2});
    typed->SetSize({3, 4});
    EXPECT_EQ(image->GetHint(), L"Image bounds: 1.50,2.00 (3.00 x 4.00)");
    image->SetHint(L"mine");
    EXPECT_EQ(image->GetHint(), L"mine");

    auto table = NewInstance(GRAPHIC_TABLE);
    table->SetFlags(CGraphicBase::kFlagEditingHints);
    EXPECT_EQ(table->GetHint(), L"Double click to edit table");
    auto rectangle = NewInstance(GRAPHIC_RECTANGLE);
    rectangle->SetFlags(CGraphicBase::kFlagEditingHints);
    EXPECT_EQ(rectangle->GetHint(), L"");
}

}  // namespace
