#include "tarn/win32/FileReplacement.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;
using tarn::win32::CFileReplacement;
using tarn::win32::CFileWriteError;
using tarn::win32::ELinks;
using tarn::win32::ReplaceFileWith;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Runs write and expects it to be refused for reason, with the target named.
template <typename F>
void ExpectRefused(F write, CFileWriteError::EReason reason, const std::string& words) {
    try {
        write();
        FAIL() << "the write was not refused";
    } catch (const CFileWriteError& error) {
        EXPECT_EQ(error.GetReason(), reason) << error.what();
        EXPECT_NE(std::string(error.what()).find(words), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
    }
}

TEST(FileReplacementTest, ReplacesAFileKeepingItsPermissionsAndLeavesNothingBeside) {
    testsupport::TempFolder folder;
    const fs::path target = folder.Write("product.xml", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ReplaceFileWith(target, "new content");
    EXPECT_EQ(Read(target), "new content");
#ifndef _WIN32  // Windows keeps only a read-only flag
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);

    ReplaceFileWith(folder / "fresh.po", "made");
    EXPECT_EQ(Read(folder / "fresh.po"), "made");
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

TEST(FileReplacementTest, StreamsWithSeeksAndKeepsTheOldFileUntilCommitted) {
    testsupport::TempFolder folder;
    const fs::path target = folder.Write("content.lum", "the old archive");
    {
        CFileReplacement replacement(target);
        replacement.Write("xxxxEND");
        replacement.Seek(0);
        replacement.Write("HEAD");
        EXPECT_EQ(replacement.Tell(), 4u);
        EXPECT_EQ(Read(target), "the old archive");  // nothing seen before the commit
        replacement.Commit();
    }
    EXPECT_EQ(Read(target), "HEADEND");
    {
        CFileReplacement abandoned(target);
        abandoned.Write("half");
    }  // as a failure between writing and committing leaves it
    EXPECT_EQ(Read(target), "HEADEND");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

#ifndef _WIN32  // links and modes as POSIX has them

TEST(FileReplacementTest, APlantedLinkAtTheTemporaryNameIsNeverWrittenThrough) {
    testsupport::TempFolder folder;
    const fs::path victim = folder.Write("outside/.bashrc", "precious");
    fs::create_directory(folder / "menu");
    const fs::path target = folder.Write("menu/product.xml", "<product/>");
    // Links at every name the writer will try first, as a hostile folder would ship them.
    fs::create_symlink(victim, folder / "menu/planted-1");
    fs::create_symlink(folder / "outside/missing", folder / "menu/planted-2");
    int calls = 0;
    CFileReplacement replacement(target, ELinks::Refuse, [&calls] {
        ++calls;
        return calls == 1 ? "planted-1" : calls == 2 ? "planted-2" : "fresh-name";
    });
    EXPECT_EQ(replacement.GetTemporary().filename(), "fresh-name");
    replacement.Write("<product title='new'/>");
    replacement.Commit();
    EXPECT_EQ(Read(victim), "precious");
    EXPECT_FALSE(fs::exists(folder / "outside/missing"));
    EXPECT_EQ(Read(target), "<product title='new'/>");
}

TEST(FileReplacementTest, ALinkIsRefusedOrItsFileReplacedAsAsked) {
    testsupport::TempFolder folder;
    const fs::path real = folder.Write("real.xml", "real");
    const fs::path link = folder / "product.xml";
    fs::create_symlink("real.xml", link);
    ExpectRefused([&] { ReplaceFileWith(link, "new"); }, CFileWriteError::EReason::Link,
                  "is a symbolic link");
    EXPECT_EQ(Read(real), "real");

    ReplaceFileWith(link, "through", ELinks::WriteTarget);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "through");

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    ExpectRefused([&] { ReplaceFileWith(folder / "loop-a", "x", ELinks::WriteTarget); },
                  CFileWriteError::EReason::Link, "circle");
}

TEST(FileReplacementTest, HardLinksReadOnlyFilesAndFoldersAreRefusedUntouched) {
    testsupport::TempFolder folder;
    const fs::path shared = folder.Write("shared.xml", "shared");
    fs::create_hard_link(shared, folder / "other-name.xml");
    ExpectRefused([&] { ReplaceFileWith(shared, "new"); }, CFileWriteError::EReason::HardLinks,
                  "2 names");
    EXPECT_EQ(Read(folder / "other-name.xml"), "shared");

    const fs::path locked = folder.Write("locked.xml", "locked");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    ExpectRefused([&] { ReplaceFileWith(locked, "new"); }, CFileWriteError::EReason::ReadOnly,
                  "read-only");
    EXPECT_EQ(Read(locked), "locked");

    fs::create_directory(folder / "menu");
    ExpectRefused([&] { ReplaceFileWith(folder / "menu", "new"); },
                  CFileWriteError::EReason::NotRegular, "is a folder");
    EXPECT_EQ(EntriesIn(folder.Path()), 4u);  // no temporary file left beside any of them
}

TEST(FileReplacementTest, AFailureNamesTheFileAndTheSystemsReason) {
    testsupport::TempFolder folder;
    ExpectRefused([&] { ReplaceFileWith(folder / "no-such-folder/out.lum", "x"); },
                  CFileWriteError::EReason::System, "No such file or directory");
    // /dev/full takes no byte: what a full disk says.
    if (fs::exists("/dev/full")) {
        ExpectRefused([&] { ReplaceFileWith("/dev/full", "x"); },
                      CFileWriteError::EReason::NotRegular, "not a regular file");
    }
}

TEST(FileReplacementTest, LinksAreFollowedToTheirFileAndContainmentIsByWholeNames) {
    testsupport::TempFolder folder;
    fs::create_directories(folder / "menu/art");
    fs::create_symlink("art", folder / "menu/pictures");
    fs::create_symlink("pictures/logo.png", folder / "menu/logo.png");
    const fs::path menu = fs::canonical(folder / "menu");
    EXPECT_EQ(tarn::win32::FollowLinks(folder / "menu/logo.png"), menu / "art/logo.png");
    EXPECT_TRUE(tarn::win32::IsWithin(menu / "art/logo.png", menu));
    EXPECT_FALSE(tarn::win32::IsWithin(menu.parent_path() / "menu-other/x", menu));
    EXPECT_FALSE(tarn::win32::IsWithin(menu.parent_path(), menu));
}

#endif

TEST(FileReplacementTest, TemporaryNamesAreFreshAndRecognised) {
    const std::string first = CFileReplacement::RandomName("content.lum");
    const std::string second = CFileReplacement::RandomName("content.lum");
    EXPECT_NE(first, second);
    EXPECT_TRUE(tarn::win32::IsTemporaryName(first));
    EXPECT_FALSE(tarn::win32::IsTemporaryName("content.lum"));
    EXPECT_FALSE(tarn::win32::IsTemporaryName("product.xml.lumtool-new"));
}

}  // namespace
