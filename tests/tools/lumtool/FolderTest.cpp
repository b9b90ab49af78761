// An unpacked menu folder and the content file packed from it, through the real lumtool: the
// same check report and the same rendered pictures, for the demo and for content with faults.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/image.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

namespace {

namespace fs = std::filesystem;
using lumtooltest::CRun;
using lumtooltest::RunTool;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The report with the content's own name, which differs by design, taken out.
std::string WithoutName(std::string report, const fs::path& content) {
    const std::string name = content.string();
    for (std::size_t at; (at = report.find(name)) != std::string::npos;) {
        report.replace(at, name.size(), "CONTENT");
    }
    return report;
}

// Messages without the time the log puts before each.
std::string WithoutTimes(const std::string& text) {
    static const std::regex time("(^|\n)[0-9][0-9]:[0-9][0-9]:[0-9][0-9]: ");
    return std::regex_replace(text, time, "$1");
}

class FolderTest : public testing::Test {
protected:
    void SetUp() override { graphics::InstallPictureHandlers(); }

    // Packs the folder with lumtool into a file beside it.
    fs::path Pack(const fs::path& folder) {
        const fs::path file = folder.string() + ".lum";
        const CRun run = RunTool("pack " + Quote(folder) + " -o " + Quote(file), m_temp);
        EXPECT_EQ(run.status, 0) << run.err;
        return file;
    }

    // Checks both and expects the same report and exit status; returns the folder's report.
    // The folder holds the disc's files for both.
    std::string CheckBoth(const fs::path& folder, const fs::path& file, int status) {
        const CRun unpacked = RunTool("check " + Quote(folder), m_temp);
        const CRun packed = RunTool("check " + Quote(file) + " --disc " + Quote(folder), m_temp);
        EXPECT_EQ(unpacked.status, status) << unpacked.out << unpacked.err;
        EXPECT_EQ(packed.status, status) << packed.out << packed.err;
        EXPECT_EQ(WithoutName(unpacked.out, folder), WithoutName(packed.out, file));
        EXPECT_EQ(WithoutTimes(unpacked.err), WithoutTimes(packed.err));
        return WithoutName(unpacked.out, folder);
    }

    wxImage Render(const fs::path& content, const std::string& extra, const std::string& name) {
        const fs::path picture = m_temp / name;
        const CRun run =
            RunTool("render " + Quote(content) + " " + extra + " -o " + Quote(picture), m_temp);
        EXPECT_EQ(run.status, 0) << run.err;
        return wxImage(picture.string(), wxBITMAP_TYPE_PNG);
    }

    // Renders the page from both and expects the same pixels.
    void RenderBoth(const fs::path& folder, const fs::path& file, const std::string& extra) {
        const wxImage unpacked = Render(folder, extra, "unpacked.png");
        const wxImage packed = Render(file, extra, "packed.png");
        ASSERT_TRUE(unpacked.IsOk() && packed.IsOk()) << extra;
        ASSERT_EQ(unpacked.GetSize(), packed.GetSize()) << extra;
        const std::size_t bytes =
            static_cast<std::size_t>(packed.GetWidth()) * packed.GetHeight() * 3;
        EXPECT_TRUE(std::equal(packed.GetData(), packed.GetData() + bytes, unpacked.GetData()))
            << extra;
    }

    void WriteFolder(const fs::path& folder, const std::map<std::string, std::string>& entries) {
        for (const auto& [name, bytes] : entries) {
            fs::create_directories((folder / name).parent_path());
            m_temp.Write((folder / name).lexically_relative(m_temp.Path()).string(), bytes);
        }
    }

