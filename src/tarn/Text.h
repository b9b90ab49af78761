#pragma once
// Text helpers: the system's text type is std::wstring.

#include <string>
#include <string_view>

namespace tarn {

// Invalid UTF-8 bytes are taken as Latin-1 characters, so no input is lost.
std::wstring FromUtf8(std::string_view utf8);
// Characters outside Unicode (or lone surrogates) become U+FFFD.
std::string ToUtf8(std::wstring_view text);

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
// Whether the texts are equal when every letter, in any script, is taken in lower case: page
// names, element names and file names compare so ("Übersicht" equals "übersicht").
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace tarn
