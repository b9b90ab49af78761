#include <gtest/gtest.h>

#include "ContentFile.h"
#include "graphics/ZipArchive.h"
#include "lum/data/GraphicActionButton.h"
#include "lum/data/GraphicElementFactory.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"

using namespace lum::data;

namespace {

// Registers the content model's factory for one test.
class ActionButtonTest : public testing::Test {
protected:
    void SetUp() override { graphics::RegisterFactory(m_factory); }
    void TearDown() override { graphics::UnregisterFactory(m_factory); }

    tarn::P<graphics::IGraphicElementFactory> m_factory = tarn::New<CGraphicElementFactory>();
    testsupport::TempFolder m_folder;
};

std::string ProductWithButton(const std::string& action) {
    return "<product><pages><page name=\"Main\"><document>"
           "<state-button type-name=\"lum-state-button-action\" label=\"Go\">" +
           action + "</state-button></document></page></pages></product>";
}

}  // namespace

TEST(ActionButtonFactory, KnowsItsTypeNamesOnly) {
    const auto factory = tarn::New<CGraphicElementFactory>();
    for (const wchar_t* name : {L"STATE-BUTTON-ACTION", L"lum-state-button-action", L""}) {
        EXPECT_TRUE(tarn::Cast<CGraphicActionButton>(factory->Create(name))) << name;
    }
    EXPECT_FALSE(factory->Create(L"state-button"));
    EXPECT_FALSE(factory->Create(L"skin-button"));
}

TEST(ActionButton, CopiesDoNotShareTheAction) {
    auto source = tarn::New<CGraphicActionButton>();
    source->GetAction()->SetType(EActionType::ChangePage);
    source->GetAction()->SetChangePageKind(EChangePageKind::GotoPage);
    source->GetAction()->SetPage(L"Extras");
    auto copy = tarn::New<CGraphicActionButton>();
    copy->CopyFrom(*source);
    const auto clone = tarn::Cast<CGraphicActionButton>(source->Clone());
    ASSERT_TRUE(clone);
    EXPECT_EQ(copy->GetAction()->GetPage(), L"Extras");
    EXPECT_EQ(clone->GetAction()->GetType(), EActionType::ChangePage);

    copy->GetAction()->SetPage(L"Other");
    clone->GetAction()->SetPage(L"Third");
    EXPECT_EQ(source->GetAction()->GetPage(), L"Extras");
    EXPECT_EQ(source->GetHint(), L"Goto page 'Extras'");
    EXPECT_EQ(source->GetTypeName(), L"lum-state-button-action");
}

TEST_F(ActionButtonTest, ReadsAndWritesItsActionInsideAProduct) {
    const std::string xml = ProductWithButton(
        "<Action type=\"run-file\" file=\"setup.exe\" valid=\"true\"/>");
    auto product = tarn::New<CProduct>();
    product->Load(wxFileName(lumtest::WriteArchive(m_folder, "a.lum", {{"product.xml", xml}})));
    ASSERT_EQ(product->GetPageCount(), 1u);
    const auto document = product->GetPage(0)->GetDocument();
    ASSERT_EQ(document->GetCount(), 1u);
    const auto button = tarn::Cast<CGraphicActionButton>(document->GetAt(0));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetAction()->GetFile(), L"setup.exe");
    EXPECT_EQ(button->GetHint(), L"Run file 'setup.exe'");

    // Written out and read again, the button keeps kind and action.
    wxXmlNode root(wxXML_ELEMENT_NODE, "document");
    document->ToXml(root, nullptr);
    graphics::CZipArchive archive(lumtest::WriteArchive(m_folder, "b.lum", {{"x", "x"}}));
    auto again = tarn::New<graphics::CGraphicDocument>();
    again->FromXml(root, archive.GetCatalogue());
    ASSERT_EQ(again->GetCount(), 1u);
    const auto reread = tarn::Cast<CGraphicActionButton>(again->GetAt(0));
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->GetAction()->GetType(), EActionType::RunFile);
    EXPECT_EQ(reread->GetAction()->GetFile(), L"setup.exe");
}

TEST_F(ActionButtonTest, ButtonWithoutActionIsUndefined) {
    auto product = tarn::New<CProduct>();
    product->Load(wxFileName(
        lumtest::WriteArchive(m_folder, "a.lum", {{"product.xml", ProductWithButton("")}})));
    ASSERT_EQ(product->GetPageCount(), 1u);
    const auto button =
        tarn::Cast<CGraphicActionButton>(product->GetPage(0)->GetDocument()->GetAt(0));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetAction()->GetType(), EActionType::Undefined);
}

TEST_F(ActionButtonTest, UnknownChangePageMakesTheProductUnreadable) {
    const std::string xml =
        ProductWithButton("<action type=\"change-page\" change-page=\"next-page\"/>");
    auto product = tarn::New<CProduct>();
    EXPECT_THROW(
        product->Load(wxFileName(lumtest::WriteArchive(m_folder, "a.lum", {{"product.xml", xml}}))),
        tarn::CException);
    EXPECT_EQ(product->GetPageCount(), 0u);

    // An empty kind is no error.
    auto fine = tarn::New<CProduct>();
    fine->Load(wxFileName(lumtest::WriteArchive(
        m_folder, "b.lum",
        {{"product.xml", ProductWithButton("<action type=\"change-page\" change-page=\"\"/>")}})));
    EXPECT_EQ(fine->GetPageCount(), 1u);
}
