#include "wxutil/LocaleManager.h"

#include <gtest/gtest.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/translation.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "chf/ResourceFileWriter.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "wxutil/IsoTables.h"
#include "wxutil/MyStringLocalizer.h"

namespace {

using wxutil::CLocaleManager;
using wxutil::CLocalePacks;

// The global localizer must be ours before anything asks for a text.
class CInstallLocalizer : public testing::Environment {
public:
    void SetUp() override { wxutil::CMyStringLocalizer::Install(); }
};
const auto* const g_install = testing::AddGlobalTestEnvironment(new CInstallLocalizer);

void WritePack(const testsupport::TempFolder& folder, const std::string& name,
               const std::wstring& tag, const std::wstring& application,
               const std::map<std::wstring, std::wstring>& entries = {}) {
    chf::CResourceFileWriter writer;
    writer.SetLanguage(tag);
    writer.SetApplication(application);
    for (const auto& [key, text] : entries) writer.AddEntry(key, text);
    writer.Write(tarn::FromUtf8((folder / name).string()));
}

std::wstring Folder(const testsupport::TempFolder& folder) {
    return tarn::FromUtf8(folder.Path().string());
}

std::wstring ChosenTag(const CLocalePacks& packs, const std::wstring& language) {
    const int best = packs.FindBest(language);
    return best < 0 ? L"(none)" : packs.GetPacks()[static_cast<std::size_t>(best)]->GetTagText();
}

TEST(LocalePacksTest, ChoosesTheBestMatchingPack) {
    testsupport::TempFolder folder;
    WritePack(folder, "app-en.zvtLang", L"en", L"app");
    WritePack(folder, "app-enus.zvtLang", L"en-us", L"app");
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"app-", L"app");
    ASSERT_EQ(packs->GetPacks().Size(), 2u);
    EXPECT_EQ(ChosenTag(*packs, L"en-us"), L"en-us");
    EXPECT_EQ(ChosenTag(*packs, L"en-gb"), L"en");  // a tie: the more general pack
    EXPECT_EQ(ChosenTag(*packs, L"EN"), L"en");
    EXPECT_EQ(ChosenTag(*packs, L"fr"), L"(none)");
    EXPECT_EQ(ChosenTag(*packs, L""), L"(none)");
}

TEST(LocalePacksTest, EqualTiesKeepTheEarlierPack) {
    testsupport::TempFolder folder;
    WritePack(folder, "app-dede.zvtLang", L"de-de", L"app");
    WritePack(folder, "app-deat.zvtLang", L"de-at", L"app");
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"app-", L"app");
    ASSERT_EQ(packs->GetPacks().Size(), 2u);
    // The first in name order.
    EXPECT_EQ(packs->GetPacks()[0]->GetTagText(), L"de-at");
    EXPECT_EQ(ChosenTag(*packs, L"de"), L"de-at");
    EXPECT_EQ(ChosenTag(*packs, L"de-at"), L"de-at");
}

TEST(LocalePacksTest, ScanKeepsOnlyReadablePacksOfTheApplication) {
    testsupport::TempFolder folder;
    WritePack(folder, "app-de.zvtLang", L"de-de", L"app");
    WritePack(folder, "app-other.zvtLang", L"fr-fr", L"other");
    WritePack(folder, "app-case.zvtLang", L"it-it", L"APP");
    WritePack(folder, "elsewhere-de.zvtLang", L"de-de", L"app");
    WritePack(folder, "app-de.txt", L"de-de", L"app");
    folder.Write("app-garbage.zvtLang", "this is not a pack at all, just some text");
    folder.Write("app-empty.zvtLang", "");
    std::filesystem::create_directory(folder / "app-folder.zvtLang");
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"app-", L"app");
    ASSERT_EQ(packs->GetPacks().Size(), 1u);
    EXPECT_EQ(packs->GetPacks()[0]->GetTagText(), L"de-de");
    // Without an application id every readable pack counts.
    EXPECT_EQ(tarn::New<CLocalePacks>(Folder(folder), L"app-", L"")->GetPacks().Size(), 3u);
    // A folder that does not exist has no packs.
    EXPECT_EQ(tarn::New<CLocalePacks>(Folder(folder) + L"/none", L"", L"")->GetPacks().Size(), 0u);
}

TEST(LocalePacksTest, PackFilesAreFoundInAnyLetterCase) {
    // Packs copied from a Windows disc keep whatever case their names had there.
    testsupport::TempFolder folder;
    WritePack(folder, "App-DE.zvtLang", L"de-de", L"app");
    WritePack(folder, "app-fr.zvtlang", L"fr-fr", L"app");
    WritePack(folder, "APP-IT.ZVTLANG", L"it-it", L"app");
    WritePack(folder, "app-es.zvtLang.bak", L"es-es", L"app");
    WritePack(folder, "ap-pt.zvtLang", L"pt-pt", L"app");
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"app-", L"app");
    std::vector<std::wstring> tags;
    for (std::size_t i = 0; i < packs->GetPacks().Size(); ++i) {
        tags.push_back(packs->GetPacks()[i]->GetTagText());
    }
    EXPECT_EQ(tags, (std::vector<std::wstring>{L"it-it", L"de-de", L"fr-fr"}));
}

