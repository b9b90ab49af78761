// "lumtool check" run as a program on content files made here, each with known faults.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <wx/image.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "ContentFile.h"
#include "graphics/PictureHandlers.h"
#include "TempFolder.h"
#include "ToolRun.h"

#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

namespace {

namespace fs = std::filesystem;

using lumtooltest::RunTool;

std::string Product(const std::string& pages, const std::string& extra = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<product title=\"Test\">" + extra +
           "<pages>" + pages + "</pages><clientsize width=\"800\" height=\"600\"/></product>";
}

std::string Page(const std::string& name, const std::string& elements = "") {
    return "<page name=\"" + name + "\"><document version=\"1\">" + elements + "</document></page>";
}

std::string Layer(const std::string& picture) {
    return "<layers><animation scaling-enabled=\"false\"><attachment-bitmap name=\"" + picture +
           "\"/></animation></layers>";
}

// A button skin with the given states, each showing one picture.
std::string Skin(const std::string& id, const std::vector<std::string>& states,
                 const std::string& picture = "look.png", int unique = 0) {
    std::string xml = "<skin type=\"buttonskin\" id=\"" + id + "\" unique=\"" +
                      std::to_string(unique) + "\"><states>";
    for (const std::string& state : states) {
        xml += "<" + state + " name=\"" + state + "\">" + Layer(picture) + "</" + state + ">";
    }
    return xml + "</states></skin>";
}

std::string FullSkin(const std::string& id = "full", const std::string& picture = "look.png") {
    return Skin(id, {"normal", "hover", "down"}, picture);
}

// Each button in a row of its own, so that buttons neither overlap nor leave the page.
std::string Button(const std::string& name, const std::string& action,
                   const std::string& skin = FullSkin()) {
    static int row = 0;
    const std::string y = std::to_string(25 + 50 * (row++ % 12));
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name +
           "\"><center x=\"150\" y=\"" + y + "\"/>" + skin + "<action " + action +
           "/></state-button>";
}

std::string GotoPage(const std::string& page) {
    return "type=\"change-page\" change-page=\"goto-page\" page=\"" + page + "\"";
}

std::string Image(const std::string& name, const std::string& picture) {
    return "<image name=\"" + name + "\"><attachment-bitmap name=\"" + picture + "\"/></image>";
}

std::string Music(const std::string& format, const std::string& entry, const std::string& size) {
    return "<music filename=\"theme.wav\" loop=\"true\"><buffer format=\"" + format +
           "\"><chunk name=\"" + entry + "\" size=\"" + size + "\"/></buffer></music>";
}

std::string Le(std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xff);
    return text;
}

// A short 8-bit mono PCM WAV file.
std::string WavBytes() {
    const std::string samples(64, '\x80');
    return "RIFF" + Le(36 + samples.size(), 4) + "WAVE" + "fmt " + Le(16, 4) + Le(1, 2) + Le(1, 2) +
           Le(8000, 4) + Le(8000, 4) + Le(1, 2) + Le(8, 2) + "data" + Le(samples.size(), 4) +
           samples;
}

class CheckTest : public testing::Test {
protected:
    void SetUp() override {
        graphics::InstallPictureHandlers();
    }

    // Writes a content file of the entries (product.xml among them) and checks it.
    lumtooltest::CRun Check(const std::map<std::string, std::string>& entries) {
        const std::wstring file = lumtest::WriteArchive(m_folder, "content.lum", entries);
        return RunTool("check '" + fs::path(file).string() + "'", m_folder);
    }
    // The same, with a product.xml and a picture named look.png.
    lumtooltest::CRun CheckProduct(const std::string& product,
                                   std::map<std::string, std::string> entries = {}) {
        entries["product.xml"] = product;
        entries.emplace("look.png", lumtest::PngBytes(8, 8));
        return Check(entries);
    }

    testsupport::TempFolder m_folder;
};

// The lines of the report that name problems: all but the page list and the summary.
int ProblemLines(const std::string& out) {
    int lines = 0;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) ++lines;
    return lines - 2;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Whether a line of the report starts, after its severity, with place (an element's place up
// to its position) and goes on, after the position, with what.
bool HasLine(const std::string& out, const std::string& place, const std::string& what) {
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const std::size_t at = line.find(place);
        if (at == std::string::npos) continue;
        const std::size_t colon = line.find("): ", at + place.size());
        if (colon != std::string::npos && line.compare(colon + 3, what.size(), what) == 0) {
            return true;
        }
    }
    return false;
}

