#include <gtest/gtest.h>

#include "ProductXml.h"
#include "lum/ProductStringLocalizer.h"

namespace {

const std::string kProduct = R"(<?xml version="1.0" encoding="UTF-8"?>
<product title="Menu">
  <pages>
    <page name="Intro" textid="page.intro"/>
  </pages>
  <translations>
    <t id="both" language="de-de" translation="Beide"/>
    <t id="both" language="en-us" translation="Both"/>
    <t id="english" language="en-us" translation="English only"/>
    <t id="empty" language="de-de" translation=""/>
    <t id="empty" language="en-us" translation="Not this one"/>
    <t id="capitals" language="EN-US" translation="Never"/>
    <t id="page.intro" language="de-de" translation="Einleitung"/>
    <t id="page.intro" language="en-us" translation="Introduction"/>
  </translations>
</product>)";

// Always answers the same text, to see whether it is ever asked.
class CFixedLocalizer : public tarn::CStringLocalizer {
public:
    std::wstring Localize(const std::wstring&, const std::wstring&) override { return L"fixed"; }
};

class ProductStringLocalizerTest : public testing::Test {
protected:
    tarn::P<lum::data::CProduct> m_product = lumtest::ReadProduct(kProduct);
    tarn::P<lum::CProductStringLocalizer> m_localizer =
        tarn::New<lum::CProductStringLocalizer>(m_product, L"de-de");
};

}  // namespace

TEST_F(ProductStringLocalizerTest, CurrentLanguageThenEnglishThenDefault) {
    EXPECT_EQ(m_localizer->Localize(L"both", L"dflt"), L"Beide");
    EXPECT_EQ(m_localizer->Localize(L"english", L"dflt"), L"English only");
    EXPECT_EQ(m_localizer->Localize(L"unknown", L"dflt"), L"dflt");
    // An empty translation counts as missing and does not fall through to English.
    EXPECT_EQ(m_localizer->Localize(L"empty", L"dflt"), L"dflt");
    // Neither keys nor languages ignore case.
    EXPECT_EQ(m_localizer->Localize(L"BOTH", L"dflt"), L"dflt");
    EXPECT_EQ(m_localizer->Localize(L"capitals", L"dflt"), L"dflt");
}

TEST_F(ProductStringLocalizerTest, LanguageWithoutTranslationsShowsEnglish) {
    m_localizer->SetLanguage(L"fr-fr");
    EXPECT_EQ(m_localizer->GetLanguage(), L"fr-fr");
    EXPECT_EQ(m_localizer->Localize(L"both", L"dflt"), L"Both");
    EXPECT_EQ(m_localizer->Localize(L"empty", L"dflt"), L"Not this one");
    m_localizer->SetLanguage(L"DE-DE");
    EXPECT_EQ(m_localizer->Localize(L"both", L"dflt"), L"Both");
}

TEST_F(ProductStringLocalizerTest, TableOperationsChangeNothing) {
    m_localizer->Set(L"both", L"changed");
    m_localizer->Set(L"new", L"added");
    m_localizer->SetFallback(tarn::New<CFixedLocalizer>());
    m_localizer->Clear();
    EXPECT_EQ(m_localizer->Localize(L"both", L"dflt"), L"Beide");
    EXPECT_EQ(m_localizer->Localize(L"new", L"dflt"), L"dflt");
}

TEST_F(ProductStringLocalizerTest, TranslatesPagesAndServesAsFallback) {
    m_product->SetLocalizer(m_localizer);
    EXPECT_EQ(m_product->GetPage(0)->GetDisplayTitle(), L"Einleitung");
    m_localizer->SetLanguage(L"it-it");
    m_product->SetLocalizer(m_localizer);
    EXPECT_EQ(m_product->GetPage(0)->GetDisplayTitle(), L"Introduction");

    // Behind a table of the program's own texts, it answers what the table lacks.
    auto table = tarn::New<tarn::CStringLocalizer>();
    table->Set(L"own", L"Own text");
    table->SetFallback(m_localizer);
    EXPECT_EQ(table->Localize(L"own", L"dflt"), L"Own text");
    EXPECT_EQ(table->Localize(L"english", L"dflt"), L"English only");
    EXPECT_EQ(table->Localize(L"unknown", L"dflt"), L"dflt");
}
