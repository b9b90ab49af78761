// "lumtool translations export" and "import" through the real binary, on the demo template:
// msgfmt accepts the export, an edited file comes back in product.xml and nowhere else, and an
// export of the result reproduces the edited file.

#include <gtest/gtest.h>
#include <wx/image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

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

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Replaces the msgstr of the entry with that msgctxt (a one-line msgstr).
std::string SetMsgstr(std::string po, const std::string& context, const std::string& text) {
    const std::size_t entry = po.find("msgctxt \"" + context + "\"\n");
    EXPECT_NE(entry, std::string::npos) << context;
    const std::size_t line = po.find("msgstr \"", entry);
    const std::size_t end = po.find('\n', line);
    return po.replace(line, end - line, "msgstr \"" + text + "\"");
}

// The text without the header's date lines.
std::string WithoutDates(const std::string& po) {
    static const std::regex dates("\"(POT-Creation|PO-Revision)-Date: [^\"]*\"\n");
    return std::regex_replace(po, dates, "");
}

class TranslationsTest : public testing::Test {
protected:
    void SetUp() override {
        graphics::InstallPictureHandlers();
        m_menu = m_temp / "demo";
        ASSERT_EQ(RunTool("new " + Quote(m_menu) + " --template demo", m_temp).status, 0);
    }

    std::string Export(const fs::path& content, const std::string& language, const fs::path& po) {
        const CRun run = RunTool(
            "translations export " + Quote(content) + " --lang " + language + " -o " + Quote(po),
            m_temp);
        EXPECT_EQ(run.status, 0) << run.err;
        return Read(po);
    }

    CRun Import(const fs::path& po, const std::string& language = "de-de") {
        return RunTool(
            "translations import " + Quote(m_menu) + " " + Quote(po) + " --lang " + language,
            m_temp);
    }

    testsupport::TempFolder m_temp;
    fs::path m_menu;
};

TEST_F(TranslationsTest, TheExportHoldsEveryTextAndMsgfmtAcceptsIt) {
    const std::string po = Export(m_menu, "de-de", m_temp / "de.po");
    const std::string check = "msgfmt -c -o /dev/null " + Quote(m_temp / "de.po") + " 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0) << po;
    // A page title, an element's text and a button label, with where they are shown.
    EXPECT_TRUE(Has(po,
                    "#. page 'guide', its title\n#: guide\nmsgctxt \"page.guide\"\n"
                    "msgid \"Guide\"\nmsgstr \"Anleitung\"\n"))
        << po;
    EXPECT_TRUE(Has(po,
                    "#. page 'guide', element 'title'\n#: guide/title\n"
                    "msgctxt \"head.guide\"\nmsgid \"Guide\"\nmsgstr \"Anleitung\"\n"))
        << po;
    EXPECT_TRUE(Has(po,
                    "#. page 'guide', element 'back'\n#. page 'showcase', element 'back'\n"
                    "#: guide/back showcase/back\nmsgctxt \"btn.back\"\nmsgid \"Back\"\n"))
        << po;
    // The descriptions buttons show as tooltips, asked for by the program's own keys.
    EXPECT_TRUE(
        Has(po, "msgctxt \"lumCAction.GotoPageX\"\nmsgid \"Goto page '%PAGE%'\"\nmsgstr \"\"\n"))
        << po;
    EXPECT_TRUE(Has(po, "\"Language: de_DE\\n\"")) << po;
    // The menu's own texts in English need no translation into English.
    const std::string english = Export(m_menu, "en-us", m_temp / "en.po");
    EXPECT_TRUE(Has(english, "msgctxt \"head.guide\"\nmsgid \"Guide\"\nmsgstr \"Guide\"\n"))
        << english;

    // The packed file exports the same texts.
    ASSERT_EQ(RunTool("pack " + Quote(m_menu) + " -o " + Quote(m_temp / "demo.lum"), m_temp).status,
              0);
    EXPECT_EQ(WithoutDates(Export(m_temp / "demo.lum", "de-de", m_temp / "packed.po")),
              WithoutDates(po));
}

