#include <gtest/gtest.h>

#include "ContentFile.h"
#include "graphics/GraphicLabel.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/ZipArchive.h"
#include "graphics/animation/AnimationElement.h"
#include "lum/data/Page.h"

using namespace lum::data;

namespace {

// An element that only counts how often its animation was started and stopped.
class CCountingAnimation : public graphics::CGraphicElement,
                           public virtual graphics::animation::IAnimationElement {
public:
    int GetType() const override { return graphics::GRAPHIC_RECTANGLE; }
    void StopAnimation() override { ++m_stops; }
    void StartAnimation() override { ++m_starts; }
    bool IsAnimated() const override { return m_starts > m_stops; }
    bool HasAnimation() const override { return true; }
    bool IsHovered() const override { return false; }
    tarn::P<graphics::animation::IAnimation> GetAnimation() const override { return nullptr; }

    int m_starts = 0;
    int m_stops = 0;
};

// Pages read against an empty archive: nothing in these pages loads attachments.
class PageTest : public testing::Test {
protected:
    void SetUp() override {
        m_path = lumtest::WriteArchive(m_folder, "content.lum", {{"empty.txt", "x"}});
        m_archive = std::make_unique<graphics::CZipArchive>(m_path);
        ASSERT_TRUE(m_archive->IsOk());
    }

    tarn::P<CPage> Read(const std::string& xml) {
        const auto document = lumtest::ParseXml(xml);
        auto page = tarn::New<CPage>();
        page->ReadXml(*document->GetRoot(), m_archive->GetCatalogue());
        return page;
    }

    testsupport::TempFolder m_folder;
    std::wstring m_path;
    std::unique_ptr<graphics::CZipArchive> m_archive;
};

tarn::P<tarn::IStringLocalizer> Localizer(
    std::initializer_list<std::pair<std::wstring, std::wstring>> texts) {
    auto localizer = tarn::New<tarn::CStringLocalizer>();
    for (const auto& [key, text] : texts) localizer->Set(key, text);
    return localizer;
}

}  // namespace

TEST_F(PageTest, ReadsAttributesAndDocument) {
    const auto page = Read(
        "<page name=\"Extras\" main=\"TRUE\" textid=\"t.extras\" usage=\"gadget-flyout\">"
        "<Document><label text=\"Hello\" text-id=\"t.hello\"/><rectangle/></Document>"
        "<xdata/></page>");
    EXPECT_EQ(page->GetName(), L"Extras");
    EXPECT_TRUE(page->IsMain());
    EXPECT_EQ(page->GetTextId(), L"t.extras");
    EXPECT_EQ(page->GetUsage(), EPageUsage::GadgetFlyout);
    EXPECT_EQ(page->GetDocument()->GetCount(), 2u);
    EXPECT_EQ(page->GetDisplayTitle(), L"Extras");
    EXPECT_TRUE(page->GetXDatas());
}

TEST_F(PageTest, MainAndUsageVocabulary) {
    EXPECT_FALSE(Read("<page main=\"yes\"/>")->IsMain());
    EXPECT_FALSE(Read("<page/>")->IsMain());
    EXPECT_EQ(Read("<page usage=\"Normal\"/>")->GetUsage(), EPageUsage::Normal);
    EXPECT_EQ(Read("<page usage=\"Gadget-Flyout\"/>")->GetUsage(), EPageUsage::Normal);
    EXPECT_EQ(Read("<page usage=\"gadget-mainpage\"/>")->GetUsage(), EPageUsage::GadgetMainPage);
    EXPECT_EQ(Read("<page/>")->GetDocument()->GetCount(), 0u);
    EXPECT_EQ(CPage::UsageToText(EPageUsage::GadgetMainPage), L"gadget-mainpage");
}

TEST_F(PageTest, LocalizerTranslatesTitleAndDocumentTexts) {
    const auto page = Read(
        "<page name=\"Extras\" textid=\"t.extras\">"
        "<document><state-button label=\"Hello\" text-id=\"t.hello\"/></document></page>");
    page->SetLocalizer(Localizer({{L"t.extras", L"Zugaben"}, {L"t.hello", L"Hallo"}}));
    EXPECT_EQ(page->GetDisplayTitle(), L"Zugaben");
    const auto button = tarn::Cast<graphics::CGraphicStateButton>(page->GetDocument()->GetAt(0));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetLabel(), L"Hallo");

    // A language without a title translation falls back to the name.
    page->SetLocalizer(Localizer({}));
    EXPECT_EQ(page->GetDisplayTitle(), L"Extras");
}

TEST_F(PageTest, PageWithoutTextIdKeepsItsNameAsTitle) {
    const auto page = Read("<page name=\"Extras\"/>");
    page->SetLocalizer(Localizer({{L"Extras", L"Zugaben"}, {L"", L"Leer"}}));
    EXPECT_EQ(page->GetDisplayTitle(), L"Extras");
    EXPECT_EQ(page->GetTitle(), L"");
}

TEST_F(PageTest, ActivationStartsAndStopsOnlyAnimations) {
    auto page = tarn::New<CPage>();
    auto first = tarn::New<CCountingAnimation>();
    auto second = tarn::New<CCountingAnimation>();
    page->GetDocument()->Add(first);
    page->GetDocument()->Add(tarn::New<graphics::CGraphicLabel>());
    page->GetDocument()->Add(second);
    page->Activate();
    EXPECT_TRUE(first->IsAnimated());
    EXPECT_TRUE(second->IsAnimated());
    page->Deactivate();
    EXPECT_EQ(first->m_stops, 1);
    EXPECT_EQ(second->m_stops, 1);
    EXPECT_FALSE(second->IsAnimated());
}
