// The editor that changes product.xml's translations and leaves everything else as it was.

#include "DescriptionEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Command.h"

namespace {

using lumtool::CDescriptionEditor;

const std::string kDescription =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- the author's comment, with <tags> inside -->\n"
    "<product title='Odd &amp; quoted'>\n"
    "    <pages><page name=\"main\"/></pages>\n"
    "    <translations>\n"
    "        <translation id=\"a\" language=\"de-de\"   default=\"A\" translation=\"Alt\"/>\n"
    "        <translation language='de-de' id='b' default=\"B &lt;b&gt;\"/>\n"
    "        <translation id=\"a\" language=\"de-de\" translation=\"second, never used\"/>\n"
    "        <translation id=\"a\" language=\"fr-fr\" translation=\"Ancien\"></translation>\n"
    "    </translations>\n"
    "</product>\n";

TEST(DescriptionEditorTest, ChangesTheTranslationThePlayerUsesAndNothingElse) {
    CDescriptionEditor editor(kDescription);
    EXPECT_TRUE(editor.SetTranslation("a", "de-de", "A", "Neu & \"besser\""));
    EXPECT_FALSE(editor.SetTranslation("a", "de-de", "A", "Neu & \"besser\""));
    std::string expected = kDescription;
    expected.replace(expected.find("translation=\"Alt\""), 17,
                     "translation=\"Neu &amp; &quot;besser&quot;\"");
    EXPECT_EQ(editor.GetText(), expected);

    // A translation without the attribute gets one.
    EXPECT_TRUE(editor.SetTranslation("b", "de-de", "B <b>", "Zwei\nZeilen"));
    expected.replace(expected.find("default=\"B &lt;b&gt;\"/>"), 23,
                     "default=\"B &lt;b&gt;\" translation=\"Zwei&#10;Zeilen\"/>");
    EXPECT_EQ(editor.GetText(), expected);
}

TEST(DescriptionEditorTest, NewTranslationsFollowTheLastOne) {
    CDescriptionEditor editor(kDescription);
    EXPECT_TRUE(editor.SetTranslation("c", "de-de", "See", "Siehe"));
    std::string expected = kDescription;
    const std::string after = "translation=\"Ancien\"></translation>";
    expected.insert(expected.find(after) + after.size(),
                    "\n        <translation id=\"c\" language=\"de-de\" default=\"See\" "
                    "translation=\"Siehe\"/>");
    EXPECT_EQ(editor.GetText(), expected);
}

TEST(DescriptionEditorTest, RemovesEveryTranslationOfAnIdForTheLanguage) {
    CDescriptionEditor editor(kDescription);
    EXPECT_TRUE(editor.RemoveTranslation("a", "de-de"));
    EXPECT_FALSE(editor.RemoveTranslation("a", "de-de"));
    EXPECT_EQ(
        editor.GetText(),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- the author's comment, with <tags> inside -->\n"
        "<product title='Odd &amp; quoted'>\n"
        "    <pages><page name=\"main\"/></pages>\n"
        "    <translations>\n"
        "        <translation language='de-de' id='b' default=\"B &lt;b&gt;\"/>\n"
        "        <translation id=\"a\" language=\"fr-fr\" translation=\"Ancien\"></translation>\n"
        "    </translations>\n"
        "</product>\n");
}

TEST(DescriptionEditorTest, MakesTheListWhereThereIsNone) {
    CDescriptionEditor none("<product>\n  <pages/>\n</product>\n");
    EXPECT_TRUE(none.SetTranslation("a", "de-de", "A", "B"));
    EXPECT_EQ(
        none.GetText(),
        "<product>\n  <pages/>\n  <translations>\n    <translation id=\"a\" "
        "language=\"de-de\" default=\"A\" translation=\"B\"/>\n  </translations>\n</product>\n");

    CDescriptionEditor empty("<product>\n  <Translations>\n  </Translations>\n</product>");
    EXPECT_TRUE(empty.SetTranslation("a", "de-de", "A", "B"));
    EXPECT_EQ(empty.GetText(),
              "<product>\n  <Translations>\n    <translation id=\"a\" language=\"de-de\" "
              "default=\"A\" translation=\"B\"/>\n  </Translations>\n</product>");

    CDescriptionEditor closed("<product>\n  <translations/>\n</product>");
    EXPECT_TRUE(closed.SetTranslation("a", "de-de", "A", "B"));
    EXPECT_EQ(closed.GetText(),
              "<product>\n  <translations>\n    <translation id=\"a\" language=\"de-de\" "
              "default=\"A\" translation=\"B\"/>\n  </translations>\n</product>");
}

TEST(DescriptionEditorTest, TextItCannotFollowIsRefused) {
    for (const std::string& text :
         {std::string("no xml at all"), std::string("<product><pages></product>"),
          std::string("<product title=unquoted/>"), std::string("<product><!-- open")}) {
        EXPECT_THROW(CDescriptionEditor{text}, lumtool::CUsageError) << text;
    }
}

TEST(DescriptionEditorTest, ManyChangesGoInOnePassAsOneByOneWould) {
    std::vector<CDescriptionEditor::SChange> changes{
        {"a", "A", "Eins"},     // the first de-de translation of a, the second stays
        {"b", "B <b>", ""},     // removed
        {"c", "See", "Siehe"},  // new
        {"d", "Dee", "Dede"},   // new, after c
        {"c", "See", "Seh"},    // the later change of an id counts
    };
    CDescriptionEditor batch(kDescription);
    const CDescriptionEditor::SApplied applied = batch.Apply("de-de", changes);
    EXPECT_EQ(applied.written, 3u);
    EXPECT_EQ(applied.removed, 1u);
    EXPECT_EQ(batch.GetText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- the author's comment, with <tags> inside -->\n"
              "<product title='Odd &amp; quoted'>\n"
              "    <pages><page name=\"main\"/></pages>\n"
              "    <translations>\n"
              "        <translation id=\"a\" language=\"de-de\"   default=\"A\" "
              "translation=\"Eins\"/>\n"
              "        <translation id=\"a\" language=\"de-de\" translation=\"second, never "
              "used\"/>\n"
              "        <translation id=\"a\" language=\"fr-fr\" translation=\"Ancien\">"
              "</translation>\n"
              "        <translation id=\"d\" language=\"de-de\" default=\"Dee\" "
              "translation=\"Dede\"/>\n"
              "        <translation id=\"c\" language=\"de-de\" default=\"See\" "
              "translation=\"Seh\"/>\n"
              "    </translations>\n"
              "</product>\n");

    // Removing the last translations and adding others in the same pass keeps the list whole.
    CDescriptionEditor emptied(
        "<product>\n  <translations>\n    <translation id=\"x\" "
        "language=\"de-de\"/>\n  </translations>\n</product>\n");
    emptied.Apply("de-de", {{"x", "X", ""}, {"y", "Y", "Ypsilon"}});
    EXPECT_EQ(emptied.GetText(),
              "<product>\n  <translations>\n    <translation id=\"y\" language=\"de-de\" "
              "default=\"Y\" translation=\"Ypsilon\"/>\n  </translations>\n</product>\n");
}

TEST(DescriptionEditorTest, ThousandsOfChangesTakeOnePass) {
    std::string text = "<product>\n  <translations>\n";
    std::vector<CDescriptionEditor::SChange> changes;
    for (int i = 0; i < 20000; ++i) {
        const std::string id = "t" + std::to_string(i);
        if (i % 2 == 0) {
            text += "    <translation id=\"" + id + "\" language=\"de-de\" translation=\"old\"/>\n";
        }
        changes.push_back({id, "English " + id, "Deutsch " + id});
    }
    text += "  </translations>\n</product>\n";
    CDescriptionEditor editor(text);
    // One scan for all: one by one, this many would take minutes.
    const CDescriptionEditor::SApplied applied = editor.Apply("de-de", changes);
    EXPECT_EQ(applied.written, 20000u);
    EXPECT_EQ(editor.GetText().find("\"old\""), std::string::npos);
    EXPECT_NE(editor.GetText().find("translation=\"Deutsch t19999\"/>\n  </translations>"),
              std::string::npos);
}

TEST(DescriptionEditorTest, AnAsciiFileGetsCharacterReferences) {
    CDescriptionEditor editor(
        "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<product>\n"
        "  <pages/>\n</product>\n");
    editor.SetAsciiOnly(true);
    editor.SetTranslation("a", "de-de", "Greetings \xe2\x80\x94",
                          "Gr\xc3\xbc\xc3\x9f\x65 \xf0\x9f\x98\x80");
    EXPECT_NE(editor.GetText().find("default=\"Greetings &#x2014;\" "
                                    "translation=\"Gr&#xfc;&#xdf;e &#x1f600;\""),
              std::string::npos)
        << editor.GetText();
}

}  // namespace
