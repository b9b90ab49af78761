#include "tarn/Text.h"

#include <algorithm>
#include <cstdint>

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

}  // namespace

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
            out += static_cast<wchar_t>(code);
            i += length;
        }
    }
    return out;
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) AppendUtf8(out, static_cast<char32_t>(c));
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
    if (c < 0x80) return LowerAscii(c);
    const auto code = static_cast<char32_t>(c);
    const auto* begin = casetable::kLowerRuns;
    const auto* end = begin + casetable::kLowerRunCount;
    // The last run that starts at or before the character.
    const auto* run = std::upper_bound(begin, end, code, [](char32_t value, const auto& entry) {
        return value < entry.first;
    });
    if (run == begin) return c;
    --run;
    if (code > run->last || (code - run->first) % static_cast<char32_t>(run->stride) != 0) return c;
    return static_cast<wchar_t>(static_cast<std::int64_t>(code) + run->delta);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && ToLower(a[i]) != ToLower(b[i])) return false;
    }
    return true;
}

}  // namespace tarn
