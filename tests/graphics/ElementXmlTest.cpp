#include <gtest/gtest.h>

#include "TestSupport.h"
#include "graphics/FreeFormManager.h"
#include "graphics/GraphicDocument.h"
#include "graphics/GraphicDummy.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicImage.h"
#include "graphics/GraphicLine.h"
#include "graphics/GraphicMirror.h"
#include "graphics/GraphicRectangle.h"
#include "graphics/GraphicShape.h"
#include "graphics/XData.h"
#include "wxutil/WXError.h"

namespace {

using namespace graphics;
using testsupport::ParseXml;
using testsupport::RoundTrip;

// Sets every common member away from its default.
void FillCommon(CGraphicElement& element) {
    element.SetName(L"element \u00e4");
    element.SetCenter({12.25, -3.5});
    element.SetSize({40.125, 20});
    element.SetColoured(false);
    element.SetMirror(0, true);
    element.SetMirror(1, true);
    element.SetRotation(33);
    element.SetVisible(false);
    element.SetModified(true);
    element.SetContentId(L"content");
    element.SetContentIndex(3);
    element.SetTextId(L"text");
    element.SetTags({L"a", L"bold"});
    element.SetGroups({2, 5});
}

void ExpectCommonEqual(const CGraphicElement& a, const CGraphicElement& b) {
    EXPECT_EQ(a.GetName(), b.GetName());
    EXPECT_EQ(a.GetCenter(), b.GetCenter());
    EXPECT_EQ(a.GetSize(), b.GetSize());
    EXPECT_EQ(a.IsColoured(), b.IsColoured());
    EXPECT_EQ(a.IsMirrored(0), b.IsMirrored(0));
    EXPECT_EQ(a.IsMirrored(1), b.IsMirrored(1));
    EXPECT_EQ(a.GetRotation(), b.GetRotation());
    EXPECT_EQ(a.IsVisible(), b.IsVisible());
    EXPECT_EQ(a.IsModified(), b.IsModified());
    EXPECT_EQ(a.GetContentId(), b.GetContentId());
    EXPECT_EQ(a.GetContentIndex(), b.GetContentIndex());
    EXPECT_EQ(a.GetTextId(), b.GetTextId());
    EXPECT_EQ(a.GetTags(), b.GetTags());
    EXPECT_EQ(a.GetGroups(), b.GetGroups());
}

TEST(ElementXmlTest, EveryKindReadsBackEqual) {
    for (int type = 0; type < kGraphicTypeCount; ++type) {
        if (type == GRAPHIC_BASE || type == GRAPHIC_CUSTOM || type == GRAPHIC_ANIMATION) continue;
        auto element = NewInstance(type);
        FillCommon(*element);
        std::string first, second;
        auto copy = RoundTrip(*element, &first);
        ASSERT_EQ(copy->GetType(), type);
        ExpectCommonEqual(*element, *copy);
        RoundTrip(*copy, &second);
        EXPECT_EQ(first, second) << GraphicTypeToXml(type);
    }
}

TEST(ElementXmlTest, CommonFormDetails) {
    auto element = NewInstance(GRAPHIC_RECTANGLE);
    std::string text;
    RoundTrip(*element, &text);
    // Defaults: no mirror, modified, ids, tags or groups written.
    for (const char* absent : {"mirror-x", "mirror-y", "modified", "content-id",
                               "content-index", "text-id", "<tags", "<groups"}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(text.find("coloured=\"true\""), std::string::npos);

    element->SetTags({L"a", L"b"});
    RoundTrip(*element, &text);
    EXPECT_NE(text.find("<tags>"), std::string::npos) << text;
    EXPECT_NE(text.find("<a/>"), std::string::npos) << text;
    EXPECT_NE(text.find("<b/>"), std::string::npos) << text;
}

TEST(ElementXmlTest, ReadingKeepsWhatIsAbsentAndFollowsTheForms) {
    const auto xml = ParseXml(
        "<rectangle visible=\"TRUE\" rotation=\"-30\" modified=\"1\">"
        "<size width=\"3,5\" height=\"\"/><tags><bold/></tags>"
        "<groups><group nr=\"0\"/><group nr=\"-4\"/><other nr=\"9\"/></groups></rectangle>");
    auto element = NewInstance(GRAPHIC_RECTANGLE);
    element->SetSize({1, 2});
    element->SetTags({L"old"});
    element->SetGroups({1});
    auto store = tarn::New<testsupport::CMemoryStore>();
    element->FromXml(*xml->GetRoot(), *store);
    EXPECT_TRUE(element->IsVisible());
    EXPECT_FALSE(element->IsModified());
    EXPECT_EQ(element->GetRotation(), -30);  // stored as read
    EXPECT_TRUE(element->IsColoured());
    EXPECT_FALSE(element->IsMirrored(0));
    EXPECT_EQ(element->GetCenter(), (CDPoint{0, 0}));
    EXPECT_EQ(element->GetSize(), (CDSize{3.5, 2}));
    EXPECT_EQ(element->GetTags(), (std::set<std::wstring>{L"bold"}));
    EXPECT_EQ(element->GetGroups(), (std::set<std::int32_t>{9}));
}

TEST(ElementXmlTest, ImageMembers) {
    auto image = tarn::Cast<CGraphicImage>(NewInstance(GRAPHIC_IMAGE));
    FillCommon(*image);
    image->SetScaleMargins({1, 2, 3, 4, 0.5, 0.25, 0.125, 2});
    image->SetNoScale(true);
    image->SetFileName(wxFileName("/pictures/a.png"));
    image->SetBitmap(std::make_unique<wxBitmap>(testsupport::MakeBitmap(3, 2, *wxRED)));
    std::string text;
    auto copy = tarn::Cast<CGraphicImage>(RoundTrip(*image, &text));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetScaleMargins(), image->GetScaleMargins());
    EXPECT_TRUE(copy->IsNoScale());
    ASSERT_NE(copy->GetBitmap(), nullptr);
    EXPECT_EQ(copy->GetBitmap()->GetSize(), wxSize(3, 2));
    // The store clears the file name of an attachment it loads.
    EXPECT_FALSE(copy->GetFileName().IsOk());
    // File names are written in the system's own form ("\\pictures\\a.png" on Windows).
    const std::string written = wxFileName("/pictures/a.png").GetFullPath().ToStdString();
    EXPECT_NE(text.find("filename=\"" + written + "\""), std::string::npos) << text;
    EXPECT_LT(text.find("left=\"2\""), text.find("top=\"1\""));

    const auto bare = ParseXml("<image filename=\"/x/y.png\"/>");
    auto plain = tarn::Cast<CGraphicImage>(NewInstance(GRAPHIC_IMAGE));
    auto store = tarn::New<testsupport::CMemoryStore>();
    plain->FromXml(*bare->GetRoot(), *store);
    EXPECT_EQ(plain->GetBitmap(), nullptr);
    EXPECT_TRUE(plain->IsContentEmpty());
    EXPECT_EQ(plain->GetFileName().GetFullPath(), wxFileName("/x/y.png").GetFullPath());
}

TEST(ElementXmlTest, ShapeMembersAndFreeForm) {
    auto shape = tarn::Cast<CGraphicShape>(NewInstance(GRAPHIC_SHAPE));
    FillCommon(*shape);
    shape->SetGradient({wxColour(1, 2, 3), wxColour(4, 5, 6, 7), true});
    shape->SetShapeType(SHAPE_FREE_FORM);
    shape->SetBrush(wxBrush(wxColour(10, 20, 30), wxBRUSHSTYLE_CROSS_HATCH));
    shape->SetPen(wxPen(wxColour(40, 50, 60), 4, wxPENSTYLE_SHORT_DASH));
    shape->SetCornerRadius(7.5);
    shape->SetFreeForm(CFreeFormManager::Get()->Find(L"freeform.triangle"));
    auto copy = tarn::Cast<CGraphicShape>(RoundTrip(*shape));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetGradient().start, wxColour(1, 2, 3));
    EXPECT_EQ(copy->GetGradient().end, wxColour(4, 5, 6, 7));
    EXPECT_TRUE(copy->GetGradient().enabled);
    EXPECT_EQ(copy->GetShapeType(), SHAPE_FREE_FORM);
    EXPECT_EQ(copy->GetBrush(), shape->GetBrush());
    EXPECT_EQ(copy->GetPen(), shape->GetPen());
    EXPECT_EQ(copy->GetCornerRadius(), 7.5);
    ASSERT_TRUE(copy->GetFreeForm());
    EXPECT_EQ(copy->GetFreeForm()->GetName(), L"freeform.triangle");
    EXPECT_EQ(copy->GetFreeForm()->GetPoints(), shape->GetFreeForm()->GetPoints());