// Counts what the toolkit would have shown the user.
class CLogCounter : public wxLog {
public:
    int messages = 0;

protected:
    void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override { ++messages; }
};

TEST(LocalePacksTest, DamagedPacksAreSkippedSilently) {
    testsupport::TempFolder source;
    WritePack(source, "whole.zvtLang", L"de-de", L"app",
              {{L"a.key", L"a text"}, {L"b.key", L"another text"}});
    std::ifstream in(source / "whole.zvtLang", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 40u);

    testsupport::TempFolder folder;
    folder.Write("app-whole.zvtLang", bytes);
    // Every cut that loses part of the header.
    std::size_t written = 0;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        folder.Write("app-cut" + std::to_string(length) + ".zvtLang", bytes.substr(0, length));
        ++written;
    }
    // Sizes and counts far beyond the file.
    std::string huge = bytes;
    for (std::size_t i = 8; i < 16; ++i) huge[i] = '\xff';
    folder.Write("app-hugebody.zvtLang", huge);
    std::string wrongType = bytes;
    wrongType.replace(0, 8, "URESFILX");
    folder.Write("app-wrongtype.zvtLang", wrongType);

    CLogCounter counter;
    wxLog* previous = wxLog::SetActiveTarget(&counter);
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"app-", L"app");
    wxLog::FlushActive();
    wxLog::SetActiveTarget(previous);

    EXPECT_EQ(counter.messages, 0);
    // A cut that keeps the whole header still reads as a pack; none may name another language.
    ASSERT_GE(packs->GetPacks().Size(), 1u);
    EXPECT_LT(packs->GetPacks().Size(), written);
    for (const auto& info : packs->GetPacks()) EXPECT_EQ(info->GetTagText(), L"de-de");
    // Loading a cut pack raises instead of crashing; the whole pack loads.
    const auto localizer = tarn::New<tarn::CStringLocalizer>();
    int loaded = 0;
    for (std::size_t i = 0; i < packs->GetPacks().Size(); ++i) {
        try {
            packs->Load(static_cast<int>(i), *localizer);
            ++loaded;
        } catch (const std::exception&) {
        }
    }
    EXPECT_GE(loaded, 1);
    EXPECT_EQ(localizer->Localize(L"b.key", L""), L"another text");
}

TEST(LocalePacksTest, LanguageAndCountryNames) {
    testsupport::TempFolder folder;
    WritePack(folder, "p-1.zvtLang", L"pt-br", L"a");
    WritePack(folder, "p-2.zvtLang", L"zh-tw", L"b");
    WritePack(folder, "p-3.zvtLang", L"x-klingon", L"c");
    WritePack(folder, "p-4.zvtLang", L"GER-ch", L"d");
    WritePack(folder, "p-5.zvtLang", L"deu", L"e");
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> names;
    const auto packs = tarn::New<CLocalePacks>(Folder(folder), L"p-", L"");
    for (const auto& info : packs->GetPacks()) {
        names[info->GetTagText()] = {info->GetLanguageName(), info->GetCountryName()};
    }
    EXPECT_EQ(names[L"pt-br"], std::make_pair(std::wstring(L"Portuguese"), std::wstring(L"Brazil")));
    EXPECT_EQ(names[L"zh-tw"],
              std::make_pair(std::wstring(L"Chinese"), std::wstring(L"Taiwan, Province Of China")));
    EXPECT_EQ(names[L"x-klingon"], std::make_pair(std::wstring(), std::wstring()));
    EXPECT_EQ(names[L"GER-ch"], std::make_pair(std::wstring(L"German"), std::wstring(L"Switzerland")));
    EXPECT_EQ(names[L"deu"].first, L"German");
}

TEST(IsoTablesTest, EditionOfTheTables) {
    EXPECT_EQ(wxutil::kIsoLanguages.size(), 485u);
    EXPECT_EQ(wxutil::kIsoCountries.size(), 247u);
    EXPECT_EQ(wxutil::CountryName(L"an"), L"Netherlands Antilles");
    EXPECT_EQ(wxutil::CountryName(L"YU"), L"Yugoslavia");
    EXPECT_EQ(wxutil::CountryName(L"ME"), L"Montenegro");
    EXPECT_EQ(wxutil::CountryName(L"SS"), L"");
    EXPECT_EQ(wxutil::LanguageName(L"csb"), L"Kashubian");
    EXPECT_EQ(wxutil::LanguageName(L"wak"), L"Wakashan languages");
    EXPECT_EQ(wxutil::LanguageName(L"zza"), L"Zaza; Dimili; Dimli; Kirdki; Kirmanjki; Zazaki");
    EXPECT_EQ(wxutil::LanguageName(L"de-"), L"");
    EXPECT_EQ(std::wstring(wxutil::kIsoLanguages.front().name), L"Afar");
}

