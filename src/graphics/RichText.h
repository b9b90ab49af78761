#pragma once
// Rich-text buffers as the elements use them: creation with the default text attributes,
// reading and writing the toolkit's rich-text XML form, and their plain text.
//
// The default attributes and the editing style sheet live here so that the document model
// can use them; graphics::CSkinManager hands out the same ones.

#include <wx/richtext/richtextbuffer.h>
#include <wx/richtext/richtextstyles.h>
#include <wx/stream.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace graphics {

// The attributes of unstyled text: the "Normal" style with black text.
wxRichTextAttr GetDefaultTextAttr();
// The process-wide style sheet for editing rich text; buffers refer to it without owning it.
wxRichTextStyleSheet& GetRichTextStyleSheet();

// An empty buffer with the default attributes and the style sheet.
std::unique_ptr<wxRichTextBuffer> NewRichTextBuffer();
// The longest rich-text XML form read, as long as a product.xml may be.
inline constexpr std::size_t kMaxRichTextSize = std::size_t{64} << 20;
// A new buffer read from the toolkit's rich-text XML form, marked for layout; none when the
// stream does not hold a readable document or holds more than kMaxRichTextSize bytes.
std::unique_ptr<wxRichTextBuffer> LoadRichTextXml(wxInputStream& stream);
bool SaveRichTextXml(wxRichTextBuffer& buffer, wxOutputStream& stream);
// A copy that shares nothing with the original.
std::unique_ptr<wxRichTextBuffer> CopyRichTextBuffer(const wxRichTextBuffer& buffer);

// Lays the buffer out afresh in rect's width from rect's origin (as tall as the text needs),
// every paragraph aligned as its own or the whole text's alignment says.
void LayoutRichText(wxRichTextBuffer& buffer, wxDC& dc, const wxRect& rect);

// The buffer's text with every line feed replaced by a space (what a text element is named).
std::wstring SingleLineText(const wxRichTextBuffer& buffer);

// Sets every non-empty plain-text run of every paragraph to rewrite(run text). A buffer
// without any (left blank, or only spaces, which XML drops) gets rewrite("") in the first
// run of its first paragraph, made when missing, so a blank text still shows what replaces
// its whole text. Changed paragraphs lose their lines and the buffer is marked for layout.
// True when a run changed.
bool RewriteRuns(wxRichTextBuffer& buffer,
                 const std::function<std::wstring(const std::wstring&)>& rewrite);

}  // namespace graphics