    // A new shape has no gradient colours: they stay unset.
    auto fresh = tarn::Cast<CGraphicShape>(RoundTrip(*NewInstance(GRAPHIC_SHAPE)));
    EXPECT_FALSE(fresh->GetGradient().start.IsOk());
    EXPECT_FALSE(fresh->GetFreeForm());
}

TEST(ElementXmlTest, ShapeTypeTextsAndErrors) {
    EXPECT_EQ(ShapeTypeFromXml(L"ELLIPSE"), SHAPE_ELLIPSE);
    EXPECT_EQ(ShapeTypeToXml(SHAPE_ROUNDED_RECTANGLE), L"rounded-rectangle");
    EXPECT_EQ(ShapeTypeDisplayName(SHAPE_FREE_FORM), L"Free form");
    try {
        ShapeTypeFromXml(L"hexagon");
        FAIL();
    } catch (const wxutil::CWXError& error) {
        EXPECT_EQ(error.GetDescription(), L"ShapeTypeFromXml. Unknwown type:hexagon");
    }
    try {
        ShapeTypeToXml(4);
        FAIL();
    } catch (const wxutil::CWXError& error) {
        EXPECT_EQ(error.GetDescription(), L"ShapeTypeToXml. Unknwown type");
    }
}

TEST(ElementXmlTest, ShapeReadingRules) {
    auto store = tarn::New<testsupport::CMemoryStore>();
    const auto xml = ParseXml(
        "<shape shape=\"\"><free-form name=\"freeform.hexagon\"><graphic-document>"
        "<point><center x=\"1\" y=\"1\"/></point></graphic-document></free-form></shape>");
    auto shape = tarn::Cast<CGraphicShape>(NewInstance(GRAPHIC_SHAPE));
    shape->SetShapeType(SHAPE_ELLIPSE);
    shape->FromXml(*xml->GetRoot(), *store);
    EXPECT_EQ(shape->GetShapeType(), SHAPE_ELLIPSE);  // empty text keeps the type
    EXPECT_FALSE(shape->GetFreeForm());

    const auto stored = ParseXml(
        "<shape shape=\"free-form\"><free-form name=\"freeform.trapeze\"><graphic-document>"
        "<point><center x=\"0\" y=\"0\"/></point><point><center x=\"4\" y=\"0\"/></point>"
        "<point><center x=\"0\" y=\"3\"/></point></graphic-document></free-form></shape>");
    shape->FromXml(*stored->GetRoot(), *store);
    ASSERT_TRUE(shape->GetFreeForm());
    EXPECT_EQ(shape->GetFreeForm()->GetPoints(),
              (std::vector<CDPoint>{{0, 0}, {4, 0}, {0, 3}}));
}

