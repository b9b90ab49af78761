#include <gtest/gtest.h>

#include "ProductXml.h"
#include "lum/History.h"
#include "lum/ProductStringLocalizer.h"

namespace {

const std::string kProduct = R"(<?xml version="1.0" encoding="UTF-8"?>
<product>
  <pages>
    <page name="P0"/><page name="P1"/><page name="P2" textid="t.p2"/><page name="P3"/>
  </pages>
  <translations><t id="t.p2" language="en-us" translation="Second"/></translations>
</product>)";

class HistoryTest : public testing::Test {
protected:
    HistoryTest() {
        m_product->SetLocalizer(tarn::New<lum::CProductStringLocalizer>(m_product, L"en-us"));
    }

    tarn::P<lum::data::CPage> Page(std::size_t index) const { return m_product->GetPage(index); }

    std::vector<std::wstring> PageNames() const {
        std::vector<std::wstring> names;
        for (std::size_t i = 0; i < m_history->GetCount(); ++i) {
            names.push_back(m_history->GetPage(i)->GetName());
        }
        return names;
    }

    tarn::P<lum::data::CProduct> m_product = lumtest::ReadProduct(kProduct);
    tarn::P<lum::CHistory> m_history = tarn::New<lum::CHistory>();
};

using Names = std::vector<std::wstring>;

}  // namespace

TEST_F(HistoryTest, WalkThroughDropsTheEntriesAfterTheCurrentOneOnPush) {
    EXPECT_EQ(m_history->GetPosition(), -1);
    EXPECT_EQ(m_history->GetBreadcrumb(), L"");

    m_history->Push(Page(0));
    EXPECT_EQ(m_history->GetPosition(), 0);
    m_history->Push(Page(1));
    m_history->Push(Page(2));
    EXPECT_EQ(PageNames(), (Names{L"P0", L"P1", L"P2"}));
    EXPECT_EQ(m_history->GetPosition(), 2);

    EXPECT_EQ(m_history->Back(), Page(1));
    EXPECT_EQ(m_history->GetPosition(), 1);
    // Going back keeps the later entry until the next push.
    EXPECT_EQ(m_history->GetCount(), 3u);
    EXPECT_EQ(m_history->GetBreadcrumb(), L"P0 | P1");

    m_history->Push(Page(3));
    EXPECT_EQ(PageNames(), (Names{L"P0", L"P1", L"P3"}));
    EXPECT_EQ(m_history->GetPosition(), 2);
    EXPECT_EQ(m_history->GetBreadcrumb(), L"P0 | P1 | P3");
}

TEST_F(HistoryTest, BackStopsAtTheFirstEntry) {
    EXPECT_EQ(m_history->Back(), nullptr);
    EXPECT_EQ(m_history->GetPosition(), -1);

    m_history->Push(Page(0));
    m_history->Push(Page(1));
    EXPECT_EQ(m_history->Back(), Page(0));
    EXPECT_EQ(m_history->Back(), nullptr);
    EXPECT_EQ(m_history->GetPosition(), 0);
    EXPECT_EQ(m_history->GetBreadcrumb(), L"P0");
}

TEST_F(HistoryTest, BreadcrumbUsesDisplayTitlesAndRepeatsARepeatedPage) {
    m_history->Push(Page(0));
    m_history->Push(Page(2));
    m_history->Push(Page(2));
    EXPECT_EQ(m_history->GetCount(), 3u);
    EXPECT_EQ(m_history->GetBreadcrumb(), L"P0 | Second | Second");
    EXPECT_EQ(m_history->Back(), Page(2));
    EXPECT_EQ(m_history->GetBreadcrumb(), L"P0 | Second");
}
