// The format's schema against what is shipped and written: the demo, the templates, what
// lumtool writes and every kind of element validate; each naming mistake an author makes is
// refused by the schema and named by check, with the nearest right name.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "NameCheck.h"
#include "SchemaValidation.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "lum/data/FormatSchema.h"

namespace {

namespace fs = std::filesystem;
using lumtooltest::CRun;
using lumtooltest::RunTool;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Validated(const std::string& text) {
    std::string lines;
    for (const std::string& line : lumtool::ValidateWithSchema(
             text, lum::data::CFormatSchema::ProductText())) {
        lines += line + "\n";
    }
    return lines;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SchemaTest : public testing::Test {
protected:
    // A blank menu from lumtool new whose product.xml has inserted written before marker.
    fs::path BlankMenuWith(const std::string& marker, const std::string& inserted) {
        const fs::path menu = m_temp / "menu";
        EXPECT_EQ(RunTool("new " + Quote(menu), m_temp).status, 0);
        std::string product = Read(menu / "product.xml");
        const std::size_t at = product.find(marker);
        EXPECT_NE(at, std::string::npos) << marker;
        if (at != std::string::npos) product.insert(at, inserted);
        std::ofstream(menu / "product.xml", std::ios::binary) << product;
        return menu;
    }

    testsupport::TempFolder m_temp;
};

TEST_F(SchemaTest, WhatIsShippedAndWrittenValidates) {
    const fs::path demo = fs::path(DEMO_FOLDER);
    EXPECT_EQ(Validated(Read(demo / "product.xml")), "");
    EXPECT_EQ(Validated(Read(demo / ".." / "blank" / "product.xml")), "");
    EXPECT_EQ(Validated(Read(EVERYTHING_PRODUCT)), "");
    for (const std::string name : {"blank", "demo"}) {
        const fs::path folder = m_temp / name;
        ASSERT_EQ(RunTool("new " + Quote(folder) + " --template " + name, m_temp).status, 0);
        EXPECT_EQ(Validated(Read(folder / "product.xml")), "") << name;
    }
    // Translations imported write product.xml anew.
    const fs::path menu = m_temp / "demo";
    ASSERT_EQ(RunTool("translations export " + Quote(menu) + " --lang fr-fr -o " +
                          Quote(m_temp / "fr.po"),
                      m_temp)
                  .status,
              0);
    std::string po = Read(m_temp / "fr.po");
    po = std::regex_replace(po, std::regex("msgid \"Guide\"\nmsgstr \"\""),
                            "msgid \"Guide\"\nmsgstr \"Guide (fr)\"");
    std::ofstream(m_temp / "fr.po", std::ios::binary) << po;
    const CRun imported = RunTool(
        "translations import " + Quote(menu) + " " + Quote(m_temp / "fr.po") + " --lang fr-fr",
        m_temp);
    ASSERT_EQ(imported.status, 0) << imported.err;
    const std::string written = Read(menu / "product.xml");
    ASSERT_TRUE(Has(written, "Guide (fr)")) << written;
    EXPECT_EQ(Validated(written), "");
}

// One mistake at a time in the blank template's menu: the schema refuses each.
TEST_F(SchemaTest, TheSchemaRefusesEachNamingMistake) {
    const std::string blank = Read(fs::path(DEMO_FOLDER) / ".." / "blank" / "product.xml");
    const std::string action = "<action type=\"quit-program\"/>";
    ASSERT_TRUE(Has(blank, action));
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string text = blank;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return Validated(text.replace(at, from.size(), to));
    };
    EXPECT_NE(with(action, "<action type=\"send-email\"/>"), "");
    EXPECT_NE(with(action, "<action type=\"open-website\" url=\"https://example.org\"/>"), "");
    EXPECT_NE(with(action, "<action type=\"send-mail\" email=\"a@example.org\"/>"), "");
    EXPECT_NE(with(action, "<action type=\"change-page\" change-page=\"goto\"/>"), "");
    EXPECT_NE(with("type-name=\"lum-state-button-action\"", "type-name=\"lum-button\""), "");
    EXPECT_NE(with("<center x=\"320\" y=\"96\"/>", "<centre x=\"320\" y=\"96\"/>"), "");
    EXPECT_NE(with("visible=\"true\"", "visible=\"yes\""), "");
    EXPECT_NE(with("<clientsize", "<clientsize depth=\"3\""), "");
    // And a line number says where.
    EXPECT_TRUE(Has(with(action, "<action type=\"send-email\"/>"), "line ")) << "no line";
}

TEST_F(SchemaTest, NearestNamesAreTheOnesMeant) {
    const std::vector<std::wstring> attributes{L"type",    L"file",   L"params", L"folder",
                                               L"website", L"e-mail", L"page",   L"language"};
    EXPECT_EQ(lumtool::NearestName(L"url", attributes), L"website");
    EXPECT_EQ(lumtool::NearestName(L"email", attributes), L"e-mail");
    EXPECT_EQ(lumtool::NearestName(L"Email", attributes), L"e-mail");
    EXPECT_EQ(lumtool::NearestName(L"fiel", attributes), L"file");
    EXPECT_EQ(lumtool::NearestName(L"languages", attributes), L"language");
    EXPECT_EQ(lumtool::NearestName(L"colour", attributes), L"");  // its synonym is not here
    EXPECT_EQ(lumtool::NearestName(L"size", attributes), L"");
    const std::vector<std::wstring> types{L"run-file", L"open-website", L"send-mail",
                                          L"change-page", L"quit-program"};
    EXPECT_EQ(lumtool::NearestName(L"send-email", types), L"send-mail");
    EXPECT_EQ(lumtool::NearestName(L"quit", types), L"");
    const std::vector<std::wstring> tags{L"image", L"text", L"state-button", L"animation"};
    EXPECT_EQ(lumtool::NearestName(L"lum-button", tags), L"state-button");
    EXPECT_EQ(lumtool::NearestName(L"imgae", tags), L"image");
}

TEST_F(SchemaTest, CheckNamesEachMistakeWhereItIsWithWhatWasMeant) {
    const fs::path menu = m_temp / "menu";
    ASSERT_EQ(RunTool("new " + Quote(menu), m_temp).status, 0);
    std::string product = Read(menu / "product.xml");
    const auto replace = [&](const std::string& from, const std::string& to) {
        const std::size_t at = product.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        product.replace(at, from.size(), to);
    };
    replace("<action type=\"quit-program\"/>", "<action type=\"send-email\"/>");
    replace("<action type=\"run-file\" file=\"readme.txt\"/>",
            "<action type=\"open-website\" url=\"https://example.org\"/>");
    replace("</document>",
            "<state-button type-name=\"lum-state-button-action\" name=\"mail\">"
            "<centre x=\"320\" y=\"380\"/><size width=\"200\" height=\"40\"/>"
            "<action type=\"send-mail\" email=\"a@example.org\"/></state-button>"
            "<image name=\"logo\" visible=\"yes\"><center x=\"100\" y=\"100\"/>"
            "<size width=\"40\" height=\"40\"/></image>"
            "<lum-button name=\"odd\"/></document>");
    std::ofstream(menu / "product.xml", std::ios::binary) << product;
    const CRun run = RunTool("check " + Quote(menu), m_temp);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const std::vector<std::string> expected{
        "error: page 'main', state-button 'quit' at 190,292 (260\u00d744), in action: 'type' of "
        "<action> is 'send-email', which the player does not know; did you mean 'send-mail'? "
        "(it takes 'run-file', ",
        "error: page 'main', state-button 'open' at 190,228 (260\u00d744), in action: 'url' is "
        "not an attribute of <action>, so the player skips it; did you mean 'website'?",
        "error: page 'main', state-button 'open' at 190,228 (260\u00d744), in action: an "
        "open-website action needs 'website' (the address); without it the click does nothing",
        "error: page 'main', state-button 'mail' at -100,-20 (200\u00d740), in centre: <centre> is "
        "not "
        "an element the player reads in <state-button>, so it is skipped; did you mean "
        "<center>?",
        "in action: 'email' is not an attribute of <action>, so the player skips it; did you "
        "mean 'e-mail'?",
        "in action: a send-mail action needs 'e-mail' (the address); without it the click "
        "opens an empty mail",
        "error: page 'main', image 'logo' at 80,80 (40\u00d740): 'visible' of <image> is 'yes', "
        "which the player reads as 'false': only 'true' means yes",
        "error: page 'main', lum-button 'odd' centred at 0,0: <lum-button> is not an element "
        "the player reads in <document>, so it is skipped; did you mean <state-button>?",
    };
    for (const std::string& line : expected) EXPECT_TRUE(Has(run.out, line)) << line << "\n" << run.out;
    // The names are the reason; the schema's own words would only repeat them.
    EXPECT_FALSE(Has(run.out, "docs/product.rng")) << run.out;
}

TEST_F(SchemaTest, ASecondChildWhereOneIsReadIsAWarning) {
    const fs::path menu = BlankMenuWith("<action type=\"quit-program\"/>",
                                        "<action type=\"change-page\" change-page=\"go-back\"/>");
    const CRun run = RunTool("check " + Quote(menu), m_temp);
    EXPECT_TRUE(Has(run.out,
                    "warning: page 'main', state-button 'quit' at 190,292 (260\u00d744), in "
                    "action: <action> comes more than once in <state-button>; the player reads "
                    "only the first\n"))
        << run.out;
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(RunTool("check --strict " + Quote(menu), m_temp).status, 1);
}

TEST_F(SchemaTest, WhatOnlyTheSchemaRefusesIsAWarningWithItsLine) {
    // Every name is right, but a tag holds no text.
    const fs::path menu = BlankMenuWith("<attachment-richtextbuffer name=\"text/title.xml\"/>",
                                        "<tags><hint>status</hint></tags>");
    const CRun run = RunTool("check " + Quote(menu), m_temp);
    // libxml2 names the place where the schema stops taking the text: the document at least.
    EXPECT_TRUE(Has(run.out, "warning: product.xml line 5, <document>: ")) << run.out;
    EXPECT_TRUE(Has(run.out, "(the format's schema, docs/product.rng, does not take this)"))
        << run.out;
    EXPECT_FALSE(Has(run.out, "error: ")) << run.out;
    EXPECT_EQ(run.status, 0) << run.out;
}

}  // namespace
