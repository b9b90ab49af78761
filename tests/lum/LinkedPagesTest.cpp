#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ContentFile.h"
#include "graphics/GraphicElementFactory.h"
#include "lum/LinkedPages.h"
#include "lum/data/GraphicElementFactory.h"

namespace {

std::string Button(const std::string& action) {
    return "<state-button type-name=\"lum-state-button-action\"><action " + action +
           "/></state-button>";
}

std::string GotoPage(const std::string& name) {
    return Button("type=\"change-page\" change-page=\"goto-page\" page=\"" + name + "\"");
}

std::vector<std::wstring> Names(const std::vector<tarn::P<lum::data::CPage>>& pages) {
    std::vector<std::wstring> names;
    for (const auto& page : pages) names.push_back(page->GetName());
    return names;
}

class LinkedPagesTest : public testing::Test {
protected:
    void SetUp() override { graphics::RegisterFactory(m_factory); }
    void TearDown() override { graphics::UnregisterFactory(m_factory); }

    tarn::P<graphics::IGraphicElementFactory> m_factory =
        tarn::New<lum::data::CGraphicElementFactory>();
    testsupport::TempFolder m_folder;
};

}  // namespace

TEST_F(LinkedPagesTest, PagesTheButtonsGoToInButtonOrderEachOnce) {
    const std::string xml =
        "<product><pages>"
        "<page name=\"Main\"><document version=\"1\">" + GotoPage("Extras") + GotoPage("guide") +
        GotoPage("EXTRAS") + GotoPage("Missing") + GotoPage("Main") +
        Button("type=\"change-page\" change-page=\"go-back\"") +
        Button("type=\"run-file\" file=\"setup.exe\"") +
        "</document></page>"
        "<page name=\"Guide\"><document version=\"1\">" +
        Button("type=\"change-page\" change-page=\"goto-mainpage\"") + GotoPage("Guide") +
        "</document></page>"
        "<page name=\"Extras\"><document version=\"1\"></document></page>"
        "</pages></product>";
    const auto product = tarn::New<lum::data::CProduct>();
    product->Load(wxFileName(lumtest::WriteArchive(m_folder, "a.lum", {{"product.xml", xml}})));
    ASSERT_EQ(product->GetPageCount(), 3u);
    // Names compare without case, unknown names and the page itself lead nowhere, and going
    // back or running a file is no page.
    EXPECT_EQ(Names(lum::LinkedPages(*product, *product->GetPage(0))),
              (std::vector<std::wstring>{L"Extras", L"Guide"}));
    EXPECT_EQ(Names(lum::LinkedPages(*product, *product->GetPage(1))),
              (std::vector<std::wstring>{L"Main"}));
    EXPECT_TRUE(lum::LinkedPages(*product, *product->GetPage(2)).empty());
}
