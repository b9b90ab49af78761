#pragma once
// Inserts line breaks into plain text so that its lines fit a width, measured in one font.

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/font.h>

#include <string>

namespace graphics {

class CTextWrapper {
public:
    explicit CTextWrapper(const wxFont& font);
    ~CTextWrapper();
    CTextWrapper(const CTextWrapper&) = delete;
    CTextWrapper& operator=(const CTextWrapper&) = delete;

    // Breaks before any word or delimiter that would pass maxWidth pixels; words are never
    // cut, so a word wider than maxWidth stands on its own line.
    std::wstring Wrap(const std::wstring& text, int maxWidth);

private:
    wxBitmap m_bitmap;
    wxMemoryDC m_dc;
};

}  // namespace graphics
