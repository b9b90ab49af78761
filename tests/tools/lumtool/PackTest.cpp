#include <gtest/gtest.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// A description whose page shows each picture and whose music (when given) is entry.
std::string Description(const std::vector<std::string>& pictures, const std::string& music = "",
                        const std::string& elements = "") {
    std::string xml = "<product title=\"Demo\">";
    if (!music.empty()) {
        xml += "<music><buffer format=\"wav\"><chunk name=\"" + music +
               "\" size=\"5\"/></buffer></music>";
    }
    xml += "<pages><page name=\"main\"><document version=\"1\">";
    for (const std::string& picture : pictures) {
        xml +=
            "<image name=\"" + picture + "\"><attachment-bitmap name=\"" + picture + "\"/></image>";
    }
    return xml + elements + "</document></page></pages></product>";
}

std::string Button(const std::string& name, const std::string& action) {
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name +
           "\"><center x=\"100\" y=\"40\"/><action " + action + "/></state-button>";
}

TEST(PackTest, EveryFileBecomesAnEntryByItsRelativePath) {
    testsupport::TempFolder folder;
    const std::string description = Description({"images/Bild_\xc3\xa4.png"}, "docs/read me.txt");
    folder.Write("menu/product.xml", description);
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
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output).entries, 3u);
    const auto entries = ReadZip(output);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.begin()->first, "docs/read me.txt");
    EXPECT_EQ(entries.at("product.xml"), description);
    EXPECT_EQ(entries.at("images/Bild_\xc3\xa4.png"), "not really a picture");
    // Packing again over the old output gives the same entries.
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output).entries, 3u);
}

// Desktops recognise a content file by its start: a ZIP local header at byte 0 whose entry
// name, from byte 30 on, is "product.xml". Files sorting before it must not come first.
TEST(PackTest, TheDescriptionIsTheFirstEntrySoThatDesktopsRecogniseTheFile) {
    testsupport::TempFolder folder;
    folder.Write("menu/product.xml", Description({"Art/a.png", "_intro.txt"}, "0.wav"));
    folder.Write("menu/Art/a.png", "a");
    folder.Write("menu/_intro.txt", "b");
    folder.Write("menu/0.wav", "c");
    const std::string output = (folder / "content.lum").string();
    ASSERT_EQ(lumtool::PackFolder((folder / "menu").string(), output).entries, 4u);
    std::ifstream in(output, std::ios::binary);
    std::string head(41, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head.substr(0, 4), std::string("PK\x03\x04"));
    EXPECT_EQ(head[26], 11);  // the name's length, low byte
    EXPECT_EQ(head[27], 0);
    EXPECT_EQ(head.substr(30, 11), "product.xml");
}

// What the player reads goes in; the files the actions name belong on the disc beside the
// content file, and what nothing names stays in the folder: both are named.
TEST(PackTest, TheDiscsFilesAndWhatNothingReferencesAreLeftOut) {
    testsupport::TempFolder folder;
    const std::string buttons = Button("install", "type=\"run-file\" file=\"setup\\Install.sh\"") +
                                Button("docs", "type=\"open-folder\" folder=\"docs\"") +
                                Button("typo", "type=\"run-file\" file=\"docs/manul.pdf\"") +
                                Button("web", "type=\"open-website\" website=\"notes.txt\"");
    folder.Write("menu/product.xml", Description({"art/logo.png"}, "", buttons));
    folder.Write("menu/art/logo.png", "logo");
    folder.Write("menu/art/old-logo.png", "old");
    folder.Write("menu/setup/install.sh", "#!/bin/sh\n");
    folder.Write("menu/docs/manual.pdf", "manual");
    folder.Write("menu/docs/more/faq.txt", "faq");
    folder.Write("menu/notes.txt", "the author's");
    const std::string output = (folder / "content.lum").string();
    const lumtool::SPackResult result = lumtool::PackFolder((folder / "menu").string(), output);
    EXPECT_EQ(result.entries, 2u);
    EXPECT_EQ(result.forTheDisc, (std::vector<std::string>{"docs/manual.pdf", "docs/more/faq.txt",
                                                           "setup/install.sh"}));
    EXPECT_EQ(result.unreferenced, (std::vector<std::string>{"art/old-logo.png", "notes.txt"}));
    const auto entries = ReadZip(output);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.count("art/logo.png"), 1u);
    EXPECT_EQ(entries.count("product.xml"), 1u);
}

TEST(PackTest, WhatIsLeftOutIsNamedInOneShortLine) {
    EXPECT_EQ(lumtool::CountedNames({"a.txt"}, "nothing references, left out"),
              "1 file nothing references, left out: a.txt");
    std::vector<std::string> many;
    for (int i = 0; i < 200; ++i) many.push_back("docs/chapter-" + std::to_string(i) + ".pdf");
    const std::string line = lumtool::CountedNames(many, "for the disc, left out");
    EXPECT_LE(line.size(), lumtool::kNamesLineWidth);
    EXPECT_EQ(line.rfind("200 files for the disc, left out: docs/chapter-0.pdf, ", 0), 0u) << line;
    const std::size_t more = line.find(", and ");
    ASSERT_NE(more, std::string::npos) << line;
    std::size_t shown = 0;
    for (std::size_t at = 0; (at = line.find(".pdf", at)) < more; ++at) ++shown;
    EXPECT_GE(shown, 2u) << line;
    EXPECT_EQ(line.substr(more), ", and " + std::to_string(200 - shown) + " more") << line;
    // A name longer than the line is still named.
    const std::string longName(150, 'x');
    EXPECT_EQ(lumtool::CountedNames({longName, "b"}, "w"),
              "2 files w: " + longName + ", and 1 more");
}

TEST(PackTest, FoldersWithoutAGoodDescriptionAreRefused) {
    testsupport::TempFolder folder;
    folder.Write("empty/readme.txt", "x");
    folder.Write("broken/product.xml", "<product><page></product>");
    // Well-formed, but the player's loader stops on it: what it references is not known.
    folder.Write("unloadable/product.xml",
                 Description({}, "", Button("b", "type=\"change-page\" change-page=\"sideways\"")));
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
    EXPECT_NE(
        messageOf("unloadable").find("cannot be read by the player: Unknown Change page type"),
        std::string::npos)
        << messageOf("unloadable");
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
    const std::string description = Description({"art/logo.png", "art/real.png", "art/alias.png"});
    folder.Write("menu/product.xml", description);
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
    EXPECT_EQ(lumtool::PackFolder((folder / "menu").string(), output, options).entries, 4u);
    const auto entries = ReadZip(output);
    const std::map<std::string, std::string> expected{{"product.xml", description},
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