TEST_F(CheckTest, ACleanMenuListsItsPagesAndPasses) {
    const lumtooltest::CRun run = CheckProduct(
        Product(Page("main", Image("logo", "look.png") + Button("on", GotoPage("Extra"))) +
                    Page("extra", Button("back", "type=\"change-page\" change-page=\"go-back\"")),
                Music("wav", "theme.wav", std::to_string(WavBytes().size())) +
                    "<splash name=\"look.png\"/>"),
        {{"theme.wav", WavBytes()}, {"unused.png", "never read, never reported"}});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "2 pages: 'main', 'extra'\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "no problems found")) << run.out;
    EXPECT_EQ(ProblemLines(run.out), 0) << run.out;
}

TEST_F(CheckTest, TheDemoMenuIsClean) {
    const fs::path assets = m_folder / "demo";
    const std::string make = "python3 '" + (fs::path(DEMO_FOLDER) / "make_assets.py").string() +
                             "' '" + assets.string() + "' >/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const std::string content = (m_folder / "demo.lum").string();
    ASSERT_EQ(RunTool("pack '" + assets.string() + "' -o '" + content + "'", m_folder).status, 0);
    // The files its buttons open stay in the folder: there is the disc.
    const lumtooltest::CRun run =
        RunTool("check '" + content + "' --disc '" + assets.string() + "'", m_folder);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "3 pages: 'main', 'guide', 'showcase'")) << run.out;
    EXPECT_TRUE(Has(run.out, "no problems found")) << run.out;
}

TEST_F(CheckTest, AttachmentsThatAreMissingOrDoNotDecodeAreReported) {
    const std::string shared =
        "<skin type=\"buttonskin\" unique=\"7\"><states><normal "
        "name=\"normal\">" +
        Layer("never-read.png") + "</normal></states></skin>";
    const std::string elements =
        Image("gone", "art/missing.png") + Image("broken", "art/broken.png") +
        Image("gif", "art/anim.gif") + Image("cased", "Art/Logo.png") +
        "<text name=\"intro\"><attachment-richtextbuffer name=\"text/intro.xml\"/></text>" +
        // Read from a skin shared by id: the second copy is never read, nor is an element
        // of a kind the loader does not know.
        Button("first", "type=\"quit-program\"",
               Skin("s", {"normal", "hover", "down"}, "look.png", 7)) +
        Button("second", "type=\"quit-program\"", shared) +
        "<gadget name=\"odd\"><attachment-bitmap name=\"skipped.png\"/></gadget>" +
        Button("looks", "type=\"quit-program\"", FullSkin("hollow", "skin/none.png"));
    const lumtooltest::CRun run = CheckProduct(Product(Page("main", elements), "<splash name=\"splash.png\"/>"),
                                  {{"art/broken.png", "not a picture at all"},
                                   {"art/anim.gif", "GIF89a"},
                                   {"art/logo.png", lumtest::PngBytes(4, 4)}});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const std::vector<std::string> expected{
        "page 'main', element 'gone': picture 'art/missing.png' is not in the content file",
        "page 'main', element 'broken': picture 'art/broken.png' does not decode",
        "page 'main', element 'gif': picture 'art/anim.gif' is not of a type the player reads",
        "page 'main', element 'cased': picture 'Art/Logo.png' is not in the content file",
        "page 'main', element 'intro': rich text 'text/intro.xml' is not in the content file",
        "page 'main', element 'looks': picture 'skin/none.png' is not in the content file",
        "splash: picture 'splash.png' is not in the content file",
    };
    for (const std::string& line : expected)
        EXPECT_TRUE(Has(run.out, line)) << line << "\n" << run.out;
    // A picture used by three states of one skin is reported once.
    // And the element of a kind the loader does not know, once.
    EXPECT_TRUE(Has(run.out, "<gadget> is not an element the player reads in <document>"))
        << run.out;
    EXPECT_EQ(ProblemLines(run.out), 8) << run.out;
    EXPECT_TRUE(Has(run.out, "8 errors found")) << run.out;
    EXPECT_FALSE(Has(run.out, "never-read.png")) << run.out;
    EXPECT_FALSE(Has(run.out, "skipped.png")) << run.out;
}

