#include <gtest/gtest.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "Command.h"
#include "PackCommand.h"
#include "TempFolder.h"

namespace {

// Entry name to content, read back with the toolkit's ZIP reader.
std::map<std::string, std::string> ReadZip(const std::string& path) {
    std::map<std::string, std::string> entries;
    wxFileInputStream file(wxString::FromUTF8(path));
    wxZipInputStream zip(file, wxConvUTF8);
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry;
         entry.reset(zip.GetNextEntry())) {
        std::string content;
        char buffer[4096];
        while (zip.CanRead()) {
            zip.Read(buffer, sizeof buffer);
            content.append(buffer, zip.LastRead());
        }
        entries[entry->GetName(wxPATH_UNIX).utf8_string()] = content;
    }
    return entries;
}

TEST(PackTest, EveryFileBecomesAnEntryByItsRelativePath) {
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml", "<product title=\"Demo\"/>");
    folder.Write("menu/images/Bild_\xc3\xa4.png", "not really a picture");
    folder.Write("menu/docs/read me.txt", "hello");
    // An output inside the folder would be packed into itself, or over one of its files.
    EXPECT_THROW(
        lumtool::PackFolder((folder / "menu").string(), (folder / "menu/content.lum").string()),
        lumtool::CUsageError);
    EXPECT_THROW(
        lumtool::PackFolder((folder / "menu").string(), (folder / "menu/product.xml").string()),
        lumtool::CUsageError);
    EXPECT_FALSE(std::filesystem::exists(folder / "menu/content.lum"));
    const std::string output = (folder / "content.lum").string();
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output), 3u);
    const auto entries = ReadZip(output);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.begin()->first, "docs/read me.txt");
    EXPECT_EQ(entries.at("product.xml"), "<product title=\"Demo\"/>");
    EXPECT_EQ(entries.at("images/Bild_\xc3\xa4.png"), "not really a picture");
    // Packing again over the old output gives the same entries.
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output), 3u);
}

// Desktops recognise a content file by its start: a ZIP local header at byte 0 whose entry
// name, from byte 30 on, is "product.xml". Files sorting before it must not come first.
TEST(PackTest, TheDescriptionIsTheFirstEntrySoThatDesktopsRecogniseTheFile) {
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml", "<product title=\"Demo\"/>");
    folder.Write("menu/Art/a.png", "a");
    folder.Write("menu/_intro.txt", "b");
    folder.Write("menu/0.wav", "c");
    const std::string output = (folder / "content.lum").string();
    ASSERT_EQ(lumtool::PackFolder((folder / "menu").string(), output), 4u);
    std::ifstream in(output, std::ios::binary);
    std::string head(41, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head.substr(0, 4), std::string("PK\x03\x04"));
    EXPECT_EQ(head[26], 11);  // the name's length, low byte
    EXPECT_EQ(head[27], 0);
    EXPECT_EQ(head.substr(30, 11), "product.xml");
}

TEST(PackTest, FoldersWithoutAGoodDescriptionAreRefused) {
    testsupport::TempFolder folder;
    folder.Write("empty/readme.txt", "x");
    folder.Write("broken/product.xml", "<product><page></product>");
    const auto messageOf = [&](const std::string& name) -> std::string {
        try {
            lumtool::PackFolder((folder / name).string(), (folder / "out.lum").string());
        } catch (const lumtool::CUsageError& error) {
            return error.what();
        }
        return "(packed)";
    };
    EXPECT_NE(messageOf("empty").find("holds no product.xml"), std::string::npos);
    EXPECT_NE(messageOf("broken").find("is not well-formed XML"), std::string::npos);
    EXPECT_NE(messageOf("missing").find("is not a folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.lum"));
}

}  // namespace

namespace {

TEST(PackTest, ALinkedFileIsStoredUnderTheLinksName) {
#ifdef _WIN32
    GTEST_SKIP() << "needs symbolic links, which Windows gives only to administrators";
#endif
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml", "<product title=\"Demo\"/>");
    folder.Write("shared/logo.png", "the logo");
    folder.Write("menu/art/real.png", "real");
    std::filesystem::create_symlink("../../shared/logo.png", folder / "menu/art/logo.png");
    std::filesystem::create_symlink("real.png", folder / "menu/art/alias.png");
    std::filesystem::create_symlink("../shared", folder / "menu/linked-folder");
    std::filesystem::create_symlink("nowhere.png", folder / "menu/dead.png");
    const std::string output = (folder / "content.lum").string();
    // art/logo.png leads out of the folder: refused by name unless asked for.
    try {
        lumtool::PackFolder((folder / "menu").string(), output);
        ADD_FAILURE() << "a link out of the folder was packed";
    } catch (const lumtool::CUsageError& error) {
        EXPECT_NE(std::string(error.what()).find("'art/logo.png'"), std::string::npos)
            << error.what();
        EXPECT_EQ(std::string(error.what()).find("alias.png"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(output));
    lumtool::SPackOptions options;
    options.allowOutsideLinks = true;
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output, options), 4u);
    const auto entries = ReadZip(output);
    const std::map<std::string, std::string> expected{{"product.xml", "<product title=\"Demo\"/>"},
                                                      {"art/logo.png", "the logo"},
                                                      {"art/real.png", "real"},
                                                      {"art/alias.png", "real"}};
    EXPECT_EQ(entries, expected);
}

TEST(PackTest, NamesThatAreNotUtf8AreRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: none can be other than Unicode";
#endif
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml", "<product title=\"Demo\"/>");
    folder.Write("menu/Bild_\xe4.png", "latin-1 name");
    try {
        lumtool::PackFolder((folder / "menu").string(), (folder / "out.lum").string());
        FAIL() << "packed";
    } catch (const lumtool::CUsageError& error) {
        EXPECT_NE(std::string(error.what()).find("its name is not UTF-8"), std::string::npos)
            << error.what();
    }
}

}  // namespace
