// "lumtool check" on translations: text ids translated into some of the product's languages
// only, and rich texts whose runs a translation cannot replace one by one.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CheckMenu.h"
#include "TempFolder.h"
#include "ToolRun.h"

namespace {

using namespace checkmenu;

class TranslationCheckTest : public testing::Test {
protected:
    lumtooltest::CRun Check(const std::string& name, const std::string& pages,
                            const std::string& translations,
                            std::vector<std::pair<std::string, std::string>> files = {}) {
        files.emplace_back("product.xml", Product(pages, ClientSize(400, 300) + "<translations>" +
                                                             translations + "</translations>"));
        files.emplace_back("text/one.xml", OneRun("One"));
        return CheckFolder(m_temp, name, files);
    }

    testsupport::TempFolder m_temp;
};

TEST_F(TranslationCheckTest, TextIdsTranslatedIntoSomeOfTheLanguagesOnlyAreNamed) {
    const auto at = [](double y) { return Geometry(100, y, 150, 30); };
    const std::string main = Text("full", at(20), "text/one.xml", "text-id=\"t.full\"") +
                             Text("partial", at(50), "text/one.xml", "text-id=\"t.partial\"") +
                             Text("again", at(80), "text/one.xml", "text-id=\"t.partial\"") +
                             Text("german", at(110), "text/one.xml", "text-id=\"t.german\"") +
                             Text("blank", at(140), "text/one.xml", "text-id=\"t.blank\"") +
                             Text("never", at(170), "text/one.xml", "text-id=\"t.never\"") +
                             // Labels are not translated; their text id is not used.
                             "<label name=\"caption\" text=\"Hi\" text-id=\"t.label\">" + at(200) +
                             "</label>";
    const std::string pages =
        "<page name=\"main\" textid=\"page.main\"><document version=\"1\">"
        "<content-box x=\"0\" y=\"0\" width=\"400\" height=\"300\"/>" +
        main + "</document></page>" +
        Page("second", Text("third", at(20), "text/one.xml", "text-id=\"t.partial\""));
    std::string translations;
    for (const std::string language : {"en-us", "de-de", "fr-fr"}) {
        translations += Translation("t.full", language, "Eins");
    }
    translations +=
        Translation("t.partial", "en-us", "One") + Translation("t.partial", "de-de", "Eins") +
        Translation("t.german", "de-de", "Eins") +
        // An empty translation shows the en-us text: it counts as none.
        Translation("t.blank", "en-us", "One") + Translation("t.blank", "de-de", "Eins") +
        Translation("t.blank", "fr-fr", "") + Translation("page.main", "en-us", "Start") +
        Translation("page.main", "fr-fr", "Début") + Translation("t.label", "de-de", "Hallo") +
        Translation("t.unused", "de-de", "Nie");
    const lumtooltest::CRun run = Check("menu", pages, translations);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(
        Lines(run.out, "warning: "),
        (std::vector<std::string>{
            "page 'main', its title: text id 'page.main' is translated into en-us and fr-fr but "
            "not into de-de; that language shows the en-us text instead: add the missing "
            "translations",
            "page 'main', text 'partial' at 25,35 (150\u00d730): text id 't.partial' is translated "
            "into en-us and de-de but not into fr-fr (and 2 more places use it); that language "
            "shows the en-us text instead: add the missing translations",
            "page 'main', text 'german' at 25,95 (150\u00d730): text id 't.german' is translated "
            "into de-de but not into en-us and fr-fr; those languages show the text as written "
            "instead: add the missing translations",
            "page 'main', text 'blank' at 25,125 (150\u00d730): text id 't.blank' is translated "
            "into en-us and de-de but not into fr-fr; that language shows the text as written "
            "instead: add the missing translations"}))
        << run.out;

    // With one language there is nothing to leave out.
    const lumtooltest::CRun single = Check(
        "single", Page("main", Text("partial", at(50), "text/one.xml", "text-id=\"t.partial\"")),
        Translation("t.partial", "de-de", "Eins"));
    EXPECT_TRUE(Has(single.out, "no problems found")) << single.out;
}

TEST_F(TranslationCheckTest, RichTextsOfSeveralRunsAreNamedWithWhatTheTranslationDoes) {
    // Boxes large enough for a translation in every run, so that none is cut off.
    const std::string elements =
        Text("styled", Geometry(100, 50, 150, 80), "text/styled.xml", "text-id=\"t.styled\"") +
        Text("paragraphs", Geometry(100, 150, 150, 100), "text/paragraphs.xml",
             "text-id=\"t.paragraphs\"") +
        Text("single", Geometry(100, 230, 150, 30), "text/one.xml", "text-id=\"t.single\"") +
        Text("plain", Geometry(100, 270, 150, 30), "text/styled.xml") +  // never translated
        "<table name=\"grid\" text-id=\"t.grid\">" + Geometry(300, 100, 100, 60) +
        "<rows><row height=\"30\"/><row height=\"30\"/></rows><cols><col width=\"100\"/></cols>"
        "<cells><cell vertical-align=\"top\"><attachment-richtextbuffer name=\"text/one.xml\"/>"
        "</cell><cell vertical-align=\"top\"><attachment-richtextbuffer name=\"text/one.xml\"/>"
        "</cell></cells></table>";
    const std::string translations = Translation("t.styled", "de-de", "Kurz und fett") +
                                     Translation("t.styled", "en-us", "Short and bold") +
                                     Translation("t.single", "de-de", "Eins") +
                                     Translation("t.single", "en-us", "One");
    const lumtooltest::CRun run = Check(
        "menu", Page("main", elements), translations,
        {{"text/styled.xml", RichText({{{"Short and ", ""}, {"bold", "fontweight=\"700\""}}})},
         {"text/paragraphs.xml", RichText({{{"First", ""}}, {{"Second", ""}}, {{"Third", ""}}})}});
    const auto about = [&](const std::string& what) {
        return About(run.out, "page 'main', " + what + " at ");
    };
    EXPECT_EQ(about("text 'styled'"),
              std::vector<std::string>{
                  "its text has 2 runs (parts in their own style or paragraph), and the "
                  "translation of text id 't.styled' (de-de and en-us) takes the place of each, "
                  "so it shows 2 times and the styling of the parts is lost; write the text as "
                  "one run, or give each part its own element and text id"})
        << run.out;
    EXPECT_EQ(about("text 'paragraphs'"),
              std::vector<std::string>{
                  "its text has 3 runs (parts in their own style or paragraph), and a "
                  "translation of text id 't.paragraphs' would take the place of each, so it "
                  "shows 3 times and the styling of the parts is lost; write the text as one "
                  "run, or give each part its own element and text id"})
        << run.out;
    EXPECT_EQ(about("table 'grid'").size(), 1u) << run.out;
    EXPECT_TRUE(about("text 'single'").empty()) << run.out;
    EXPECT_TRUE(about("text 'plain'").empty()) << run.out;
}

TEST_F(TranslationCheckTest, ADamagedMenuOfThousandsOfLanguagesIsCheckedWithinBounds) {
    // Every language a translation of its own: each text is measured in a bounded number of
    // them, and messages name a few languages and count the others.
    std::string elements;
    for (int i = 0; i < 3; ++i) {
        elements += Text("a" + std::to_string(i), Geometry(100, 20 + 40 * i, 150, 20),
                         "text/one.xml", "text-id=\"t.a\"");
    }
    elements += Text("b", Geometry(300, 20, 150, 20), "text/one.xml", "text-id=\"t.b\"");
    std::string translations = Translation("t.b", "l0001", "B");
    for (int i = 0; i < 2000; ++i) {
        char language[8];
        std::snprintf(language, sizeof language, "l%04d", i);
        translations += Translation("t.a", language,
                                    "Text number " + std::to_string(i) + " in its own language");
    }
    const lumtooltest::CRun run = Check("menu", Page("main", elements), translations);
    EXPECT_EQ(run.status, 0) << run.err;  // not stopped by the time limit (124)
    EXPECT_EQ(About(run.out, "page 'main', text 'b' at "),
              std::vector<std::string>{
                  "text id 't.b' is translated into l0001 but not into l0000, l0002, l0003, "
                  "l0004, l0005, l0006, l0007, l0008 and 1991 more; those languages show the "
                  "text as written instead: add the missing translations"})
        << run.out.substr(0, 2000);
    for (int i = 0; i < 3; ++i) {
        const std::vector<std::string> said =
            About(run.out, "page 'main', text 'a" + std::to_string(i) + "' at ");
        EXPECT_FALSE(said.empty());
        EXPECT_LE(said.size(), 16u);
    }
}

}  // namespace
