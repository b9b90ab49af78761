// "lumtool check" on texts cut off by their boxes, as written and in each language of the
// product: rich texts, labels, skinned buttons' labels and tables.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "CheckMenu.h"
#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

namespace {

using namespace checkmenu;

const std::string kLong = "One two three four five six seven eight nine ten eleven twelve";

std::string Label(const std::string& name, const std::string& text, const std::string& geometry,
                  int points) {
    return "<label name=\"" + name + "\" text=\"" + text + "\">" + geometry +
           "<font name=\"DejaVu Sans\" pointsize=\"" + std::to_string(points) + "\"/></label>";
}

std::string Layers(const std::string& text) {
    return "<layers><animation><attachment-bitmap name=\"look.png\"/></animation>" + text +
           "</layers>";
}

// A button whose normal look writes its label 10 pixels in from either side.
std::string LabelledButton(const std::string& name, const std::string& geometry,
                           const std::string& label, const std::string& textId) {
    const std::string text =
        "<text horzalign=\"0.5\" vertalign=\"0.5\"><content-margins left=\"10\" top=\"0\" "
        "right=\"10\" bottom=\"0\"/><font name=\"DejaVu Sans\" pointsize=\"11\"/></text>";
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name + "\" label=\"" +
           label + "\" text-id=\"" + textId + "\">" + geometry +
           "<skin type=\"buttonskin\" id=\"s\"><states><normal name=\"normal\">" + Layers(text) +
           "</normal><hover name=\"hover\">" + Layers("") + "</hover><down name=\"down\">" +
           Layers("") + "</down></states></skin><action type=\"quit-program\"/></state-button>";
}

std::string Table(const std::string& geometry) {
    return "<table name=\"grid\">" + geometry +
           "<rows><row height=\"30\"/><row height=\"30\"/></rows><cols><col width=\"100\" "
           "visible=\"true\"/></cols><cells><cell margin=\"4\" vertical-align=\"top\">"
           "<attachment-richtextbuffer name=\"text/ok.xml\"/></cell><cell margin=\"4\" "
           "vertical-align=\"top\"><attachment-richtextbuffer name=\"text/ok.xml\"/></cell>"
           "</cells></table>";
}

class TextFitCheckTest : public testing::Test {
protected:
    void SetUp() override { graphics::InstallPictureHandlers(); }

    lumtooltest::CRun Check(const std::string& name, const std::string& product,
                            std::vector<std::pair<std::string, std::string>> files) {
        files.emplace_back("product.xml", product);
        files.emplace_back("look.png", lumtest::PngBytes(8, 8));
        return CheckFolder(m_temp, name, files);
    }

