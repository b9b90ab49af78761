#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Command.h"
#include "LangpackSource.h"
#include "TempFolder.h"
#include "ToolRun.h"

namespace {

using lumtool::TPackTexts;

using lumtooltest::RunTool;

TEST(LangpackSourceTest, KeyTextLines) {
    const TPackTexts texts = lumtool::ParseKeyTextSource(
        "# a comment\n"
        "\n"
        "lumCAction.RunFile = Datei \xc3\xb6" "ffnen\r\n"
        "two.lines=first\\nsecond\\tend\\\\\n"
        "  # indented comment\n"
        "with.equals=a=b\n"
        "lumCAction.RunFile=later wins\n"
        "empty.text=\n");
    EXPECT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts.at(L"lumCAction.RunFile"), L"later wins");
    EXPECT_EQ(texts.at(L"two.lines"), L"first\nsecond\tend\\");
    EXPECT_EQ(texts.at(L"with.equals"), L"a=b");
    EXPECT_EQ(texts.at(L"empty.text"), L"");
    EXPECT_EQ(lumtool::ParseKeyTextSource("k= Datei \xc3\xb6")[L"k"], L" Datei \u00f6");
    // A byte-order mark is not part of the first key.
    EXPECT_EQ(lumtool::ParseKeyTextSource("\xEF\xBB\xBF" "first=1\n").count(L"first"), 1u);
}

TEST(LangpackSourceTest, MalformedKeyTextLinesNameTheirLine) {
    const auto messageOf = [](const std::string& content) -> std::string {
        try {
            lumtool::ParseKeyTextSource(content);
        } catch (const lumtool::CUsageError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(messageOf("a=1\nno equals sign\n"), "line 2: expected key=text");
    EXPECT_EQ(messageOf("=text\n"), "line 1: empty key");
    EXPECT_EQ(messageOf("a=bad \\q escape\n"), "line 1: unknown escape \\q");
    EXPECT_EQ(messageOf("a=ends with \\"), "line 1: text ends with a lone \\");
}

TEST(LangpackSourceTest, PoFiles) {
    const TPackTexts texts = lumtool::ParsePoSource(
        "# header\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "#: src/a.cpp:1\n"
        "msgid \"id:Cancel\"\n"
        "msgstr \"Abbrechen\"\n"
        "\n"
        "msgid \"multi\"\n"
        "\"line\"\n"
        "msgstr \"\"\n"
        "\"zwei \\\"Zeilen\\\"\\n\"\n"
        "\"fertig\"\n"
        "\n"
        "#, fuzzy\n"
        "msgid \"fuzzy.one\"\n"
        "msgstr \"unsicher\"\n"
        "\n"
        "msgid \"untranslated\"\n"
        "msgstr \"\"\n"
        "\n"
        "msgid \"file\"\n"
        "msgid_plural \"files\"\n"
        "msgstr[0] \"Datei\"\n"
        "msgstr[1] \"Dateien\"\n");
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.at(L"id:Cancel"), L"Abbrechen");
    EXPECT_EQ(texts.at(L"multiline"), L"zwei \"Zeilen\"\nfertig");
    EXPECT_EQ(texts.at(L"file"), L"Datei");
    EXPECT_THROW(lumtool::ParsePoSource("msgid \"a\"\nwhat is this\n"), lumtool::CUsageError);
}

TEST(LumtoolLangpackTest, BuildThenDumpShowsTheSameEntries) {
    testsupport::TempFolder folder;
    folder.Write("de.txt",
                 "lum.CMainFrame.ActionNoValid=Diese Aktion ist ung\xc3\xbcltig.\n"
                 "graphics.CView.ZoomPlus=Vergr\xc3\xb6\xc3\x9f" "ern\n"
                 "multi=eins\\nzwei\n"
                 "id:Cancel=Abbrechen\n");
    const std::string pack = (folder / "quellbrook-de.zvtLang").string();
    const lumtooltest::CRun build = RunTool("langpack build '" + (folder / "de.txt").string() + "' -o '" + pack +
                                   "' --lang de-de --app quellbrook --comment 'Deutsch, bitte'",
                               folder);
    ASSERT_EQ(build.status, 0) << build.err;
    const lumtooltest::CRun dump = RunTool("langpack dump '" + pack + "'", folder);
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out,
              "language: de-de\n"
              "language name: German\n"
              "country name: Germany\n"
              "application: quellbrook\n"
              "comment: Deutsch, bitte\n"
              "version: 0\n"
              "entries: 4\n"
              "graphics.CView.ZoomPlus=Vergr\xc3\xb6\xc3\x9f" "ern\n"
              "id:Cancel=Abbrechen\n"
              "lum.CMainFrame.ActionNoValid=Diese Aktion ist ung\xc3\xbcltig.\n"
              "multi=eins\\nzwei\n");
}

TEST(LumtoolLangpackTest, BadInputGivesOneLineAndStatusTwo) {
    testsupport::TempFolder folder;
    folder.Write("good.txt", "a=b\n");
    const std::string pack = (folder / "p.zvtLang").string();
    ASSERT_EQ(RunTool("langpack build '" + (folder / "good.txt").string() + "' -o '" + pack +
                          "' --lang en --app x",
                      folder).status, 0);
    std::ifstream in(pack, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    folder.Write("cut.zvtLang", bytes.substr(0, bytes.size() / 2));
    folder.Write("foreign.zvtLang", "PK\x03\x04 not a language pack, a zip perhaps");

    for (const std::string& arguments :
         {"langpack dump '" + (folder / "missing.zvtLang").string() + "'",
          "langpack dump '" + (folder / "cut.zvtLang").string() + "'",
          "langpack dump '" + (folder / "foreign.zvtLang").string() + "'",
          "langpack build '" + (folder / "missing.txt").string() + "' -o x --lang en --app y",
          "langpack build '" + (folder / "good.txt").string() + "' --lang en --app y",
          std::string("langpack frobnicate"), std::string("nosuchcommand")}) {
        const lumtooltest::CRun run = RunTool(arguments, folder);
        EXPECT_EQ(run.status, lumtool::kExitBadInput) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
        EXPECT_EQ(run.err.rfind("lumtool: ", 0), 0u) << run.err;
    }
    const lumtooltest::CRun help = RunTool("langpack --help", folder);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: lumtool langpack build"), std::string::npos);
}

}  // namespace
