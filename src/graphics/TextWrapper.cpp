#include "graphics/TextWrapper.h"

#include <vector>

namespace graphics {

namespace {

constexpr wchar_t kDelimiters[] = L" ,:-?.";

// Splits at every separator, keeping each separator as a token of its own.
std::vector<std::wstring> Tokens(const std::wstring& text, const std::wstring& separators) {
    std::vector<std::wstring> tokens;
    std::wstring current;
    for (const wchar_t ch : text) {
        if (separators.find(ch) == std::wstring::npos) {
            current += ch;
            continue;
        }
        if (!current.empty()) tokens.push_back(std::move(current));
        current.clear();
        tokens.emplace_back(1, ch);
    }
    if (!current.empty()) tokens.push_back(std::move(current));
    return tokens;
}

}  // namespace

CTextWrapper::CTextWrapper(const wxFont& font) : m_bitmap(200, 200) {
    m_dc.SelectObject(m_bitmap);
    m_dc.SetFont(font.IsOk() ? font : *wxNORMAL_FONT);
}

CTextWrapper::~CTextWrapper() { m_dc.SelectObject(wxNullBitmap); }

std::wstring CTextWrapper::Wrap(const std::wstring& text, int maxWidth) {
    std::wstring result;
    for (const std::wstring& line : Tokens(text, L"\n")) {
        if (line == L"\n") {
            result += line;
            continue;
        }
        int running = 0;
        for (const std::wstring& token : Tokens(line, kDelimiters)) {
            const int width = m_dc.GetTextExtent(wxString(token)).x;
            if (running + width > maxWidth) {
                result += L'\n';
                running = 0;
            }
            running += width;
            result += token;
        }
    }
    return result;
}

}  // namespace graphics
