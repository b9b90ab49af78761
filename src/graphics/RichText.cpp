#include "graphics/RichText.h"

#include <wx/log.h>
#include <wx/richtext/richtextxml.h>

#include "graphics/QuietAsserts.h"
#include "graphics/XmlReader.h"

namespace graphics {
namespace {

wxRichTextAttr NormalAttr() {
    wxRichTextAttr attr;
    attr.SetFontFaceName("Arial");
    attr.SetFontSize(10);
    attr.SetFontStyle(wxFONTSTYLE_NORMAL);
    attr.SetFontWeight(wxFONTWEIGHT_NORMAL);
    attr.SetFontUnderlined(false);
    attr.SetAlignment(wxTEXT_ALIGNMENT_LEFT);
    attr.SetLineSpacing(wxTEXT_ATTR_LINE_SPACING_NORMAL);
    attr.SetTextColour(*wxBLACK);
    return attr;
}

void AddParagraphStyle(wxRichTextStyleSheet& sheet, const wxString& name,
                       const wxRichTextAttr& attr) {
    auto* style = new wxRichTextParagraphStyleDefinition(name);
    style->SetStyle(attr);
    style->SetNextStyle(name);
    sheet.AddParagraphStyle(style);
}

void AddCharacterStyle(wxRichTextStyleSheet& sheet, const wxString& name,
                       const wxRichTextAttr& attr) {
    auto* style = new wxRichTextCharacterStyleDefinition(name);
    style->SetStyle(attr);
    sheet.AddCharacterStyle(style);
}

void AddListStyle(wxRichTextStyleSheet& sheet, const wxString& name, int bulletStyle,
                  const wxString& firstBullet, const wxString& secondBullet) {
    auto* list = new wxRichTextListStyleDefinition(name);
    for (int level = 0; level < 10; ++level) {
        const int indent = 60 * (level + 1);
        if (bulletStyle & wxTEXT_ATTR_BULLET_STYLE_STANDARD) {
            list->SetAttributes(level, indent, 60, bulletStyle,
                                level % 2 == 0 ? firstBullet : secondBullet);
        } else {
            list->SetAttributes(level, indent, 60, bulletStyle);
        }
    }
    sheet.AddListStyle(list);
}

wxRichTextStyleSheet* BuildStyleSheet() {
    auto* sheet = new wxRichTextStyleSheet;
    const wxRichTextAttr normal = NormalAttr();
    AddParagraphStyle(*sheet, "Normal", normal);

    wxRichTextAttr indented = normal;
    indented.SetLeftIndent(100, 0);
    AddParagraphStyle(*sheet, "Indented", indented);

    wxRichTextAttr redBoldIndented = indented;
    redBoldIndented.SetTextColour(*wxRED);
    redBoldIndented.SetFontWeight(wxFONTWEIGHT_BOLD);
    AddParagraphStyle(*sheet, "Red Bold Indented", redBoldIndented);

    wxRichTextAttr firstLine = normal;
    firstLine.SetLeftIndent(100, -100);
    AddParagraphStyle(*sheet, "First Line Indented", firstLine);

    wxRichTextAttr bold;
    bold.SetFontWeight(wxFONTWEIGHT_BOLD);
    AddCharacterStyle(*sheet, "Bold", bold);
    wxRichTextAttr italic;
    italic.SetFontStyle(wxFONTSTYLE_ITALIC);
    AddCharacterStyle(*sheet, "Italic", italic);
    wxRichTextAttr redBold = bold;
    redBold.SetTextColour(*wxRED);
    AddCharacterStyle(*sheet, "Red Bold", redBold);

    AddListStyle(*sheet, "Bullet List 1", wxTEXT_ATTR_BULLET_STYLE_STANDARD, "standard/circle",
                 "standard/square");
    AddListStyle(*sheet, "Numbered List 1",
                 wxTEXT_ATTR_BULLET_STYLE_ARABIC | wxTEXT_ATTR_BULLET_STYLE_PERIOD, {}, {});
    AddListStyle(*sheet, "Outline List 1", wxTEXT_ATTR_BULLET_STYLE_OUTLINE, {}, {});
    return sheet;
}

// The toolkit narrows a paragraph that fits on one line to the width of its text unless the
// paragraph itself says centred or right; an alignment it takes from the whole text (the
// paragraph layout's, as the templates write it) is then applied within that narrow box, and
// the line stands at the left while wrapped lines of the same text are centred. Giving such
// paragraphs the alignment they inherit keeps every line where the alignment puts it.
void InheritAlignment(wxRichTextBuffer& buffer) {
    const wxRichTextAttr& whole = buffer.GetBasicStyle();
    if (!whole.HasAlignment()) return;
    const wxTextAttrAlignment alignment = whole.GetAlignment();
    if (alignment != wxTEXT_ALIGNMENT_CENTRE && alignment != wxTEXT_ALIGNMENT_RIGHT) return;
    for (wxRichTextObject* child : buffer.GetChildren()) {
        auto* paragraph = dynamic_cast<wxRichTextParagraph*>(child);
        if (!paragraph || paragraph->GetAttributes().HasAlignment()) continue;
        paragraph->GetAttributes().SetAlignment(alignment);
    }
}

wxRichTextPlainText* FirstRun(wxRichTextParagraph& paragraph) {
    for (wxRichTextObject* item : paragraph.GetChildren()) {
        if (auto* run = dynamic_cast<wxRichTextPlainText*>(item)) return run;
    }
    return nullptr;
}

bool HasWords(const wxRichTextBuffer& buffer) {
    for (wxRichTextObject* child : buffer.GetChildren()) {
        auto* paragraph = dynamic_cast<wxRichTextParagraph*>(child);
        if (!paragraph) continue;
        for (wxRichTextObject* item : paragraph->GetChildren()) {
            auto* run = dynamic_cast<wxRichTextPlainText*>(item);
            if (run && !run->GetText().empty()) return true;
        }
    }
    return false;
}

bool RewriteWords(wxRichTextBuffer& buffer,
                  const std::function<std::wstring(const std::wstring&)>& rewrite) {
    bool changed = false;
    for (wxRichTextObject* child : buffer.GetChildren()) {
        auto* paragraph = dynamic_cast<wxRichTextParagraph*>(child);
        if (!paragraph) continue;
        bool paragraphChanged = false;
        for (wxRichTextObject* item : paragraph->GetChildren()) {
            auto* run = dynamic_cast<wxRichTextPlainText*>(item);
            if (!run || run->GetText().empty()) continue;
            const std::wstring before = run->GetText().ToStdWstring();
            const std::wstring after = rewrite(before);
            if (after == before) continue;
            run->SetText(after);
            paragraphChanged = true;
        }
        if (!paragraphChanged) continue;
        paragraph->ClearLines();
        changed = true;
    }
    return changed;
}

// The blank text's first run (with its look) takes the text; one is made where none is.
bool RewriteBlank(wxRichTextBuffer& buffer,
                  const std::function<std::wstring(const std::wstring&)>& rewrite) {
    const std::wstring text = rewrite(std::wstring());
    if (text.empty()) return false;
    wxRichTextParagraph* paragraph = nullptr;
    for (wxRichTextObject* child : buffer.GetChildren()) {
        paragraph = dynamic_cast<wxRichTextParagraph*>(child);
        if (paragraph) break;
    }
    if (!paragraph) {
        buffer.AddParagraph(text);
        return true;
    }
    if (wxRichTextPlainText* run = FirstRun(*paragraph)) {
        run->SetText(text);
    } else {
        paragraph->AppendChild(new wxRichTextPlainText(text, paragraph));
    }
    paragraph->ClearLines();
    return true;
}

}  // namespace

wxRichTextAttr GetDefaultTextAttr() {
    wxRichTextAttr attr = GetRichTextStyleSheet().FindParagraphStyle("Normal")->GetStyle();
    attr.SetTextColour(*wxBLACK);
    return attr;
}

wxRichTextStyleSheet& GetRichTextStyleSheet() {
    // Lives until exit: buffers keep pointers to it.
    static wxRichTextStyleSheet* sheet = BuildStyleSheet();
    return *sheet;
}

std::unique_ptr<wxRichTextBuffer> NewRichTextBuffer() {
    auto buffer = std::make_unique<wxRichTextBuffer>();
    buffer->SetStyleSheet(&GetRichTextStyleSheet());
    buffer->SetBasicStyle(GetDefaultTextAttr());
    return buffer;
}

std::unique_ptr<wxRichTextBuffer> LoadRichTextXml(wxInputStream& stream) {
    if (!stream.IsOk()) return nullptr;
    // Read by our own reader, in one pass (the toolkit's loader is slow on long tokens), and
    // then taken in as the toolkit's handler takes in the tree it reads.
    wxXmlDocument document;
    std::wstring problem;
    if (xml::ReadStream(stream, kMaxRichTextSize, document, problem) != xml::EStreamRead::Read ||
        document.GetRoot()->GetName() != "richtext") {
        return nullptr;
    }
    auto buffer = NewRichTextBuffer();
    wxRichTextXMLHandler handler("XML", "xml", wxRICHTEXT_TYPE_XML);
    handler.GetHelper().SetFlags(handler.GetFlags());
    wxLogNull quiet;
    const CQuietAsserts damagedTextIsNoDialog;  // a malformed colour fails a toolkit check
    buffer->ResetAndClearCommands();
    buffer->Clear();
    for (wxXmlNode* child = document.GetRoot()->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE || child->GetName() == "richtext-version") {
            continue;
        }
        handler.ImportXML(buffer.get(), buffer.get(), child);
    }
    buffer->UpdateRanges();
    buffer->Invalidate(wxRICHTEXT_ALL);  // the toolkit's form of "dirty"
    return buffer;
}

