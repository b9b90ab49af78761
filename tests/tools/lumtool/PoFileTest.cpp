// The PO reader and writer.

#include <gtest/gtest.h>

#include <string>

#include "Command.h"
#include "PoFile.h"
#include "TranslationsCommand.h"

namespace {

using lumtool::ParsePo;
using lumtool::SPoEntry;
using lumtool::WritePo;

TEST(PoFileTest, ReadsEntriesWithTheirCommentsFlagsAndContexts) {
    const std::string text =
        "# header comment\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Language: de_DE\\n\"\n"
        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "# a translator's note\n"
        "#. page 'main', element 'title'\n"
        "#: main/title main/other\n"
        "#, fuzzy, c-format\n"
        "#| msgid \"Old\"\n"
        "msgctxt \"head.main\"\n"
        "msgid \"Welcome\"\n"
        "msgstr \"Willkommen\"\n"
        "\n"
        "msgctxt \"multi\"\n"
        "msgid \"\"\n"
        "\"one\\n\"\n"
        "\"two \\\"quoted\\\" \\\\ \\t tab\"\n"
        "msgstr \"\"\n"
        "\n"
        "msgid \"apple\"\n"
        "msgid_plural \"apples\"\n"
        "msgstr[0] \"Apfel\"\n"
        "msgstr[1] \"\\303\\204pfel\"\n"
        "\n"
        "#~ msgctxt \"gone\"\n"
        "#~ msgid \"Gone\"\n"
        "#~ msgstr \"Weg\"\n";
    const std::vector<SPoEntry> entries = ParsePo(text);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_TRUE(entries[0].IsHeader());
    EXPECT_EQ(entries[0].Translation(),
              "Language: de_DE\nContent-Type: text/plain; charset=UTF-8\n");
    const SPoEntry& title = entries[1];
    EXPECT_EQ(title.line, 7);
    EXPECT_EQ(title.translatorComments, std::vector<std::string>{"a translator's note"});
    EXPECT_EQ(title.extractedComments, std::vector<std::string>{"page 'main', element 'title'"});
    EXPECT_EQ(title.references, (std::vector<std::string>{"main/title", "main/other"}));
    EXPECT_EQ(title.flags, (std::vector<std::string>{"fuzzy", "c-format"}));
    EXPECT_TRUE(title.IsFuzzy());
    EXPECT_TRUE(title.hasContext);
    EXPECT_EQ(title.context, "head.main");
    EXPECT_EQ(title.id, "Welcome");
    EXPECT_EQ(title.Translation(), "Willkommen");
    EXPECT_EQ(entries[2].id, "one\ntwo \"quoted\" \\ \t tab");
    EXPECT_EQ(entries[2].Translation(), "");
    EXPECT_FALSE(entries[2].IsFuzzy());
    EXPECT_TRUE(entries[3].hasPlural);
    EXPECT_EQ(entries[3].strings, (std::vector<std::string>{"Apfel", "\xc3\x84pfel"}));
    EXPECT_TRUE(entries[4].obsolete);
    EXPECT_EQ(entries[4].context, "gone");
}

TEST(PoFileTest, WritesWhatItReadsBack) {
    SPoEntry header;
    header.translatorComments = {"Comment"};
    header.strings = {"Language: de_DE\n"};
    SPoEntry entry;
    entry.extractedComments = {"page 'main', element 'title'"};
    entry.references = {"main/title"};
    entry.hasContext = true;
    entry.context = "head.main";
    entry.id = "Line one\nline two with \"quotes\" and \\";
    entry.strings = {"Zeile eins\nZeile zwei"};
    const std::string text = WritePo({header, entry});
    EXPECT_EQ(text,
              "# Comment\n"
              "msgid \"\"\n"
              "msgstr \"Language: de_DE\\n\"\n"
              "\n"
              "#. page 'main', element 'title'\n"
              "#: main/title\n"
              "msgctxt \"head.main\"\n"
              "msgid \"\"\n"
              "\"Line one\\n\"\n"
              "\"line two with \\\"quotes\\\" and \\\\\"\n"
              "msgstr \"\"\n"
              "\"Zeile eins\\n\"\n"
              "\"Zeile zwei\"\n");
    const auto back = ParsePo(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].id, entry.id);
    EXPECT_EQ(back[1].Translation(), entry.strings[0]);
    EXPECT_EQ(WritePo(back), text);
}

TEST(PoFileTest, TextThatIsNoPoFileNamesTheLine) {
    for (const std::string& text :
         {std::string("msgid \"a\"\nmsgstr \"b\nmore"), std::string("hello\n"),
          std::string("msgid \"a\"\n\"continued\"\nfoo \"x\"\n"), std::string("msgid \"a\"\n")}) {
        try {
            ParsePo(text);
            ADD_FAILURE() << "read: " << text;
        } catch (const lumtool::CUsageError& error) {
            EXPECT_NE(std::string(error.what()).find("line "), std::string::npos) << error.what();
        }
    }
}

TEST(PoFileTest, PluralFormsTakeTheirPlaceWhateverTheirOrder) {
    const std::vector<SPoEntry> entries = ParsePo(
        "msgctxt \"files\"\nmsgid \"one file\"\nmsgid_plural \"%d files\"\n"
        "msgstr[1] \"%d Dateien\"\nmsgstr[0] \"eine Datei\"\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Translation(), "eine Datei");
    ASSERT_EQ(entries[0].strings.size(), 2u);
    EXPECT_EQ(entries[0].strings[1], "%d Dateien");
    EXPECT_THROW(ParsePo("msgid \"a\"\nmsgstr[x] \"b\"\n"), lumtool::CUsageError);
}

TEST(PoFileTest, LanguageCodes) {
    EXPECT_EQ(lumtool::PoLanguage("de-de"), "de_DE");
    EXPECT_EQ(lumtool::PoLanguage("pt-br"), "pt_BR");
    EXPECT_EQ(lumtool::PoLanguage("fr"), "fr");
}

}  // namespace