    testsupport::TempFolder m_temp;
};

TEST_F(FolderTest, TheDemoChecksAndRendersAlikePackedAndUnpacked) {
    const fs::path folder = m_temp / "demo";
    const std::string make = "python3 " + Quote(fs::path(DEMO_FOLDER) / "make_assets.py") + " " +
                             Quote(folder) + " >/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const fs::path file = Pack(folder);
    const std::string report = CheckBoth(folder, file, 0);
    EXPECT_TRUE(Has(report, "CONTENT: 3 pages: 'main', 'guide', 'showcase'")) << report;
    for (const char* page : {"main", "guide", "showcase"}) {
        RenderBoth(folder, file, std::string("--page ") + page);
    }
    RenderBoth(folder, file, "--page main --language de-de --hover to-guide");
}

std::string Element(const std::string& kind, const std::string& name, const std::string& inner) {
    return "<" + kind + " name=\"" + name +
           "\"><center x=\"60\" y=\"40\"/>"
           "<size width=\"100\" height=\"60\"/>" +
           inner + "</" + kind + ">";
}

TEST_F(FolderTest, ContentWithFaultsIsReportedAlike) {
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<richtext version=\"1.0.0.0\" "
        "xmlns=\"http://www.wxwidgets.org\"><paragraphlayout><paragraph><text>Hello</text>"
        "</paragraph></paragraphlayout></richtext>";
    const std::string description =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<product title=\"Faults\"><pages>"
        "<page name=\"main\"><document version=\"1\">" +
        Element("image", "cased", "<attachment-bitmap name=\"Art/Logo.png\"/>") +
        Element("image", "slashed", "<attachment-bitmap name=\"art\\logo.png\"/>") +
        Element("image", "gone", "<attachment-bitmap name=\"art/missing.png\"/>") +
        Element("image", "broken", "<attachment-bitmap name=\"art/broken.png\"/>") +
        Element("text", "intro", "<attachment-richtextbuffer name=\"Text/Intro.xml\"/>") +
        Element("text", "found", "<attachment-richtextbuffer name=\"text/intro.xml\"/>") +
        "<state-button type-name=\"lum-state-button-action\" name=\"lost\" label=\"Lost\">"
        "<center x=\"60\" y=\"120\"/><size width=\"100\" height=\"30\"/>"
        "<action type=\"change-page\" change-page=\"goto-page\" page=\"nowhere\"/>"
        "</state-button></document></page><page name=\"MAIN\"/></pages>"
        "<clientsize width=\"200\" height=\"160\"/></product>";
    const fs::path folder = m_temp / "faults";
    WriteFolder(folder, {{"product.xml", description},
                         {"art/logo.png", lumtest::PngBytes(6, 4)},
                         {"art/broken.png", "not a picture"},
                         {"text/intro.xml", text}});
    const fs::path file = Pack(folder);
    const std::string report = CheckBoth(folder, file, 1);
    // A name that differs only in letter case misses in both, and says which entry it meant.
    EXPECT_TRUE(Has(report,
                    "page 'main', element 'cased': picture 'Art/Logo.png' is not in the content "
                    "file ('art/logo.png' differs only in letter case; names compare with case, "
                    "packed or not)\n"))
        << report;
    EXPECT_TRUE(Has(report,
                    "rich text 'Text/Intro.xml' is not in the content file "
                    "('text/intro.xml' differs only in letter case"))
        << report;
    EXPECT_FALSE(Has(report, "'slashed'")) << report;
    EXPECT_FALSE(Has(report, "'found'")) << report;
    EXPECT_TRUE(Has(report, "picture 'art/missing.png' is not in the content file\n")) << report;
    EXPECT_TRUE(Has(report, "picture 'art/broken.png' does not decode")) << report;
    EXPECT_TRUE(Has(report, "goes to page 'nowhere'")) << report;
    EXPECT_TRUE(Has(report, "page names 'main' and 'MAIN' differ only in letter case")) << report;
    RenderBoth(folder, file, "");
}

TEST_F(FolderTest, AFolderCheckSaysWhatThePackedFileWouldNotHold) {
    const fs::path folder = m_temp / "menu";
    const std::string description =
        "<product title=\"Links\"><pages><page name=\"main\"><document version=\"1\">" +
        Element("image", "shared", "<attachment-bitmap name=\"shared/logo.png\"/>") +
        "</document></page></pages><clientsize width=\"200\" height=\"160\"/></product>";
    WriteFolder(folder, {{"product.xml", description}});
    WriteFolder(m_temp / "elsewhere", {{"logo.png", lumtest::PngBytes(6, 4)}});
    fs::create_symlink("../elsewhere", folder / "shared");
    const CRun unpacked = RunTool("check " + Quote(folder), m_temp);
    EXPECT_EQ(unpacked.status, 1) << unpacked.out << unpacked.err;
    // The folder plays as the file will: without the linked folder's files.
    EXPECT_TRUE(Has(unpacked.out, "picture 'shared/logo.png' is not in the content file"))
        << unpacked.out;
    EXPECT_TRUE(Has(unpacked.out,
                    "folder: 'shared' is a link to a folder, which is not "
                    "followed; a content file packed from the folder does not "
                    "hold it"))
        << unpacked.out;
    const CRun packed = RunTool("check " + Quote(Pack(folder)), m_temp);
    EXPECT_EQ(packed.status, 1);
    EXPECT_FALSE(Has(packed.out, "folder:")) << packed.out;
}

// A stranger's folder whose readme links to the author's key: check names it, and what it
// links to, as a problem; a link inside the folder is fine.
TEST_F(FolderTest, AFolderCheckNamesEveryLinkThatLeadsOut) {
    const fs::path folder = m_temp / "menu";
    const std::string description =
        "<product title=\"Links\"><pages><page name=\"main\"><document version=\"1\">" +
        Element("image", "inside", "<attachment-bitmap name=\"inside.png\"/>") +
        "</document></page></pages><clientsize width=\"200\" height=\"160\"/></product>";
    WriteFolder(folder, {{"product.xml", description}, {"art/logo.png", lumtest::PngBytes(6, 4)}});
    const fs::path key = m_temp.Write("home/.ssh/id_rsa", "secret");
    fs::create_symlink("../home/.ssh/id_rsa", folder / "readme.txt");
    fs::create_symlink("art/logo.png", folder / "inside.png");
    const CRun run = RunTool("check " + Quote(folder), m_temp);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(Has(run.out,
                    "folder: 'readme.txt' is a link that leads out of the menu folder "
                    "(to " +
                        Quote(fs::canonical(key)) + "); pack refuses it\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "1 error found")) << run.out;
}

// Folders nested deeper than a path may be long cannot be listed: check says which one and
// why, instead of judging the part it could list.
TEST_F(FolderTest, AFolderThatCannotBeListedCompletelyIsNotChecked) {
    const fs::path folder = m_temp / "menu";
    WriteFolder(folder,
                {{"product.xml", "<product><pages><page name=\"main\"/></pages></product>"}});
    const std::string level(200, 'd');
    int parent = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(parent, 0);
    for (int depth = 0; depth < 25; ++depth) {  // 5000 bytes, more than PATH_MAX
        ASSERT_EQ(::mkdirat(parent, level.c_str(), 0700), 0);
        const int child = ::openat(parent, level.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(parent);
        parent = child;
        ASSERT_GE(parent, 0);
    }
    ::close(parent);
    const CRun run = RunTool("check " + Quote(folder), m_temp);
    // rm walks by descriptors, where the temporary folder's removal would give up.
    EXPECT_EQ(std::system(("rm -rf " + Quote(folder / level)).c_str()), 0);
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_TRUE(Has(run.err, "cannot be read: cannot list '" + level + "/" + level)) << run.err;
    EXPECT_TRUE(Has(run.err, "': File name too long\n")) << run.err;
    EXPECT_FALSE(Has(run.err, "product.xml")) << run.err;
}

TEST_F(FolderTest, FoldersThatCannotBeReadSayWhy) {
    fs::create_directories(m_temp / "empty");
    CRun run = RunTool("check " + Quote(m_temp / "empty"), m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "cannot be read: it holds no product.xml")) << run.err;
    WriteFolder(m_temp / "broken", {{"product.xml", "<product><pages></product>"}});
    run = RunTool("check " + Quote(m_temp / "broken"), m_temp);
    EXPECT_EQ(run.status, 2);
    // The parser's own words, without the log's time and level.
    EXPECT_TRUE(Has(run.err,
                    "cannot be read: its product.xml is not well-formed XML (XML "
                    "parsing error: 'mismatched tag' at line 1)\n"))
        << run.err;
    run = RunTool("render " + Quote(m_temp / "empty") + " -o " + Quote(m_temp / "x.png"), m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "holds no menu pages")) << run.err;
}

}  // namespace
