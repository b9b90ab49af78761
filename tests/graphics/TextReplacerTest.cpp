#include <gtest/gtest.h>

#include <wx/mstream.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementTextReplacer.h"
#include "graphics/GraphicElementTextTranslator.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/GraphicTable.h"
#include "graphics/GraphicText.h"
#include "graphics/RichText.h"

namespace {

using namespace graphics;

// A buffer with one paragraph of the given runs (an empty run included when asked).
std::unique_ptr<wxRichTextBuffer> Runs(std::initializer_list<const wchar_t*> runs) {
    auto buffer = NewRichTextBuffer();
    auto* paragraph = new wxRichTextParagraph(buffer.get());
    for (const wchar_t* run : runs) {
        paragraph->AppendChild(new wxRichTextPlainText(run, paragraph));
    }
    buffer->AppendChild(paragraph);
    buffer->UpdateRanges();
    return buffer;
}

std::vector<std::wstring> RunTexts(const wxRichTextBuffer& buffer) {
    std::vector<std::wstring> texts;
    for (wxRichTextObject* child : buffer.GetChildren()) {
        auto* paragraph = dynamic_cast<wxRichTextParagraph*>(child);
        if (!paragraph) continue;
        for (wxRichTextObject* item : paragraph->GetChildren()) {
            if (auto* run = dynamic_cast<wxRichTextPlainText*>(item)) {
                texts.push_back(run->GetText().ToStdWstring());
            }
        }
    }
    return texts;
}

tarn::P<CGraphicText> Text(std::unique_ptr<wxRichTextBuffer> buffer) {
    auto text = tarn::Cast<CGraphicText>(NewInstance(GRAPHIC_TEXT));
    text->SetBuffer(std::move(buffer));
    return text;
}

TEST(TextReplacerTest, ReplaceTextAppliesPairsInOrder) {
    CGraphicElementTextReplacer replacer;
    replacer.AddReplacement(L"$breadcrumb", L"Home > $page");
    EXPECT_EQ(replacer.ReplaceText(L"[$breadcrumb] and [$breadcrumb]"),
              L"[Home > $page] and [Home > $page]");
    replacer.AddReplacement(L"$page", L"Docs");
    EXPECT_EQ(replacer.ReplaceText(L"$breadcrumb"), L"Home > Docs");
    replacer.AddReplacement(L"", L"never");
    EXPECT_EQ(replacer.ReplaceText(L"plain"), L"plain");

    CGraphicElementTextReplacer whole;
    whole.AddReplacement(L"*", L"everything");
    EXPECT_EQ(whole.ReplaceText(L"whatever it was"), L"everything");
    EXPECT_EQ(whole.ReplaceText(L""), L"everything");
}

TEST(TextReplacerTest, ApplyRewritesBuffersCellsAndLabels) {
    CGraphicElementTextReplacer replacer;
    replacer.AddReplacement(L"$breadcrumb", L"A/B");

    auto text = Text(Runs({L"Path: ", L"", L"$breadcrumb"}));
    text->SetName(L"old");
    EXPECT_TRUE(replacer.Apply(*text));
    EXPECT_EQ(RunTexts(*text->GetBuffer()), (std::vector<std::wstring>{L"Path: ", L"", L"A/B"}));
    EXPECT_TRUE(text->GetBuffer()->IsModified());
    EXPECT_TRUE(text->GetBuffer()->IsDirty());
    EXPECT_EQ(text->GetName(), L"Path: A/B");
    EXPECT_FALSE(replacer.Apply(*text));  // nothing left to replace

    // The changed buffer is laid out and painted afresh.
    testsupport::CCanvas canvas(100, 40);
    text->SetCenter({50, 20});
    text->SetSize({100, 40});
    canvas.Paint(*text);
    EXPECT_EQ(text->GetLayoutCount(), 1);

    auto table = tarn::Cast<CGraphicTable>(NewInstance(GRAPHIC_TABLE));
    table->AddRow(10);
    table->AddRow(10);
    table->AddCol(20);
    table->FillCells();
    table->GetCell(0, 1)->SetBuffer(Runs({L"at $breadcrumb"}));
    EXPECT_TRUE(replacer.Apply(*table));
    EXPECT_EQ(RunTexts(*table->GetCell(0, 1)->GetBuffer()), (std::vector<std::wstring>{L"at A/B"}));

    auto button = tarn::Cast<CGraphicStateButton>(NewInstance(GRAPHIC_STATE_BUTTON));
    button->SetLabel(L"");  // a new button has a label of its own
    EXPECT_FALSE(replacer.Apply(*button));
    EXPECT_EQ(button->GetLabel(), L"");
    CGraphicElementTextReplacer star;
    star.AddReplacement(L"*", L"All");
    EXPECT_FALSE(star.Apply(*button));  // an empty label stays empty
    EXPECT_EQ(button->GetLabel(), L"");
    button->SetLabel(L"Go $breadcrumb");
    EXPECT_TRUE(replacer.Apply(*button));
    EXPECT_EQ(button->GetLabel(), L"Go A/B");

    auto rectangle = NewInstance(GRAPHIC_RECTANGLE);
    EXPECT_FALSE(star.Apply(*rectangle));
    auto empty = Text(nullptr);
    EXPECT_FALSE(star.Apply(*empty));
}

// A rich text read as the player reads it; paragraphs holds what stands in the layout.
std::unique_ptr<wxRichTextBuffer> Loaded(const std::string& paragraphs) {
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<richtext version=\"1.0.0.0\" xmlns=\"http://www.wxwidgets.org\">"
        "<paragraphlayout fontpointsize=\"10\">" +
        paragraphs + "</paragraphlayout></richtext>";
    wxMemoryInputStream in(xml.data(), xml.size());
    return LoadRichTextXml(in);
}

// A status line left blank, written without words or with only spaces (which XML drops),
// shows the hint as any other does.
TEST(TextReplacerTest, ABlankTextTakesTheWholeReplacement) {
    CGraphicElementTextReplacer star;
    star.AddReplacement(L"*", L"Quit program");
    CGraphicElementTextReplacer none;
    none.AddReplacement(L"*", L"...");
    for (const char* blank : {"<paragraph><text></text></paragraph>",
                              "<paragraph><text>   </text></paragraph>", "<paragraph/>", ""}) {
        auto text = Text(Loaded(blank));
        ASSERT_TRUE(text->GetBuffer()) << blank;
        ASSERT_EQ(text->GetBuffer()->GetText(), "") << blank;
        EXPECT_TRUE(star.Apply(*text)) << blank;
        EXPECT_EQ(RunTexts(*text->GetBuffer()), (std::vector<std::wstring>{L"Quit program"}))
            << blank;
        EXPECT_EQ(text->GetName(), L"Quit program") << blank;
        EXPECT_TRUE(none.Apply(*text)) << blank;
        EXPECT_EQ(text->GetBuffer()->GetText(), "...") << blank;
    }

    // The blank run keeps its look.
    auto bold = Text(Loaded("<paragraph><text fontweight=\"700\"></text></paragraph>"));
    EXPECT_TRUE(star.Apply(*bold));
    const wxRichTextParagraph* paragraph = bold->GetBuffer()->GetParagraphAtLine(0);
    ASSERT_TRUE(paragraph);
    const auto* run =
        dynamic_cast<wxRichTextPlainText*>(paragraph->GetChildren().GetFirst()->GetData());
    ASSERT_TRUE(run);
    EXPECT_EQ(run->GetText(), "Quit program");
    EXPECT_EQ(run->GetAttributes().GetFontWeight(), wxFONTWEIGHT_BOLD);

    // Words elsewhere in the text take the replacement; a blank paragraph beside them stays.
    auto worded = Text(Loaded("<paragraph><text>Hint</text></paragraph><paragraph/>"));
    EXPECT_TRUE(star.Apply(*worded));
    EXPECT_EQ(worded->GetBuffer()->GetText(), "Quit program\n");
    // A placeholder finds nothing to replace in a blank text.
    CGraphicElementTextReplacer placeholder;
    placeholder.AddReplacement(L"$breadcrumb", L"A/B");
    auto blank = Text(Loaded("<paragraph><text></text></paragraph>"));
    EXPECT_FALSE(placeholder.Apply(*blank));
    EXPECT_EQ(blank->GetBuffer()->GetText(), "");
}

TEST(TextTranslatorTest, TranslatesElementsWithATextId) {
    auto localizer = tarn::New<tarn::CStringLocalizer>();
    localizer->Set(L"greeting", L"Hallo Welt");
    localizer->Set(L"go", L"Los");
    CGraphicElementTextTranslator translator(localizer);

    CGraphicDocument document;
    auto text = Text(Runs({L"Hello world"}));
    text->SetTextId(L"greeting");
    auto untouched = Text(Runs({L"Hello world"}));
    untouched->SetContentId(L"greeting");  // a content id alone does not count
    auto unknown = Text(Runs({L"Stays"}));
    unknown->SetTextId(L"no-such-id");
    unknown->SetName(L"kept");
    auto button = tarn::Cast<CGraphicStateButton>(NewInstance(GRAPHIC_STATE_BUTTON));
    button->SetLabel(L"");  // a new button has a label of its own
    button->SetTextId(L"go");
    button->SetLabel(L"Go");
    auto silent = tarn::Cast<CGraphicStateButton>(NewInstance(GRAPHIC_STATE_BUTTON));
    silent->SetLabel(L"");
    silent->SetTextId(L"go");
    for (const auto& element : {tarn::P<CGraphicElement>(text), tarn::P<CGraphicElement>(untouched),
                                tarn::P<CGraphicElement>(unknown), tarn::P<CGraphicElement>(button),
                                tarn::P<CGraphicElement>(silent)}) {
        document.Add(element);
    }
    translator.TranslateAll(document);

    EXPECT_EQ(RunTexts(*text->GetBuffer()), (std::vector<std::wstring>{L"Hallo Welt"}));
    EXPECT_EQ(text->GetName(), L"Hallo Welt");
    EXPECT_EQ(RunTexts(*untouched->GetBuffer()), (std::vector<std::wstring>{L"Hello world"}));
    EXPECT_EQ(RunTexts(*unknown->GetBuffer()), (std::vector<std::wstring>{L"Stays"}));
    EXPECT_EQ(unknown->GetName(), L"kept");
    EXPECT_EQ(button->GetLabel(), L"Los");
    EXPECT_EQ(silent->GetLabel(), L"");
}

}  // namespace
