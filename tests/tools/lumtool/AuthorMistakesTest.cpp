// "lumtool check" on one two-page English and German menu that holds every mistake a new author
// made on a disc that check once passed: each is reported, with its page and element and what
// to write instead.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckMenu.h"
#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

namespace {

using namespace checkmenu;

std::string ActionButton(const std::string& name, double y, const std::string& action,
                         const std::string& attributes = "") {
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name + "\" " +
           attributes + ">" + Geometry(100, y, 120, 20) + "<action " + action +
           "/></state-button>";
}

// The findings about one element: what each line says after its place.
std::vector<std::string> Said(const std::string& out, const std::string& page,
                              const std::string& element) {
    return About(out, "page '" + page + "', " + element + " at ");
}

bool AnySays(const std::vector<std::string>& said, const std::string& what) {
    for (const std::string& line : said) {
        if (Has(line, what)) return true;
    }
    return false;
}

TEST(AuthorMistakesTest, EveryMistakeInOneMenuIsNamedWithItsPlaceAndWhatToDo) {
    graphics::InstallPictureHandlers();
    testsupport::TempFolder disc;
    disc.Write("setup/install.sh", "#!/bin/sh\n");

    const std::string main =
        ActionButton("mail", 20, "type=\"send-email\"") +
        ActionButton("site", 50, "type=\"open-website\" url=\"https://example.org\"") +
        ActionButton("write", 80, "type=\"send-mail\" email=\"info@example.org\"") +
        ActionButton("install", 110, "type=\"run-file\" file=\"setup/instal.sh\"") +
        ActionButton("manual", 140, "type=\"run-file\" file=\"manual.pdf\"") +
        ActionButton("extras", 170, "type=\"run-file\" file=\"extras/tool.exe\"") +
        ActionButton("more", 200, "type=\"change-page\" change-page=\"goto-page\" page=\"more\"") +
        // Off the page: the page is 400 wide.
        "<state-button type-name=\"lum-state-button-action\" name=\"away\">" +
        Geometry(480, 260, 60, 20) + "<action type=\"quit-program\"/></state-button>";
    const std::string more =
        Text("intro", Geometry(200, 40, 150, 20), "text/long.xml") +
        Text("title", Geometry(200, 100, 150, 20), "text/start.xml", "text-id=\"t.title\"") +
        ActionButton("back", 250, "type=\"change-page\" change-page=\"goto-page\"");
    const std::string translations =
        "<translations>" + Translation("t.title", "en-us", "Start") +
        Translation("t.title", "de-de", "Installation jetzt beginnen und fortfahren") +
        "</translations>";
    const std::string music =
        "<music filename=\"theme.wav\" loop=\"true\"><buffer format=\"wav\"><chunk "
        "name=\"theme.wav\" size=\"1000\"/></buffer></music>";
    const std::string product =
        Product(Page("main", main) + Page("more", more), ClientSize(400, 300) + translations + music);
    const std::string wav = Wav(2000);
    const std::wstring content = lumtest::WriteArchive(
        disc, "content.lum",
        {{"product.xml", product},
         {"theme.wav", wav},
         {"manual.pdf", "packed, but not on the disc"},
         {"text/start.xml", OneRun("Start")},
         {"text/long.xml", OneRun("One two three four five six seven eight nine ten eleven")}});
    const lumtooltest::CRun run =
        lumtooltest::RunTool("check '" + std::filesystem::path(content).string() + "'", disc);
    EXPECT_EQ(run.status, 1) << run.out << run.err;

    const auto button = [&](const std::string& name) {
        return Said(run.out, "main", "state-button '" + name + "'");
    };
    // Names: an action type, and attributes, that do not exist, each with the nearest one.
    EXPECT_TRUE(AnySays(button("mail"), "'send-email'")) << run.out;
    EXPECT_TRUE(AnySays(button("mail"), "send-mail")) << run.out;
    EXPECT_TRUE(AnySays(button("site"), "did you mean 'website'?")) << run.out;
    EXPECT_TRUE(AnySays(button("write"), "did you mean 'e-mail'?")) << run.out;
    // What an action needs: the website and the address the misspelt attributes hid, the page.
    EXPECT_TRUE(AnySays(button("site"), "needs 'website'")) << run.out;
    EXPECT_TRUE(AnySays(button("write"), "needs 'e-mail'")) << run.out;
    EXPECT_TRUE(AnySays(Said(run.out, "more", "state-button 'back'"), "goes to a page but names none")) << run.out;
    // The disc's files: a typo, one packed instead of put on the disc, one left out.
    EXPECT_TRUE(AnySays(button("install"), "did you mean 'setup/install.sh'?")) << run.out;
    EXPECT_TRUE(AnySays(button("manual"), "the content file holds it")) << run.out;
    EXPECT_TRUE(AnySays(button("extras"), "runs 'extras/tool.exe', which is not on the disc"))
        << run.out;
    EXPECT_TRUE(AnySays(button("away"), "lies wholly outside the 400\u00d7300 page")) << run.out;
    EXPECT_TRUE(AnySays(Said(run.out, "more", "text 'intro'"), "the text is cut off there"))
        << run.out;
    EXPECT_TRUE(AnySays(Said(run.out, "more", "text 'title'"), "de-de")) << run.out;
    EXPECT_TRUE(Has(run.out, "write size=\"" + std::to_string(wav.size()) + "\"")) << run.out;
    // Nothing else: the buttons that are right, and the page that exists, give no finding.
    EXPECT_TRUE(button("more").empty()) << run.out;
    EXPECT_TRUE(Has(run.out, "11 errors and 2 warnings found")) << run.out;
}

}  // namespace