TEST_F(CheckTest, GotoPageActionsMustNameAnExistingPage) {
    const std::string buttons =
        Button("cased", GotoPage("EXTRA")) + Button("lost", GotoPage("nowhere")) +
        Button("blank", GotoPage("")) +
        Button("main", "type=\"change-page\" change-page=\"goto-mainpage\" page=\"nowhere\"") +
        Button("web", "type=\"open-website\" page=\"nowhere\" website=\"https://example.org\"");
    const lumtooltest::CRun run = CheckProduct(Product(Page("main", buttons) + Page("extra")));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(HasLine(run.out, "page 'main', state-button 'lost' at ",
                        "goes to page 'nowhere', but no page "
                        "has that name"))
        << run.out;
    EXPECT_TRUE(
        HasLine(run.out, "page 'main', state-button 'blank' at ", "goes to a page but names none"))
        << run.out;
    EXPECT_EQ(ProblemLines(run.out), 2) << run.out;
}

TEST_F(CheckTest, SkinsNeedTheNormalHoverAndDownLooks) {
    const std::string emptyDown =
        "<skin type=\"buttonskin\" id=\"flat\"><states><normal "
        "name=\"normal\">" +
        Layer("look.png") + "</normal><hover name=\"hover\">" + Layer("look.png") +
        "</hover><down name=\"down\"><layers/></down></states></skin>";
    const std::string buttons =
        Button("nohover", "type=\"quit-program\"", Skin("plain", {"normal", "down", "selected"})) +
        Button("emptydown", "type=\"quit-program\"", emptyDown) +
        Button("bare", "type=\"quit-program\"", "") +  // no skin: the plain look is meant
        // Clear of the rows of buttons, which it would overlap at 0,0.
        "<state-button type-name=\"skin-button\" name=\"skinonly\"><center x=\"600\" y=\"300\"/>" +
        Skin("", {"hover", "down"}) + "</state-button>";
    const lumtooltest::CRun run = CheckProduct(Product(Page("main", buttons)));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(HasLine(run.out, "page 'main', state-button 'nohover' at ",
                        "its skin 'plain' has no 'hover' "
                        "look, so the button shows nothing while the pointer is over it"))
        << run.out;
    EXPECT_TRUE(HasLine(run.out, "page 'main', state-button 'emptydown' at ",
                        "its skin 'flat' has no 'down' "
                        "look, so the button shows nothing while it is pressed"))
        << run.out;
    EXPECT_TRUE(HasLine(run.out, "page 'main', state-button 'skinonly' at ",
                        "its skin has no 'normal' look, so "
                        "the button shows nothing at rest"))
        << run.out;
    EXPECT_EQ(ProblemLines(run.out), 3) << run.out;
}

TEST_F(CheckTest, PageNamesThatDifferOnlyInCaseAreReported) {
    const lumtooltest::CRun run =
        CheckProduct(Product(Page("Intro") + Page("other") + Page("intro") + Page("other")));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "4 pages: 'Intro', 'other', 'intro', 'other'")) << run.out;
    EXPECT_TRUE(Has(run.out, "page names 'Intro' and 'intro' differ only in letter case"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "pages 2 and 4 are both named 'other'")) << run.out;
    EXPECT_EQ(ProblemLines(run.out), 2) << run.out;
}

TEST_F(CheckTest, MusicMustBeAPlayableWav) {
    const std::string wav = WavBytes();
    const std::string size = std::to_string(wav.size());
    const auto musicProblem = [&](const std::string& music,
                                  const std::map<std::string, std::string>& entries) {
        const lumtooltest::CRun run = CheckProduct(Product(Page("main"), music), entries);
        EXPECT_EQ(run.status, ProblemLines(run.out) > 0 ? 1 : 0) << run.out << run.err;
        return ProblemLines(run.out) == 1 ? run.out : "(" + run.out + ")";
    };
    EXPECT_EQ(musicProblem(Music("wav", "theme.wav", size), {{"theme.wav", wav}}),
              "(" + std::string(m_folder.Path() / "content.lum") +
                  ": 1 page: 'main'\nno problems found\n)");
    EXPECT_TRUE(Has(musicProblem(Music("WAV", "theme.wav", size), {{"theme.wav", wav}}),
                    "music: the format is 'WAV', but the player plays only 'wav'"));
    EXPECT_TRUE(Has(musicProblem(Music("wav", "theme.wav", "40"),
                                 {{"theme.wav", "RIFF" + std::string(36, 'x')}}),
                    "music: the sound is not a WAV file the player can play ("));
    // Cut short by a size below the real one, the data no longer decodes; the size is named.
    const lumtooltest::CRun shortened =
        CheckProduct(Product(Page("main"), Music("wav", "theme.wav", "30")), {{"theme.wav", wav}});
    EXPECT_EQ(shortened.status, 1) << shortened.out << shortened.err;
    EXPECT_EQ(ProblemLines(shortened.out), 2) << shortened.out;
    EXPECT_TRUE(Has(shortened.out, "music: the sound is not a WAV file the player can play ("))
        << shortened.out;
    EXPECT_TRUE(Has(shortened.out, "music: the size field says 30 bytes, but 'theme.wav' holds " +
                                       size + "; write size=\"" + size + "\""))
        << shortened.out;
    EXPECT_TRUE(Has(musicProblem(Music("wav", "song.wav", size), {{"theme.wav", wav}}),
                    "music: sound 'song.wav' is not in the content file"));
    EXPECT_TRUE(Has(musicProblem(Music("wav", "theme.wav", "0"), {{"theme.wav", wav}}),
                    "music: sound 'theme.wav' has no size in product.xml"));
}

