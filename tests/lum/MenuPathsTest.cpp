// How the menu library sizes the window for a product and turns content names into paths
// on the medium.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ContentFile.h"
#include "TempFolder.h"
#include "lum/MenuView.h"
#include "lum/PathResolver.h"
#include "lum/data/Product.h"

namespace {

namespace fs = std::filesystem;

TEST(ClientSizeTest, TruncatedAndKeptWithinBounds) {
    const auto sizeFor = [](const std::string& width, const std::string& height) {
        auto product = tarn::New<lum::data::CProduct>();
        testsupport::TempFolder folder;
        product->Load(wxFileName(lumtest::WriteArchive(
            folder, "size.lum",
            {{"product.xml", "<product><pages/><clientsize width=\"" + width + "\" height=\"" +
                                 height + "\"/></product>"}})));
        return lum::MenuClientSize(*product);
    };
    EXPECT_EQ(sizeFor("640.9", "480.2"), wxSize(640, 480));
    EXPECT_EQ(sizeFor("1e12", "-5"), wxSize(lum::kMaxClientSide, 0));
    EXPECT_EQ(sizeFor("0.5", "16384.9"), wxSize(0, 16384));
}

class PathResolverTest : public testing::Test {
protected:
    void SetUp() override {
        program = folder.Path() / "program";
        disc = folder.Path() / "disc";
        for (const fs::path& dir : {program / "base", disc / "Docs" / "Sub", disc / "base" / "X"}) {
            fs::create_directories(dir);
        }
        Touch(program / "here.txt");
        Touch(program / "base" / "in-base.txt");
        Touch(disc / "Docs" / "Sub" / "Read Me.TXT");
        Touch(disc / "base" / "X" / "y.txt");
    }
    static void Touch(const fs::path& file) { std::ofstream(file) << "x"; }
    // The name of the file on disk; Windows' names are case-blind, so any spelling is it there.
    static bool SameFile(const wxString& resolved, const fs::path& onDisk) {
#ifdef _WIN32
        return resolved.CmpNoCase(onDisk.string()) == 0;
#else
        return resolved == onDisk.string();
#endif
    }
    wxString Resolve(const wxString& name, const wxString& base = {}) const {
        return lum::ResolveContentPath(wxFileName(name), program.string(),
                                       base.empty() ? wxFileName() : wxFileName(base),
                                       disc.string())
            .GetFullPath();
    }

    testsupport::TempFolder folder;
    fs::path program;
    fs::path disc;
};

TEST_F(PathResolverTest, ProgramFolderFirstThenTheDiscWithoutRegardToCase) {
    EXPECT_EQ(Resolve("here.txt"), (program / "here.txt").string());
    EXPECT_EQ(Resolve("in-base.txt", "base/"), (program / "base" / "in-base.txt").string());
    EXPECT_TRUE(SameFile(Resolve("docs\\sub\\read me.txt"), disc / "Docs" / "Sub" / "Read Me.TXT"));
    EXPECT_TRUE(SameFile(Resolve("X\\Y.TXT", "base\\"), disc / "base" / "X" / "y.txt"));
    // Nothing found: the name below the program folder, as written.
    EXPECT_EQ(Resolve("nothing/there.txt"), (program / "nothing" / "there.txt").string());
#ifdef _WIN32
    const wxString elsewhere = "C:\\elsewhere\\hostname";
#else
    const wxString elsewhere = "/etc/hostname";
#endif
    EXPECT_EQ(Resolve(elsewhere), elsewhere);
    EXPECT_EQ(Resolve(""), "");
}

}  // namespace
