// "lumtool gif" through the real binary: its frames against ImageMagick's -coalesce for every
// disposal method, the animation element it prints, and that element played from a menu.

#include <gtest/gtest.h>
#include <wx/colour.h>
#include <wx/filename.h>
#include <wx/image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

namespace {

namespace fs = std::filesystem;
using lumtooltest::CRun;
using lumtooltest::RunTool;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Differences as text: empty when equal; fully transparent pixels match whatever colour.
std::string Compare(const wxImage& mine, const wxImage& theirs) {
    if (mine.GetSize() != theirs.GetSize()) return "size differs";
    for (int y = 0; y < mine.GetHeight(); ++y) {
        for (int x = 0; x < mine.GetWidth(); ++x) {
            const int a = mine.HasAlpha() ? mine.GetAlpha(x, y) : 255;
            const int b = theirs.HasAlpha() ? theirs.GetAlpha(x, y) : 255;
            const bool same = a == b && (a == 0 || (mine.GetRed(x, y) == theirs.GetRed(x, y) &&
                                                    mine.GetGreen(x, y) == theirs.GetGreen(x, y) &&
                                                    mine.GetBlue(x, y) == theirs.GetBlue(x, y)));
            if (!same) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " alpha " +
                       std::to_string(a) + " vs " + std::to_string(b);
            }
        }
    }
    return {};
}

class GifTest : public testing::Test {
protected:
    void SetUp() override {
        graphics::InstallPictureHandlers();
        ASSERT_STRNE(LUM_CONVERT, "") << "ImageMagick convert is needed";
        const std::string command =
            Quote(LUM_MAKE_GIFS) + " " + Quote(LUM_CONVERT) + " " + Quote(m_temp.Path());
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    fs::path Gif(const std::string& name) const { return m_temp / (name + ".gif"); }

    // The frames ImageMagick composes for the GIF.
    std::vector<wxImage> Coalesced(const std::string& name) const {
        const fs::path folder = m_temp / ("coalesced-" + name);
        fs::create_directories(folder);
        const std::string command = Quote(LUM_CONVERT) + " " + Quote(Gif(name)) + " -coalesce " +
                                    Quote("PNG32:" + (folder / "%d.png").string());
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<wxImage> frames;
        for (int i = 0;; ++i) {
            const fs::path file = folder / (std::to_string(i) + ".png");
            if (!fs::exists(file)) break;
            frames.emplace_back(wxString(file.string()), wxBITMAP_TYPE_PNG);
        }
        return frames;
    }

    testsupport::TempFolder m_temp;
};

TEST_F(GifTest, FramesEqualImageMagicksCoalescedFramesForEveryDisposal) {
    for (const std::string name : {"unspecified", "donotdispose", "background", "previous"}) {
        const fs::path out = m_temp / ("frames-" + name);
        const CRun run = RunTool("gif " + Quote(Gif(name)) + " -o " + Quote(out), m_temp);
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        const std::vector<wxImage> expected = Coalesced(name);
        ASSERT_EQ(expected.size(), 4u) << name;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const fs::path frame = out / (name + "-00" + std::to_string(i) + ".png");
            ASSERT_TRUE(fs::exists(frame)) << frame;
            const wxImage mine(wxString(frame.string()), wxBITMAP_TYPE_PNG);
            EXPECT_EQ(Compare(mine, expected[i]), "") << name << " frame " << i;
        }
        EXPECT_FALSE(fs::exists(out / (name + "-004.png")));
    }
}

TEST_F(GifTest, TheDisposalsReallyDiffer) {
    // Guards the comparison above against GIFs whose disposals show nowhere.
    const auto last = [&](const std::string& name) { return Coalesced(name).back(); };
    EXPECT_NE(Compare(last("donotdispose"), last("background")), "");
    EXPECT_NE(Compare(last("donotdispose"), last("previous")), "");
    EXPECT_NE(Compare(last("background"), last("previous")), "");
}

TEST_F(GifTest, PrintsTheAnimationElementWithItsDelaysAndItPlays) {
    const fs::path menu = m_temp / "menu";
    fs::create_directories(menu / "anim");
    const CRun run = RunTool(
        "gif " + Quote(Gif("background")) + " -o " + Quote(menu / "anim/bars") + " --name bars",
        m_temp);
    ASSERT_EQ(run.status, 0) << run.err;
    // No product.xml yet: names are the folder as given.
    EXPECT_TRUE(Has(run.out, "<frame0 delay=\"100\"><frame name=\"" +
                                 (menu / "anim/bars").generic_string() + "/bars-000.png\"/>"))
        << run.out;

    m_temp.Write("menu/product.xml", "<product/>");
    const CRun again = RunTool(
        "gif " + Quote(Gif("background")) + " -o " + Quote(menu / "anim/bars") + " --name bars",
        m_temp);
    ASSERT_EQ(again.status, 0) << again.err;
    const std::string expected =
        "<animation type=\"gif\" count=\"4\" loop=\"true\">\n"
        "  <size x=\"16\" y=\"12\"/>\n"
        "  <frame0 delay=\"100\"><frame name=\"anim/bars/bars-000.png\"/></frame0>\n"
        "  <frame1 delay=\"0\"><frame name=\"anim/bars/bars-001.png\"/></frame1>\n"
        "  <frame2 delay=\"300\"><frame name=\"anim/bars/bars-002.png\"/></frame2>\n"
        "  <frame3 delay=\"200\"><frame name=\"anim/bars/bars-003.png\"/></frame3>\n"
        "</animation>\n";
    EXPECT_EQ(again.out, expected);

    // Pasted into an animation image, it loads clean and paints its first frame.
    m_temp.Write("menu/product.xml",
                 "<product title=\"Gif\"><pages><page name=\"main\"><document version=\"1\">"
                 "<animation type-name=\"animation-image\" name=\"bars\"><center x=\"8\" y=\"6\"/>"
                 "<size width=\"16\" height=\"12\"/>" +
                     again.out +
                     "</animation></document></page></pages>"
                     "<clientsize width=\"16\" height=\"12\"/></product>");
    const CRun check = RunTool("check " + Quote(menu), m_temp);
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    const CRun render =
        RunTool("render " + Quote(menu) + " -o " + Quote(m_temp / "first.png"), m_temp);
    ASSERT_EQ(render.status, 0) << render.err;
    const wxImage painted(wxString((m_temp / "first.png").string()), wxBITMAP_TYPE_PNG);
    const wxImage first(wxString((menu / "anim/bars/bars-000.png").string()), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(painted.IsOk());
    EXPECT_EQ(wxColour(painted.GetRed(8, 6), painted.GetGreen(8, 6), painted.GetBlue(8, 6)),
              wxColour(first.GetRed(8, 6), first.GetGreen(8, 6), first.GetBlue(8, 6)));
}

TEST_F(GifTest, DamagedFilesAreRefusedInOneLine) {
    m_temp.Write("garbage.gif", "GIF89a this is not really a picture");
    m_temp.Write("cut.gif", std::string("GIF89a\x10\x00\x0c\x00\x80\x00\x00", 13));
    for (const std::string name : {"garbage.gif", "cut.gif", "absent.gif"}) {
        const CRun run =
            RunTool("gif " + Quote(m_temp / name) + " -o " + Quote(m_temp / "out"), m_temp);
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "") << name;
    }
}

}  // namespace
