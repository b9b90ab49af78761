// The listing of a menu folder that a stranger may have made: links that lead out of it are
// marked, and a folder that cannot be listed completely raises an error naming the entry.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "graphics/ContentFolder.h"

namespace {

namespace fs = std::filesystem;

const graphics::SContentFile* Find(const std::vector<graphics::SContentFile>& files,
                                   const std::string& relative) {
    for (const auto& file : files) {
        if (file.relative == relative) return &file;
    }
    return nullptr;
}

class ContentFolderLinkTest : public testing::Test {
protected:
    void SetUp() override {
        m_menu = m_temp.Path() / "menu";
        m_temp.Write("menu/product.xml", "<product/>");
        m_temp.Write("menu/pics/red.png", "red");
        m_secret = m_temp.Write("home/.ssh/id_rsa", "key");
        fs::create_symlink(m_secret, m_menu / "readme.txt");                    // absolute, out
        fs::create_symlink("../../home/.ssh/id_rsa", m_menu / "pics/key.png");  // relative, out
        fs::create_symlink("pics/red.png", m_menu / "linked.png");              // inside
        // Out of the folder and back into it: it lies inside.
        fs::create_symlink("../menu/pics/red.png", m_menu / "round.png");
        // A link to a link that leads out: out at the second level.
        fs::create_symlink("readme.txt", m_menu / "second.txt");
        // A folder link inside the folder whose file leads out through it.
        fs::create_directories(m_temp.Path() / "home/docs");
        fs::create_symlink(m_temp.Path() / "home", m_menu / "pics/home");
        fs::create_symlink("pics/home/.ssh/id_rsa", m_menu / "through.txt");
    }

    testsupport::TempFolder m_temp;
    fs::path m_menu;
    fs::path m_secret;
};

TEST_F(ContentFolderLinkTest, MarksEveryFileWhoseLinksLeadOutAndKeepsItListed) {
    for (const fs::path& folder : {m_menu, m_temp.Path() / "alias"}) {
        // Reached through a link itself, the folder's own links are judged alike.
        if (folder != m_menu) fs::create_symlink(m_menu, folder);
        const auto files = graphics::ListContentFiles(folder);
        for (const std::string out : {"readme.txt", "pics/key.png", "second.txt", "through.txt"}) {
            const auto* file = Find(files, out);
            ASSERT_TRUE(file) << out;
            EXPECT_TRUE(file->leavesFolder) << out;
            EXPECT_EQ(file->target, fs::canonical(m_secret)) << out;
            EXPECT_EQ(file->path, folder / out);
        }
        for (const std::string in : {"product.xml", "pics/red.png", "linked.png", "round.png"}) {
            const auto* file = Find(files, in);
            ASSERT_TRUE(file) << in;
            EXPECT_FALSE(file->leavesFolder) << in;
        }
    }
    EXPECT_EQ(graphics::ResolveBelow(fs::canonical(m_menu), m_menu / "round.png"),
              fs::canonical(m_menu / "pics/red.png"));
    EXPECT_TRUE(graphics::ResolveBelow(fs::canonical(m_menu), m_menu / "readme.txt").empty());
    EXPECT_TRUE(graphics::ResolveBelow(fs::canonical(m_menu), m_menu / "absent.png").empty());
}

TEST(ContentFolderErrorTest, AFolderThatCannotBeListedNamesItselfAndTheReason) {
    testsupport::TempFolder temp;
    const fs::path file = temp.Write("plain.txt", "not a folder");
    for (const auto& [folder, reason] :
         {std::pair{temp.Path() / "absent", "No such file or directory"},
          std::pair{file, "Not a directory"}}) {
        try {
            graphics::ListContentFiles(folder);
            ADD_FAILURE() << folder << " was listed";
        } catch (const graphics::CListingError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "cannot list '" + folder.string() + "': " + reason);
        }
    }
}

TEST(ContentFolderErrorTest, AFolderThatLoopsOrDanglesIsNotedNotFatal) {
    testsupport::TempFolder temp;
    temp.Write("menu/product.xml", "<product/>");
    fs::create_symlink("loop", temp.Path() / "menu/loop");
    std::vector<graphics::SLeftOut> leftOut;
    const auto files = graphics::ListContentFiles(temp.Path() / "menu", &leftOut);
    ASSERT_EQ(files.size(), 1u);
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(leftOut[0].relative, "loop");
    EXPECT_EQ(leftOut[0].reason,
              "is a link that cannot be followed (Too many levels of symbolic links)");
}

// Folders come and go below the menu while it is listed, as while an editor saves: each
// listing either holds every file that stays, or fails and says where; never fewer files.
TEST(ContentFolderErrorTest, AFolderChangingUnderTheListingNeverLosesFilesSilently) {
    testsupport::TempFolder temp;
    const fs::path menu = temp.Path() / "menu";
    temp.Write("menu/product.xml", "<product/>");
    temp.Write("menu/zz/last.png", "png");
    std::atomic<bool> stop = false;
    std::thread churn([&] {
        std::error_code ignored;
        for (int i = 0; !stop; ++i) {
            const fs::path folder = menu / ("tmp" + std::to_string(i % 8));
            fs::create_directories(folder / "a/b", ignored);
            temp.Write(fs::relative(folder / "a/b/f.png", temp.Path()).string(), "x");
            fs::remove_all(folder, ignored);
        }
    });
    int failures = 0;
    for (int round = 0; round < 2000; ++round) {
        try {
            const auto files = graphics::ListContentFiles(menu);
            if (!Find(files, "product.xml") || !Find(files, "zz/last.png")) {
                ADD_FAILURE() << "round " << round << ": " << files.size() << " files";
                break;
            }
        } catch (const graphics::CListingError& error) {
            ++failures;
            EXPECT_EQ(std::string(error.what()).rfind("cannot list 'tmp", 0), 0u) << error.what();
        }
    }
    stop = true;
    churn.join();
    RecordProperty("failedListings", failures);
}

}  // namespace
