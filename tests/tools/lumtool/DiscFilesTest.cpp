// The names a menu's actions give for files on the disc, and their lookup as the player on a
// medium makes it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DiscFiles.h"
#include "TempFolder.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"

namespace {

namespace fs = std::filesystem;
using lumtool::EDiscKind;
using lumtool::EDiscOutcome;
using lumtool::LookUpOnDisc;

class DiscLookupTest : public testing::Test {
protected:
    void SetUp() override {
        m_disc.Write("setup/install.sh", "#!/bin/sh\n");
        m_disc.Write("Docs/Manual.PDF", "manual");
        m_disc.Write("files/readme.txt", "below the base");
    }

    lumtool::SDiscLookup Find(const std::wstring& name, EDiscKind kind = EDiscKind::File,
                              const wxFileName& base = {}) {
        return LookUpOnDisc(name, kind, m_disc.Path(), base);
    }

    testsupport::TempFolder m_disc;
};

TEST_F(DiscLookupTest, ANameAsWrittenIsFoundWithEitherSeparator) {
    for (const std::wstring name : {L"setup/install.sh", L"setup\\install.sh",
                                    L"./setup//install.sh", L"setup/../setup/install.sh"}) {
        const auto found = Find(name);
        ASSERT_EQ(found.outcome, EDiscOutcome::Found) << name;
        EXPECT_FALSE(found.otherCase) << name;
        EXPECT_FALSE(found.otherKind) << name;
        EXPECT_EQ(found.relative, L"setup/install.sh") << name;
        EXPECT_TRUE(fs::equivalent(found.file, m_disc / "setup/install.sh")) << name;
        EXPECT_EQ(found.lookedIn, m_disc.Path().lexically_normal());
    }
}

TEST_F(DiscLookupTest, ANameInOtherLetterCaseIsFoundAndTheRealOneNamed) {
    const auto found = Find(L"docs\\manual.pdf");
    ASSERT_EQ(found.outcome, EDiscOutcome::Found);
    EXPECT_TRUE(found.otherCase);
    EXPECT_EQ(found.relative, L"Docs/Manual.PDF");
    EXPECT_EQ(found.suggestion, L"Docs/Manual.PDF");
    EXPECT_TRUE(fs::equivalent(found.file, m_disc / "Docs/Manual.PDF"));
}

TEST_F(DiscLookupTest, AMissingNameGetsTheNearestExistingOneWhenItIsClose) {
    const struct {
        std::wstring name;
        std::wstring suggestion;
    } cases[] = {
        {L"setup/instal.sh", L"setup/install.sh"},   // a letter left out
        {L"setpu/install.sh", L"setup/install.sh"},  // two swapped, in a folder's name
        {L"SETUP/instll.sh", L"setup/install.sh"},   // in other letter case too
        {L"docs/manuals.pdf", L"Docs/Manual.PDF"},   // one added
        {L"setup/uninstall.exe", L""},               // nothing close
        {L"nowhere/install.sh", L""},
        {L"s", L""},  // too short to guess at
    };
    for (const auto& missing : cases) {
        const auto found = Find(missing.name);
        EXPECT_EQ(found.outcome, EDiscOutcome::Missing) << missing.name;
        EXPECT_EQ(found.suggestion, missing.suggestion) << missing.name;
    }
}

TEST_F(DiscLookupTest, NamesThatLeaveTheDiscOrAreAbsoluteAreToldApart) {
    for (const std::wstring name : {L"../outside.txt", L"setup/../../x.txt", L"..\\x.txt"}) {
        EXPECT_EQ(Find(name).outcome, EDiscOutcome::LeavesDisc) << name;
    }
    for (const std::wstring name :
         {L"/etc/passwd", L"\\setup.exe", L"C:\\setup.exe", L"\\\\server\\share\\setup.exe"}) {
        const auto found = Find(name);
        EXPECT_EQ(found.outcome, EDiscOutcome::Absolute) << name;
        EXPECT_FALSE(found.absoluteBase) << name;
    }
}

TEST_F(DiscLookupTest, AFolderWhereAFileIsExpectedOrTheOtherWayRoundIsNoted) {
    EXPECT_FALSE(Find(L"setup", EDiscKind::Folder).otherKind);
    EXPECT_TRUE(Find(L"setup", EDiscKind::File).otherKind);
    EXPECT_TRUE(Find(L"setup/install.sh", EDiscKind::Folder).otherKind);
    // The root itself is a folder of the disc.
    const auto root = Find(L".", EDiscKind::Folder);
    EXPECT_EQ(root.outcome, EDiscOutcome::Found);
    EXPECT_EQ(root.relative, L"");
    EXPECT_FALSE(root.otherKind);
}

TEST_F(DiscLookupTest, TheProductsBaseFolderIsWhereNamesAreTakenBelow) {
    const wxFileName base = wxFileName::DirName("files");
    auto found = Find(L"readme.txt", EDiscKind::File, base);
    ASSERT_EQ(found.outcome, EDiscOutcome::Found);
    EXPECT_EQ(found.relative, L"files/readme.txt");
    EXPECT_EQ(found.lookedIn, (m_disc / "files").lexically_normal());
    // The root itself is no longer looked in, as in the player; the suggestion is as the
    // action writes it, below the base.
    EXPECT_EQ(Find(L"setup/install.sh", EDiscKind::File, base).outcome, EDiscOutcome::Missing);
    EXPECT_EQ(Find(L"redme.txt", EDiscKind::File, base).suggestion, L"readme.txt");
    EXPECT_EQ(Find(L"../setup/install.sh", EDiscKind::File, base).outcome, EDiscOutcome::Found);
    EXPECT_EQ(Find(L"../../x", EDiscKind::File, base).outcome, EDiscOutcome::LeavesDisc);
    const auto absolute = Find(L"readme.txt", EDiscKind::File, wxFileName::DirName("/opt/menu"));
    EXPECT_EQ(absolute.outcome, EDiscOutcome::Absolute);
    EXPECT_TRUE(absolute.absoluteBase);
}

TEST(TypingDistanceTest, CountsEachSlipOnceAndIgnoresLetterCase) {
    EXPECT_EQ(lumtool::TypingDistance(L"install.sh", L"install.sh"), 0u);
    EXPECT_EQ(lumtool::TypingDistance(L"INSTALL.SH", L"install.sh"), 0u);
    EXPECT_EQ(lumtool::TypingDistance(L"instal.sh", L"install.sh"), 1u);
    EXPECT_EQ(lumtool::TypingDistance(L"setpu", L"setup"), 1u);
    EXPECT_EQ(lumtool::TypingDistance(L"setxp", L"setup"), 1u);
    EXPECT_EQ(lumtool::TypingDistance(L"", L"abc"), 3u);
    EXPECT_EQ(lumtool::TypingDistance(L"abc", L"xyz"), 3u);
}

// The names the player's actions give, read by the player's loader from a menu folder.
TEST(DiscReferenceTest, RunFileAndOpenFolderActionsAndTheIconAreListedInPageOrder) {
    const auto button = [](const std::string& name, const std::string& action) {
        return "<state-button type-name=\"lum-state-button-action\" name=\"" + name +
               "\"><center x=\"100\" y=\"40\"/><action " + action + "/></state-button>";
    };
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml",
                 "<product icon-filename=\"art\\disc.ico\"><pages><page name=\"main\"><document "
                 "version=\"1\">"
                 "<image name=\"logo\"/>" +
                     button("run", "type=\"run-file\" file=\"setup\\install.sh\" params=\"-x\"") +
                     button("local", "type=\"run-local-file\" file=\"tools/x\"") +
                     button("empty", "type=\"run-file\"") +
                     button("web", "type=\"open-website\" website=\"docs\" folder=\"docs\"") +
                     "</document></page><page name=\"second\"><document version=\"1\">" +
                     button("browse", "type=\"OPEN-FOLDER\" folder=\"docs\"") +
                     button("local-folder", "type=\"open-local-folder\" folder=\"more\"") +
                     "</document></page></pages></product>");
    const lum::data::CElementFactories factories;
    const auto product = tarn::New<lum::data::CProduct>();
    product->Load(wxFileName((folder / "menu").string()));
    ASSERT_EQ(product->GetPageCount(), 2u);