// Run-file and open-folder actions name files on the disc beside the content file, where the
// player on the medium looks for them: not in the content file.
TEST_F(CheckTest, FilesTheButtonsOpenAreLookedForOnTheDisc) {
    m_folder.Write("setup/install.sh", "#!/bin/sh\n");
    m_folder.Write("Docs/Guide.pdf", "guide");
    const std::string buttons = Button("install", "type=\"run-file\" file=\"setup/instal.sh\"") +
                                Button("guide", "type=\"run-file\" file=\"docs\\guide.pdf\"") +
                                Button("manual", "type=\"run-file\" file=\"manual.pdf\"") +
                                Button("up", "type=\"run-local-file\" file=\"../up.txt\"") +
                                Button("system", "type=\"run-file\" file=\"/usr/bin/xterm\"") +
                                Button("browse", "type=\"open-folder\" folder=\"Docs\"") +
                                Button("fine", "type=\"run-file\" file=\"setup/install.sh\"") +
                                Button("nothing", "type=\"run-file\"");
    const std::string disc = m_folder.Path().string();
    const lumtooltest::CRun run = CheckProduct(Product(Page("main", buttons)),
                                               {{"manual.pdf", "packed, but not on the disc"}});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const auto line = [&](const std::string& button, const std::string& what) {
        return HasLine(run.out, "page 'main', state-button '" + button + "' at ", what);
    };
    EXPECT_TRUE(line("install", "runs 'setup/instal.sh', which is not on the disc (looked in '" +
                                    disc + "'); did you mean 'setup/install.sh'?"))
        << run.out;
    EXPECT_TRUE(line("manual", "runs 'manual.pdf', which is not on the disc (looked in '" + disc +
                                   "'); the content file holds it, but the player looks for it "
                                   "on the disc beside the content file"))
        << run.out;
    EXPECT_TRUE(line("up", "runs '../up.txt', which leads out of the disc")) << run.out;
    EXPECT_TRUE(line("guide",
                     "runs 'docs\\guide.pdf', which is on the disc only as "
                     "'Docs/Guide.pdf'"))
        << run.out;
    EXPECT_TRUE(line("system", "runs '/usr/bin/xterm', an absolute path")) << run.out;
    EXPECT_TRUE(Has(run.out, "error: page 'main', state-button 'install'")) << run.out;
    EXPECT_TRUE(Has(run.out, "warning: page 'main', state-button 'guide'")) << run.out;
    EXPECT_TRUE(Has(run.out, "error: page 'main', state-button 'nothing' centred at 150,"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "in action: a run-file action needs 'file' (the file to run)"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "4 errors and 2 warnings found")) << run.out;
    EXPECT_EQ(ProblemLines(run.out), 6) << run.out;

    // The disc named elsewhere: there the typo is a file, and the others are missing.
    m_folder.Write("elsewhere/setup/instal.sh", "#!/bin/sh\n");
    const std::string content = (m_folder / "content.lum").string();
    const lumtooltest::CRun elsewhere = RunTool(
        "check '" + content + "' --disc '" + (m_folder / "elsewhere").string() + "'", m_folder);
    EXPECT_EQ(elsewhere.status, 1) << elsewhere.out << elsewhere.err;
    EXPECT_FALSE(Has(elsewhere.out, "'install'")) << elsewhere.out;
    EXPECT_TRUE(
        Has(elsewhere.out, "runs 'setup/install.sh', which is not on the disc (looked in '" +
                               (m_folder / "elsewhere").string() + "')"))
        << elsewhere.out;
    const lumtooltest::CRun noDisc =
        RunTool("check '" + content + "' --disc '" + (m_folder / "none").string() + "'", m_folder);
    EXPECT_EQ(noDisc.status, 2);
    EXPECT_TRUE(Has(noDisc.err, "is not a folder")) << noDisc.err;
}