bool SaveRichTextXml(wxRichTextBuffer& buffer, wxOutputStream& stream) {
    wxRichTextXMLHandler handler("XML", "xml", wxRICHTEXT_TYPE_XML);
    wxLogNull quiet;
    return handler.SaveFile(&buffer, stream);
}

std::unique_ptr<wxRichTextBuffer> CopyRichTextBuffer(const wxRichTextBuffer& buffer) {
    auto copy = NewRichTextBuffer();
    copy->Copy(buffer);
    copy->Invalidate(wxRICHTEXT_ALL);
    return copy;
}

void LayoutRichText(wxRichTextBuffer& buffer, wxDC& dc, const wxRect& rect) {
    InheritAlignment(buffer);
    buffer.Invalidate(wxRICHTEXT_ALL);
    wxRichTextDrawingContext context(&buffer);
    buffer.Layout(dc, context, rect, rect, wxRICHTEXT_FIXED_WIDTH | wxRICHTEXT_VARIABLE_HEIGHT);
}

std::wstring SingleLineText(const wxRichTextBuffer& buffer) {
    wxString text = buffer.GetText();
    text.Replace("\n", " ");
    return text.ToStdWstring();
}

bool RewriteRuns(wxRichTextBuffer& buffer,
                 const std::function<std::wstring(const std::wstring&)>& rewrite) {
    const bool changed =
        HasWords(buffer) ? RewriteWords(buffer, rewrite) : RewriteBlank(buffer, rewrite);
    if (changed) {
        buffer.UpdateRanges();
        buffer.Invalidate(wxRICHTEXT_ALL);
    }
    return changed;
}

}  // namespace graphics