TEST(ElementXmlTest, RectangleLineMirrorDummy) {
    auto rectangle = tarn::Cast<CGraphicRectangle>(NewInstance(GRAPHIC_RECTANGLE));
    rectangle->SetPen(wxPen(wxColour(1, 1, 1), 2, wxPENSTYLE_DOT));
    rectangle->SetBrush(wxBrush(wxColour(200, 100, 0), wxBRUSHSTYLE_TRANSPARENT));
    auto rectangleCopy = tarn::Cast<CGraphicRectangle>(RoundTrip(*rectangle));
    EXPECT_EQ(rectangleCopy->GetPen(), rectangle->GetPen());
    EXPECT_EQ(rectangleCopy->GetBrush(), rectangle->GetBrush());

    auto line = tarn::Cast<CGraphicLine>(NewInstance(GRAPHIC_LINE));
    line->SetPoints({1.5, 2}, {-3, 4.25});
    auto lineCopy = tarn::Cast<CGraphicLine>(RoundTrip(*line));
    EXPECT_EQ(lineCopy->GetStart(), (CDPoint{1.5, 2}));
    EXPECT_EQ(lineCopy->GetEnd(), (CDPoint{-3, 4.25}));

    auto mirror = tarn::Cast<CGraphicMirror>(NewInstance(GRAPHIC_MIRROR));
    EXPECT_TRUE(mirror->IsContentEmpty());
    auto document = tarn::New<CGraphicDocument>();
    document->Add(NewInstance(GRAPHIC_CIRCLE));
    document->Add(rectangle);
    mirror->SetDocument(document);
    auto mirrorCopy = tarn::Cast<CGraphicMirror>(RoundTrip(*mirror));
    ASSERT_TRUE(mirrorCopy->GetDocument());
    ASSERT_EQ(mirrorCopy->GetDocument()->GetCount(), 2u);
    EXPECT_EQ(mirrorCopy->GetDocument()->GetAt(1)->GetType(), GRAPHIC_RECTANGLE);
    // Without the child the mirror keeps its document.
    const auto bare = ParseXml("<mirror/>");
    auto store = tarn::New<testsupport::CMemoryStore>();
    mirrorCopy->FromXml(*bare->GetRoot(), *store);
    EXPECT_TRUE(mirrorCopy->GetDocument());

    auto dummy = tarn::Cast<CGraphicDummy>(NewInstance(GRAPHIC_DUMMY));
    dummy->SetMinimumSize({5, 6});
    dummy->SetSize({2, 10});
    EXPECT_EQ(dummy->GetSize(), (CDSize{5, 10}));
    auto clone = tarn::Cast<CGraphicDummy>(dummy->Clone());
    EXPECT_EQ(clone->GetMinimumSize(), (CDSize{5, 6}));
    EXPECT_EQ(clone->GetSize(), (CDSize{5, 10}));
}