// An unpacked menu folder stands for the disc; the product's base folder is where the names
// are taken below.
TEST_F(CheckTest, AMenuFolderIsItsOwnDiscBelowTheBase) {
    const std::string buttons = Button("readme", "type=\"run-file\" file=\"readme.txt\"") +
                                Button("typo", "type=\"open-folder\" folder=\"extar\"");
    const std::string product = Product(Page("main", buttons), "<base path=\"files\"/>");
    m_folder.Write("menu/product.xml", product);
    m_folder.Write("menu/look.png", lumtest::PngBytes(8, 8));
    m_folder.Write("menu/files/readme.txt", "read me");
    m_folder.Write("menu/files/extra/a.txt", "a");
    m_folder.Write("menu/readme.txt", "not below the base");
    const lumtooltest::CRun run = RunTool("check '" + (m_folder / "menu").string() + "'", m_folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(HasLine(run.out, "page 'main', state-button 'typo' at ",
                        "opens the folder 'extar', which is not on the disc (looked in '" +
                            (m_folder / "menu/files").string() + "'); did you mean 'extra'?"))
        << run.out;
    EXPECT_EQ(ProblemLines(run.out), 1) << run.out;
}

TEST_F(CheckTest, FilesThatCannotBeReadExitWithTwoAndTheReason) {
    const auto reason = [&](const std::map<std::string, std::string>& entries) {
        const lumtooltest::CRun run = Check(entries);
        EXPECT_EQ(run.status, 2) << run.out << run.err;
        // No report, only the findings that may say why, before the reason on stderr.
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_TRUE(line.rfind("error: ", 0) == 0 || line.rfind("warning: ", 0) == 0) << line;
        }
        return run.err;
    };
    EXPECT_TRUE(Has(reason({{"readme.txt", "hello"}}), "cannot be read: it holds no product.xml"));
    EXPECT_TRUE(Has(reason({{"product.xml", "<product><pages></product>"}}),
                    "cannot be read: its product.xml is not well-formed XML"));
    EXPECT_TRUE(Has(reason({{"product.xml", Product("")}}), "cannot be read: it has no pages"));
    EXPECT_TRUE(
        Has(reason({{"product.xml", Product(Page("main", Button("b",
                                                                "type=\"change-page\" "
                                                                "change-page=\"sideways\"")))}}),
            "cannot be read: the loader stops with an error: Unknown Change page type"));
    // One sharing id used for two kinds of object is a reading error of the loader too.
    EXPECT_TRUE(
        Has(reason({{"product.xml",
                     Product(Page("main", Button("b", "", Skin("s", {"normal"}, "x.png", 5)) +
                                              "<image name=\"a\" unique=\"5\"/>"))}}),
            "Error get reuseable resource. Type different"));

    const std::string notZip = m_folder.Write("plain.lum", "just some text").string();
    lumtooltest::CRun run = RunTool("check '" + notZip + "'", m_folder);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "cannot be read: it is not a ZIP archive")) << run.err;
    run = RunTool("check '" + (m_folder / "absent.lum").string() + "'", m_folder);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "cannot be read: the file does not exist")) << run.err;
    run = RunTool("check", m_folder);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "no FILE given")) << run.err;
}

TEST_F(CheckTest, WithoutADisplayItUsesAVirtualOneOrSaysWhy) {
    const std::wstring file =
        lumtest::WriteArchive(m_folder, "content.lum",
                              {{"product.xml", Product(Page("main", Image("logo", "look.png")))},
                               {"look.png", lumtest::PngBytes(8, 8)}});
    const std::string path = fs::path(file).string();
    lumtooltest::CRun run = RunTool("check '" + path + "'", m_folder, "-u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "no problems found")) << run.out;
    // Without xvfb-run on the path there is no way to a display.
    run = RunTool("check '" + path + "'", m_folder,
                  "-u DISPLAY -u WAYLAND_DISPLAY PATH=" + m_folder.Path().string());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Has(run.err, "this command needs a display")) << run.err;
}

}  // namespace