TEST_F(TranslationsTest, AnEditedFileComesBackInProductXmlAndNowhereElse) {
    const std::string exported = Export(m_menu, "de-de", m_temp / "de.po");
    std::string edited = SetMsgstr(exported, "btn.guide", "Zur Anleitung");
    edited = SetMsgstr(edited, "page.guide", "Leitfaden \\\"neu\\\" & mehr");
    edited = SetMsgstr(edited, "lumCAction.GotoPageX", "Gehe zu Seite '%PAGE%'");
    Write(m_temp / "edited.po", edited);

    const std::string before = Read(m_menu / "product.xml");
    const CRun run = Import(m_temp / "edited.po");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Has(run.out, "3 translations written into")) << run.out;

    // Two attribute values changed in place, one translation added after the last one.
    std::string expected = before;
    const auto replace = [&](const std::string& from, const std::string& to) {
        const std::size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace(
        "<translation id=\"btn.guide\" language=\"de-de\" default=\"Read the guide\" "
        "translation=\"Anleitung lesen\"/>",
        "<translation id=\"btn.guide\" language=\"de-de\" default=\"Read the guide\" "
        "translation=\"Zur Anleitung\"/>");
    replace(
        "<translation id=\"page.guide\" language=\"de-de\" default=\"Guide\" "
        "translation=\"Anleitung\"/>",
        "<translation id=\"page.guide\" language=\"de-de\" default=\"Guide\" "
        "translation=\"Leitfaden &quot;neu&quot; &amp; mehr\"/>");
    const std::size_t last = expected.rfind("/>\n  </translations>");
    ASSERT_NE(last, std::string::npos);
    expected.insert(last + 2,
                    "\n    <translation id=\"lumCAction.GotoPageX\" language=\"de-de\" "
                    "default=\"Goto page '%PAGE%'\" translation=\"Gehe zu Seite "
                    "'%PAGE%'\"/>");
    EXPECT_EQ(Read(m_menu / "product.xml"), expected);

    // The export of the result is the edited file.
    EXPECT_EQ(WithoutDates(Export(m_menu, "de-de", m_temp / "again.po")), WithoutDates(edited));
    EXPECT_EQ(RunTool("check " + Quote(m_menu), m_temp).status, 0);
    // And importing it again changes nothing.
    const CRun again = Import(m_temp / "edited.po");
    EXPECT_TRUE(Has(again.out, "0 translations written")) << again.out;
    EXPECT_EQ(Read(m_menu / "product.xml"), expected);
}

TEST_F(TranslationsTest, FuzzyEntriesAreSkippedWithAWarningAndEmptyOnesRemoveTheTranslation) {
    const std::string exported = Export(m_menu, "de-de", m_temp / "de.po");
    std::string edited = SetMsgstr(exported, "btn.home", "Nach Hause");
    const std::size_t entry = edited.find("msgctxt \"btn.home\"");
    edited.insert(entry, "#, fuzzy\n");
    edited = SetMsgstr(edited, "btn.next", "");
    Write(m_temp / "edited.po", edited);
    const std::string before = Read(m_menu / "product.xml");
    const CRun run = Import(m_temp / "edited.po");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "lumtool: warning: ")) << run.err;
    EXPECT_TRUE(Has(run.err, "'btn.home' is marked fuzzy")) << run.err;
    EXPECT_TRUE(Has(run.out, "0 translations written, 1 removed")) << run.out;
    EXPECT_TRUE(Has(run.out, "1 fuzzy entry skipped")) << run.out;
    const std::string after = Read(m_menu / "product.xml");
    EXPECT_FALSE(Has(after, "Nach Hause"));
    EXPECT_TRUE(Has(before, "id=\"btn.next\" language=\"de-de\""));
    EXPECT_FALSE(Has(after, "id=\"btn.next\" language=\"de-de\""));
    EXPECT_TRUE(Has(after, "id=\"btn.next\" language=\"en-us\""));
    // Untranslated, it stays untranslated.
    const std::string po = Export(m_menu, "de-de", m_temp / "after.po");
    EXPECT_TRUE(Has(po, "msgctxt \"btn.next\"\nmsgid \"Next\"\nmsgstr \"\"\n")) << po;
}

