#pragma once
// Text helpers: the system's text type is std::wstring.

#include <string>
#include <string_view>

namespace tarn {

// Invalid UTF-8 bytes are taken as Latin-1 characters, so no input is lost.
std::wstring FromUtf8(std::string_view utf8);
// Characters outside Unicode (or lone surrogates) become U+FFFD.
std::string ToUtf8(std::wstring_view text);

// The code point that starts at text[i], and how many wchar_t it takes: one where wchar_t
// holds a whole code point (Linux), one or two (a surrogate pair) where it holds UTF-16 units
// (Windows). A lone surrogate is returned as it stands, with a length of one.
char32_t CodePointAt(std::wstring_view text, std::size_t i, std::size_t& length);
// Appends a code point as one wchar_t, or as a surrogate pair where wchar_t is 16 bits wide.
void AppendCodePoint(std::wstring& text, char32_t code);

// Replaces every "%NAME%" in text by value. A value is never searched again, so values
// may contain percent signs.
std::wstring SetPlaceholder(std::wstring_view text, std::wstring_view name,
                            std::wstring_view value);

// Replaces every occurrence of what by with.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with);

// ASCII-only case folding: keys, schemes and kind names are ASCII.
std::wstring ToLowerAscii(std::wstring_view text);

// Unicode's simple lower-case mapping of one character (the same in every locale).
wchar_t ToLower(wchar_t c);
char32_t ToLower(char32_t code);
// Whether the texts are equal when every letter, in any script, is taken in lower case: page
// names, element names and file names compare so ("Übersicht" equals "übersicht").
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace tarn
