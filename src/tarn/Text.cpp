#include "tarn/Text.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <type_traits>

#include "tarn/CaseTable.h"

namespace tarn {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is not valid.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& out) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    out = code;
    return length;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c; }

constexpr bool kUtf16Text = sizeof(wchar_t) == 2;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

char32_t CodePointAt(std::wstring_view text, std::size_t i, std::size_t& length) {
    // Through the unsigned type of the same width: a 32-bit wchar_t may be signed.
    using Unit = std::make_unsigned_t<wchar_t>;
    const char32_t first = static_cast<Unit>(text[i]);
    length = 1;
    if (kUtf16Text && IsHighSurrogate(first) && i + 1 < text.size()) {
        const char32_t second = static_cast<Unit>(text[i + 1]);
        if (IsLowSurrogate(second)) {
            length = 2;
            return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        }
    }
    return first;
}

void AppendCodePoint(std::wstring& text, char32_t code) {
    if (kUtf16Text && code >= 0x10000 && code <= 0x10FFFF) {
        code -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (code >> 10));
        text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        text += static_cast<wchar_t>(code);
    }
}

std::wstring FromUtf8(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(utf8, i, code);
        if (length == 0) {
            out += static_cast<wchar_t>(static_cast<unsigned char>(utf8[i]));
            ++i;
        } else {
            AppendCodePoint(out, code);
            i += length;
        }
    }
    return out;
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
        AppendUtf8(out, CodePointAt(text, i, length));
    }
    return out;
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with) {
    if (what.empty()) return std::wstring(text);
    std::wstring out;
    std::size_t start = 0;
    for (std::size_t found = text.find(what); found != std::wstring_view::npos;
         found = text.find(what, start)) {
        out.append(text.substr(start, found - start));
        out.append(with);
        start = found + what.size();
    }
    out.append(text.substr(start));
    return out;
}

std::wstring SetPlaceholder(std::wstring_view text, std::wstring_view name,
                            std::wstring_view value) {
    std::wstring placeholder = L"%";
    placeholder.append(name);
    placeholder += L'%';
    return ReplaceAll(text, placeholder, value);
}

std::wstring ToLowerAscii(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = LowerAscii(c);
    return out;
}

wchar_t ToLower(wchar_t c) {
    using Unit = std::make_unsigned_t<wchar_t>;
    const char32_t lower = ToLower(static_cast<char32_t>(static_cast<Unit>(c)));
    // A 16-bit wchar_t cannot hold a lower case beyond the first plane (none maps across).
    return lower > WCHAR_MAX ? c : static_cast<wchar_t>(lower);
}

char32_t ToLower(char32_t code) {
    if (code < 0x80) return static_cast<char32_t>(LowerAscii(static_cast<wchar_t>(code)));
    const auto* begin = casetable::kLowerRuns;
    const auto* end = begin + casetable::kLowerRunCount;
    // The last run that starts at or before the character.
    const auto* run = std::upper_bound(begin, end, code, [](char32_t value, const auto& entry) {
        return value < entry.first;
    });
    if (run == begin) return code;
    --run;
    if (code > run->last || (code - run->first) % static_cast<char32_t>(run->stride) != 0) {
        return code;
    }
    return static_cast<char32_t>(static_cast<std::int64_t>(code) + run->delta);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    // Code point by code point, so that letters beyond the first plane compare where wchar_t
    // holds surrogate pairs; a letter and its lower case take the same number of units.
    std::size_t i = 0;
    while (i < a.size()) {
        std::size_t lengthA = 0;
        std::size_t lengthB = 0;
        const char32_t codeA = CodePointAt(a, i, lengthA);
        const char32_t codeB = CodePointAt(b, i, lengthB);
        if (lengthA != lengthB) return false;
        if (codeA != codeB && ToLower(codeA) != ToLower(codeB)) return false;
        i += lengthA;
    }
    return true;
}

}  // namespace tarn