TEST_F(TranslationsTest, ANewLanguageGetsItsOwnTranslations) {
    std::string po = Export(m_menu, "fr-fr", m_temp / "fr.po");
    EXPECT_TRUE(Has(po, "msgctxt \"btn.guide\"\nmsgid \"Read the guide\"\nmsgstr \"\"\n")) << po;
    po = SetMsgstr(po, "btn.guide", "Lire le guide");
    Write(m_temp / "fr.po", po);
    const CRun run = Import(m_temp / "fr.po", "fr-fr");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(Read(m_menu / "product.xml"),
                    "<translation id=\"btn.guide\" language=\"fr-fr\" default=\"Read the guide\" "
                    "translation=\"Lire le guide\"/>"));
    // Rendered in French, the button says so; in English it does not.
    const auto render = [&](const std::string& language, const std::string& name) {
        const fs::path picture = m_temp / name;
        const CRun painted =
            RunTool("render " + Quote(m_menu) + " --language " + language + " -o " + Quote(picture),
                    m_temp);
        EXPECT_EQ(painted.status, 0) << painted.err;
        return wxImage(wxString(picture.string()), wxBITMAP_TYPE_PNG);
    };
    const wxImage french = render("fr-fr", "fr.png");
    const wxImage english = render("en-us", "en.png");
    ASSERT_TRUE(french.IsOk() && english.IsOk());
    const std::size_t bytes =
        static_cast<std::size_t>(english.GetWidth()) * english.GetHeight() * 3;
    EXPECT_FALSE(std::equal(english.GetData(), english.GetData() + bytes, french.GetData()));
}

TEST_F(TranslationsTest, AnEntryThatCannotBeImportedIsNamedAndSkippedAndTheRestGoIn) {
    std::string po = Export(m_menu, "de-de", m_temp / "de.po");
    po = SetMsgstr(po, "btn.guide", "Zum Handbuch");
    // A translator's tool wrote a control character into one text id and another charset
    // spelling into the header.
    po.replace(po.find("charset=UTF-8"), 13, "charset=utf8 ");
    po += "\nmsgctxt \"bad\\x01id\"\nmsgid \"Bad\"\nmsgstr \"Schlecht\"\n";
    po += "\nmsgctxt \"bad.text\"\nmsgid \"Bad\"\nmsgstr \"Sch\xffn\"\n";
    Write(m_temp / "de.po", po);
    const CRun run = Import(m_temp / "de.po");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "the msgctxt of 'bad\\x01id' holds control characters")) << run.err;
    EXPECT_TRUE(Has(run.err, "the translation of 'bad.text' is not UTF-8")) << run.err;
    EXPECT_TRUE(Has(run.out, "1 translation written")) << run.out;
    EXPECT_TRUE(Has(Read(m_menu / "product.xml"), "translation=\"Zum Handbuch\""));
}

TEST_F(TranslationsTest, BadInputIsRefusedInOneLine) {
    Write(m_temp / "bad.po", "msgid \"a\"\nmsgstr \"b\nmore\n");
    CRun run = Import(m_temp / "bad.po");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "line 2 of the PO file")) << run.err;
    run = RunTool("translations import " + Quote(m_temp / "none") + " " + Quote(m_temp / "bad.po") +
                      " --lang de-de",
                  m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "is not a folder")) << run.err;
    run = RunTool("translations export " + Quote(m_menu) + " --lang de_DE -o x.po", m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "is not a language code as menus write them")) << run.err;
    run = RunTool("translations export " + Quote(m_menu) + " -o x.po", m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "--lang")) << run.err;
    Write(m_temp / "noctx.po", "msgid \"Back\"\nmsgstr \"Zur\\u00fcck\"\n");
    run = Import(m_temp / "noctx.po");
    EXPECT_EQ(run.status, 2) << run.out;  // \u is no PO escape
    Write(m_temp / "noctx.po",
          "msgid \"Back\"\nmsgstr \"Zur\xc3\xbc"
          "ck\"\n");
    run = Import(m_temp / "noctx.po");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "has no msgctxt")) << run.err;
}

}  // namespace