    testsupport::TempFolder m_temp;
};

TEST_F(TextFitCheckTest, TextsCutOffByTheirBoxesAreFoundAsWrittenAndInEachLanguage) {
    // Boxes one line high. 'german' is too long in de-de only; 'shared' as written and in en-us,
    // whose translation reads the same; 'both' in two different translations; 'written' only
    // as written, for every language translates it short.
    const auto at = [](double y) { return Geometry(100, y, 150, 20); };
    const std::string elements =
        Text("cut", at(20), "text/long.xml") +  // no text id
        Text("german", at(50), "text/short.xml", "text-id=\"t.german\"") +
        Text("ok", at(80), "text/short.xml", "text-id=\"t.ok\"") +
        Text("shared", at(110), "text/long.xml", "text-id=\"t.shared\"") +
        Text("both", at(140), "text/short.xml", "text-id=\"t.both\"") +
        Text("written", at(170), "text/long.xml", "text-id=\"t.written\"") +
        Text("hidden", at(200), "text/long.xml", "visible=\"false\"") +
        Text("indented", Geometry(100, 250, 100, 40), "text/indented.xml") +
        // Texts the player fills in itself are not judged by what the file holds.
        Text("$breadcrumb", Geometry(300, 100, 20, 10), "text/long.xml") +
        "<text name=\"status\">" + Geometry(300, 200, 20, 10) +
        "<tags><hint/></tags><attachment-richtextbuffer name=\"text/long.xml\"/></text>" +
        Label("caption", kLong, Geometry(300, 20, 30, 10), 12) +
        Label("shrinks", "Fits smaller", Geometry(300, 50, 100, 20), 30) +
        LabelledButton("go", Geometry(300, 270, 100, 30), "Go", "b.go") +
        Table(Geometry(300, 150, 100, 40));
    const std::string translations =
        "<translations>" + Translation("t.german", "en-us", "Short") +
        Translation("t.german", "de-de", "Ein viel zu langer Text für diese kleine Box") +
        Translation("t.ok", "en-us", "Fine") + Translation("t.ok", "de-de", "Gut") +
        Translation("t.shared", "en-us", kLong) + Translation("t.shared", "de-de", "Kurz") +
        Translation("t.both", "en-us", kLong) +
        Translation("t.both", "de-de", "Eins zwei drei vier fünf sechs sieben acht") +
        Translation("t.written", "en-us", "Ok") + Translation("t.written", "de-de", "Ok") +
        Translation("b.go", "en-us", "Go") +
        Translation("b.go", "de-de", "Weitergehen und immer weiter gehen") + "</translations>";
    // A line that starts 151 pixels in (400 tenths of a millimetre) cannot be wrapped into 100.
    std::string indented = OneRun("Indented");
    indented.replace(indented.find("<paragraph alignment=\"1\">"), 25,
                     "<paragraph alignment=\"1\" leftindent=\"400\">");
    const lumtooltest::CRun run =
        Check("menu", Product(Page("main", elements), ClientSize(400, 300) + translations),
              {{"text/long.xml", OneRun(kLong)},
               {"text/short.xml", OneRun("Short")},
               {"text/ok.xml", OneRun("Ok")},
               {"text/indented.xml", indented}});
    EXPECT_EQ(run.status, 0) << run.out << run.err;  // warnings only

    const auto about = [&](const std::string& what) {
        return About(run.out, "page 'main', " + what + " at ");
    };
    const std::regex cut(
        "[0-9]+ of its [0-9]+ lines falls? below the bottom of its box \\(the text "
        "needs [0-9]+ pixels, the box is 20 high\\); the text is cut off there: "
        "make the box taller or the text shorter");
    const auto cutOff = [&](const std::vector<std::string>& said, const std::string& who) {
        return said.size() == 1 && said[0].compare(0, who.size(), who) == 0 &&
               std::regex_match(said[0].substr(who.size()), cut);
    };
    EXPECT_TRUE(cutOff(about("text 'cut'"), "")) << run.out;
    EXPECT_TRUE(cutOff(about("text 'german'"), "in de-de, ")) << run.out;
    EXPECT_TRUE(about("text 'ok'").empty()) << run.out;
    EXPECT_TRUE(cutOff(about("text 'shared'"), "as written and in en-us, ")) << run.out;
    const std::vector<std::string> both = about("text 'both'");
    ASSERT_EQ(both.size(), 2u) << run.out;
    EXPECT_TRUE(cutOff({both[0]}, "in en-us, ")) << run.out;
    EXPECT_TRUE(cutOff({both[1]}, "in de-de, ")) << run.out;
    EXPECT_TRUE(cutOff(about("text 'written'"), "as written, ")) << run.out;
    const std::vector<std::string> indentedSaid = about("text 'indented'");
    ASSERT_EQ(indentedSaid.size(), 1u) << run.out;
    EXPECT_TRUE(std::regex_match(
        indentedSaid[0],
        std::regex("a line of it reaches [0-9]+ pixels across, past the side of its 100-pixel "
                   "box \\(an indent or a word wider than the box\\); the text is cut off "
                   "there: make the box wider or the text shorter")))
        << indentedSaid[0];
    EXPECT_FALSE(Has(run.out, "'hidden'")) << run.out;
    EXPECT_FALSE(Has(run.out, "'$breadcrumb'")) << run.out;
    EXPECT_FALSE(Has(run.out, "'status'")) << run.out;

    const std::vector<std::string> caption = about("label 'caption'");
    ASSERT_EQ(caption.size(), 1u) << run.out;
    EXPECT_TRUE(std::regex_match(
        caption[0], std::regex("its text needs [0-9]+\u00d7[0-9]+ pixels even at the smallest "
                               "font \\(4 points\\), more than its 30\u00d710 box, and is drawn "
                               "over what lies beside it: make the box larger or the text "
                               "shorter")))
        << caption[0];
    EXPECT_TRUE(about("label 'shrinks'").empty()) << run.out;

    const std::vector<std::string> go = about("state-button 'go'");
    ASSERT_EQ(go.size(), 1u) << run.out;
    EXPECT_TRUE(std::regex_match(
        go[0], std::regex("in de-de, its label 'Weitergehen und immer weiter gehen' needs "
                          "[0-9]+\u00d7[0-9]+ pixels, but the text layer of its 'normal' look "
                          "leaves it 80\u00d730, so the label is cut off: make the button larger, "
                          "the label shorter or the skin's font smaller")))
        << go[0];

    EXPECT_EQ(about("table 'grid'"),
              std::vector<std::string>{"its rows (grown to hold their texts) reach 60 pixels "
                                       "down, past the bottom of its 40-pixel box, and are drawn "
                                       "over what lies below: make the box taller, the columns "
                                       "wider or the texts shorter"})
        << run.out;
}

TEST_F(TextFitCheckTest, ALineIsCutOffWhenItsBoxIsOnePixelShorterThanTheLine) {
    // The same line in boxes 10 to 30 pixels high: those lower than the line are reported.
    std::string elements;
    for (int height = 10; height <= 30; ++height) {
        elements += Text("h" + std::to_string(height), Geometry(100, 10 * height - 80, 150, height),
                         "text/hello.xml");
    }
    const lumtooltest::CRun run =
        Check("menu", Product(Page("main", elements), ClientSize(400, 300)),
              {{"text/hello.xml", OneRun("Hello")}});
    const std::vector<std::string> warnings = Lines(run.out, "warning: ");
    ASSERT_FALSE(warnings.empty()) << run.out;
    std::smatch needs;
    ASSERT_TRUE(std::regex_search(warnings[0], needs, std::regex("the text needs ([0-9]+) pixels")))
        << warnings[0];
    const int line = std::stoi(needs[1]);
    EXPECT_GT(line, 10);
    EXPECT_LE(line, 30);
    for (int height = 10; height <= 30; ++height) {
        const std::vector<std::string> said =
            About(run.out, "page 'main', text 'h" + std::to_string(height) + "' at ");
        if (height < line) {
            ASSERT_EQ(said.size(), 1u) << height << "\n" << run.out;
            EXPECT_EQ(said[0], "its line falls below the bottom of its box (the text needs " +
                                   std::to_string(line) + " pixels, the box is " +
                                   std::to_string(height) +
                                   " high); the text is cut off there: make the box taller or "
                                   "the text shorter");
        } else {
            EXPECT_TRUE(said.empty()) << height << "\n" << run.out;
        }
    }
}

}  // namespace