TEST(LocaleManagerTest, SelectedPackFeedsTheGlobalLocalizer) {
    testsupport::TempFolder folder;
    WritePack(folder, "quellbrook-de.zvtLang", L"de-de", L"quellbrook",
              {{L"lum.CMainFrame.ActionNoValid", L"Diese Aktion ist ung\u00fcltig."},
               {L"graphics.CView.ZoomPlus", L""}});
    WritePack(folder, "quellbrook-en.zvtLang", L"en", L"quellbrook",
              {{L"lum.CMainFrame.ActionNoValid", L"Not valid (pack)."}});
    const auto manager = tarn::New<CLocaleManager>();  // a manager of its own per test
    manager->AddPacks(Folder(folder), L"quellbrook-", L"quellbrook");
    manager->AddPacks(Folder(folder), L"quellbrook-", L"QUELLBROOK");  // once per application
    EXPECT_EQ(manager->GetPackSets().Size(), 1u);

    EXPECT_TRUE(manager->SetLanguage(L"de-de", false));
    EXPECT_EQ(tarn::Localize(L"lum.CMainFrame.ActionNoValid", L"This action is not valid."),
              L"Diese Aktion ist ung\u00fcltig.");
    EXPECT_EQ(tarn::Localize(L"graphics.CView.ZoomPlus", L"Zoom in"), L"Zoom in");
    EXPECT_EQ(tarn::Localize(L"tarn.CEndOfEnumError.desc", L"end of enumeration already reached"),
              L"end of enumeration already reached");
    EXPECT_EQ(tarn::CNoSuchObjectError().GetDescription(), L"No such object.");

    // No French pack: everything falls back to English.
    EXPECT_FALSE(manager->SetLanguage(L"fr", false));
    EXPECT_EQ(tarn::Localize(L"lum.CMainFrame.ActionNoValid", L"This action is not valid."),
              L"This action is not valid.");
    EXPECT_EQ(manager->GetLanguage(), L"fr");
}

TEST(LocaleManagerTest, ToolkitTextsComeFromThePack) {
    testsupport::TempFolder folder;
    WritePack(folder, "tk-de.zvtLang", L"de-de", L"toolkit-test",
              {{L"id:Cancel", L"Abbrechen (Paket)"}, {L"id:&Yes", L"&Ja (Paket)"}});
    const auto manager = tarn::New<CLocaleManager>();  // a manager of its own per test
    manager->AddPacks(Folder(folder), L"tk-", L"toolkit-test");
    ASSERT_TRUE(manager->SetLanguage(L"de-de", true));
    EXPECT_EQ(wxGetTranslation("Cancel"), L"Abbrechen (Paket)");
    EXPECT_EQ(wxGetTranslation("&Yes"), L"&Ja (Paket)");
    EXPECT_EQ(manager->GetToolkitString("Cancel", ""), L"Abbrechen (Paket)");
    EXPECT_EQ(tarn::Localize(L"id:Cancel", L"Cancel"), L"Abbrechen (Paket)");
    // A text the pack lacks is the toolkit's own (untranslated without its catalogue).
    EXPECT_EQ(manager->GetToolkitString("Some text no catalogue has", ""),
              L"Some text no catalogue has");
    // Switching again replaces the toolkit's texts with the new pack's: what the new pack
    // lacks is no longer the old pack's.
    WritePack(folder, "tk-fr.zvtLang", L"fr-fr", L"toolkit-test", {{L"id:&Yes", L"&Oui"}});
    const auto again = tarn::New<CLocaleManager>();
    again->AddPacks(Folder(folder), L"tk-", L"toolkit-test");
    EXPECT_TRUE(again->SetLanguage(L"fr-fr", true));
    EXPECT_EQ(wxGetTranslation("&Yes"), L"&Oui");
    EXPECT_EQ(wxGetTranslation("Cancel").find(L"Paket"), wxString::npos);
    // Back to the first language: its own texts again, under a number of its own.
    EXPECT_TRUE(manager->SetLanguage(L"de-de", true));
    EXPECT_EQ(wxGetTranslation("&Yes"), L"&Ja (Paket)");
}

TEST(LocaleManagerTest, ToolkitLocaleNames) {
    EXPECT_EQ(wxutil::ToolkitLocaleName(L"en-us"), L"en_US");
    EXPECT_EQ(wxutil::ToolkitLocaleName(L"de"), L"de");
    EXPECT_EQ(wxutil::ToolkitLocaleName(L"sr-latn-rs"), L"sr_LATN_RS");
}

}  // namespace
