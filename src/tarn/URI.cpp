#include "tarn/URI.h"

#include <vector>

#include "tarn/Text.h"

namespace tarn {

namespace {

bool IsAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsUnreserved(wchar_t c) {
    return IsAlpha(c) || IsDigit(c) || std::wstring_view(L"-_.!~*'()").find(c) != std::wstring_view::npos;
}

bool IsScheme(std::wstring_view text) {
    if (text.empty() || !IsAlpha(text[0])) return false;
    for (const wchar_t c : text) {
        if (!IsAlpha(c) && !IsDigit(c) && c != L'+' && c != L'-' && c != L'.') return false;
    }
    return true;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::vector<std::wstring> SplitSegments(std::wstring_view path) {
    std::vector<std::wstring> segments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find(L'/', start);
        segments.emplace_back(path.substr(start, slash - start));
        if (slash == std::wstring_view::npos) break;
        start = slash + 1;
    }
    return segments;
}

}  // namespace

CURI::CURI(std::wstring_view text) : m_text(text) {
    // scheme ":" when the colon comes before any of "/", "?" and "#"
    std::wstring_view rest = text;
    const std::size_t colon = rest.find_first_of(L":/?#");
    if (colon != std::wstring_view::npos && rest[colon] == L':' && IsScheme(rest.substr(0, colon))) {
        m_scheme = std::wstring(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
    }
    if (rest.substr(0, 2) == L"//") {
        rest.remove_prefix(2);
        const std::size_t end = rest.find_first_of(L"/?#");
        ParseAuthority(rest.substr(0, end));
        rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end);
    }
    const std::size_t pathEnd = rest.find_first_of(L"?#");
    m_path = std::wstring(rest.substr(0, pathEnd));
    rest.remove_prefix(pathEnd == std::wstring_view::npos ? rest.size() : pathEnd);
    if (!rest.empty() && rest[0] == L'?') {
        const std::size_t end = rest.find(L'#');
        m_query = std::wstring(rest.substr(1, end == std::wstring_view::npos ? end : end - 1));
        rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end);
    }
    if (!rest.empty() && rest[0] == L'#') m_fragment = std::wstring(rest.substr(1));
}

CURI::CURI(const Components& components)
    : m_scheme(components.scheme), m_host(components.host), m_port(components.port) {
    if (components.userInfo) m_userInfo = Escape(*components.userInfo, kUserInfoReserved);
    m_path = NormalizePath(Escape(components.path, kPathReserved));
    // Without scheme and authority a ":" in the first segment would read as a scheme.
    if (!m_scheme && !m_host) {
        const std::size_t colon = m_path.find(L':');
        if (colon != std::wstring::npos && colon < m_path.find(L'/')) {
            m_path = ReplaceAll(m_path.substr(0, m_path.find(L'/')), L":", L"%3A") +
                     m_path.substr(std::min(m_path.find(L'/'), m_path.size()));
        }
    }
    // Under an authority the path is absolute, in the component as in the text.
    if (m_host && (m_path.empty() || m_path[0] != L'/')) m_path.insert(0, 1, L'/');
    if (components.query) m_query = Escape(*components.query, kQueryReserved);
    if (components.fragment) m_fragment = Escape(*components.fragment, kFragmentReserved);
    m_text = Assemble();
}

void CURI::ParseAuthority(std::wstring_view authority) {
    // With several "@" the last one ends the user information.
    const std::size_t at = authority.rfind(L'@');
    if (at != std::wstring_view::npos) {
        m_userInfo = std::wstring(authority.substr(0, at));
        authority.remove_prefix(at + 1);
    }
    // A bracketed IPv6 host keeps its colons.
    const std::size_t hostEnd = authority.substr(0, 1) == L"[" ? authority.find(L']') : 0;
    const std::size_t colon =
        authority.find(L':', hostEnd == std::wstring_view::npos ? authority.size() : hostEnd);
    if (colon != std::wstring_view::npos) {
        m_port = std::wstring(authority.substr(colon + 1));
        authority = authority.substr(0, colon);
    }
    m_host = std::wstring(authority);
}

std::wstring CURI::Assemble() const {
    std::wstring text;
    if (m_scheme) text += *m_scheme + L":";
    if (m_host) {
        text += L"//";
        if (m_userInfo) text += *m_userInfo + L"@";
        text += *m_host;
        if (m_port) text += L":" + *m_port;
    }
    text += m_path;
    if (m_query) text += L"?" + *m_query;
    if (m_fragment) text += L"#" + *m_fragment;
    return text;
}

P<CURI> CURI::FromFilePath(std::wstring_view path, std::wstring_view host) {
    Components components;
    components.scheme = L"file";
    components.host = std::wstring(host);
    components.path = ReplaceAll(path, L"\\", L"/");
    if (components.path.empty() || components.path[0] != L'/') components.path.insert(0, 1, L'/');
    return Build(components);
}

bool CURI::IsFile() const { return m_scheme && EqualsNoCase(*m_scheme, L"file"); }

std::wstring CURI::GetDisplayText() const {
    return IsFile() ? GetUnescapedPath() : Unescape(m_text);
}

std::wstring CURI::Escape(std::wstring_view text, std::wstring_view reservedKept) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring out;
    for (const wchar_t c : text) {
        if (IsUnreserved(c) || reservedKept.find(c) != std::wstring_view::npos) {
            out += c;
            continue;
        }
        for (const char byte : ToUtf8(std::wstring_view(&c, 1))) {
            const auto value = static_cast<unsigned char>(byte);
            out += L'%';
            out += static_cast<wchar_t>(kHex[value >> 4]);
            out += static_cast<wchar_t>(kHex[value & 0x0F]);
        }
    }
    return out;
}

std::wstring CURI::Unescape(std::wstring_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            bytes += ToUtf8(text.substr(i, 1));
        }
    }
    return FromUtf8(bytes);
}

std::wstring CURI::NormalizePath(std::wstring_view path) {
    std::vector<std::wstring> segments = SplitSegments(path);
    const bool absolute = !path.empty() && path[0] == L'/';
    // The empty segment before a leading "/" is the root, never removed by "..".
    const std::size_t first = absolute ? 1 : 0;

    // "." segments go; a final "." leaves the path ending in "/".
    std::vector<std::wstring> kept;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const bool last = i + 1 == segments.size();
        if (segments[i] == L"." && i >= first) {
            if (last) kept.emplace_back();
            continue;
        }
        kept.push_back(segments[i]);
    }
    // Each ".." removes the segment before it, unless that is itself "..".
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const bool last = i + 1 == kept.size();
        if (kept[i] == L".." && out.size() > first && out.back() != L"..") {
            out.pop_back();
            if (last) out.emplace_back();
            continue;
        }
        out.push_back(kept[i]);
    }
    std::wstring result;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i > 0) result += L'/';
        result += out[i];
    }
    return result;
}

}  // namespace tarn