    const auto references = lumtool::ListDiscFiles(*product);
    ASSERT_EQ(references.size(), 5u);
    const struct {
        const char* page;
        std::size_t index;
        lum::data::EActionType action;
        std::wstring name;
        EDiscKind kind;
    } expected[] = {
        {"main", 1, lum::data::EActionType::RunFile, L"setup\\install.sh", EDiscKind::File},
        {"main", 2, lum::data::EActionType::RunLocalFile, L"tools/x", EDiscKind::File},
        {"second", 0, lum::data::EActionType::OpenFolder, L"docs", EDiscKind::Folder},
        {"second", 1, lum::data::EActionType::OpenLocalFolder, L"more", EDiscKind::Folder},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& reference = references[i];
        ASSERT_TRUE(reference.page) << i;
        EXPECT_EQ(reference.page->GetName(), wxString(expected[i].page).ToStdWstring()) << i;
        EXPECT_EQ(reference.index, expected[i].index) << i;
        EXPECT_EQ(reference.element.Get(),
                  reference.page->GetDocument()->GetAt(reference.index).Get())
            << i;
        EXPECT_EQ(reference.action, expected[i].action) << i;
        EXPECT_EQ(reference.name, expected[i].name) << i;
        EXPECT_EQ(reference.kind, expected[i].kind) << i;
    }
    // The icon last, with no page.
    EXPECT_FALSE(references[4].page);
    EXPECT_NE(wxString(references[4].name).Find("disc.ico"), wxNOT_FOUND) << references[4].name;
    EXPECT_EQ(references[4].kind, EDiscKind::File);
}

}  // namespace