TEST(ElementXmlTest, ClonesCopyEveryMember) {
    auto shape = tarn::Cast<CGraphicShape>(NewInstance(GRAPHIC_SHAPE));
    FillCommon(*shape);
    shape->SetFreeForm(CFreeFormManager::Get()->Find(L"freeform.star"));
    shape->SetHint(L"hint");
    auto clone = tarn::Cast<CGraphicShape>(shape->Clone());
    ASSERT_TRUE(clone);
    ExpectCommonEqual(*shape, *clone);
    EXPECT_EQ(clone->GetHintText(), L"hint");
    ASSERT_TRUE(clone->GetFreeForm());
    EXPECT_NE(clone->GetFreeForm(), shape->GetFreeForm());
    EXPECT_EQ(clone->GetFreeForm()->GetPoints(), shape->GetFreeForm()->GetPoints());
}

TEST(XDataTest, ReadWriteAndEdgeCases) {
    const auto xml = ParseXml(
        "<xdata><title type=\"string\" value=\"first\"/><title type=\"string\" value=\"second\"/>"
        "<mixed type=\"String\" value=\"x\"/><count type=\"int\" value=\"12\"/>"
        "<box type=\"rect\"><value x=\"1\" y=\"2\" width=\"0\" height=\"4\"/></box></xdata>");
    auto bag = tarn::New<CXDatas>();
    bag->FromXml(*xml->GetRoot(), nullptr);
    EXPECT_EQ(bag->GetCount(), 3u);
    auto title = tarn::Cast<CStringXData>(bag->Get(L"title"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->GetValue(), L"second");
    EXPECT_FALSE(bag->Get(L"mixed"));
    EXPECT_EQ(tarn::Cast<CIntXData>(bag->Get(L"count"))->GetValue(), 12);
    auto box = tarn::Cast<CRectXData>(bag->Get(L"box"));
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->IsEmpty());
    EXPECT_FALSE(CRectXData({1, 2, 3, 4}).IsEmpty());

    bag->Set(L"none", nullptr);
    wxXmlNode out(wxXML_ELEMENT_NODE, "xdata");
    bag->ToXml(out, nullptr);
    auto back = tarn::New<CXDatas>();
    back->FromXml(out, nullptr);
    EXPECT_EQ(back->GetCount(), 3u);
    EXPECT_EQ(tarn::Cast<CRectXData>(back->Get(L"box"))->GetValue(), (CDRect{1, 2, 0, 4}));

    auto empty = tarn::New<CXDatas>();
    empty->Set(L"nothing", nullptr);
    EXPECT_TRUE(empty->IsEmpty());
}

}  // namespace
