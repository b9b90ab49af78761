#pragma once
// Generic URIs (RFC 2396): every file, folder and address is named by one.

#include <optional>
#include <string>
#include <string_view>

#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace tarn {

class CURI : public CObject {
public:
    // Unescaped components for building a URI; an absent optional is an absent component,
    // which is not the same as an empty one ("file:///" has an empty host).
    struct Components {
        std::optional<std::wstring> scheme;
        std::optional<std::wstring> userInfo;
        std::optional<std::wstring> host;  // present means the URI has an authority
        std::optional<std::wstring> port;
        std::wstring path;
        std::optional<std::wstring> query;
        std::optional<std::wstring> fragment;
    };

    // Parses a text; every text parses, and the complete text stays exactly as given.
    explicit CURI(std::wstring_view text);
    // Escapes each component with its own reserved set, normalises the path, assembles.
    explicit CURI(const Components& components);

    static P<CURI> Parse(std::wstring_view text) { return New<CURI>(text); }
    static P<CURI> Build(const Components& components) { return New<CURI>(components); }
    // The "file" form of a local path: "file://" + host + the path with forward slashes,
    // always starting with "/" ("C:\dir\a.txt" gives "file:///C:/dir/a.txt").
    static P<CURI> FromFilePath(std::wstring_view path, std::wstring_view host = {});

    const std::wstring& GetText() const { return m_text; }
    // For messages: a file URI shows its decoded path, any other its decoded text.
    std::wstring GetDisplayText() const;

    bool HasScheme() const { return m_scheme.has_value(); }
    bool HasAuthority() const { return m_host.has_value(); }
    bool HasUserInfo() const { return m_userInfo.has_value(); }
    bool HasPort() const { return m_port.has_value(); }
    bool HasQuery() const { return m_query.has_value(); }
    bool HasFragment() const { return m_fragment.has_value(); }
    bool IsFile() const;  // scheme "file", in any letter case

    // Escaped forms, as they stand in the text (empty when absent).
    std::wstring GetScheme() const { return m_scheme.value_or(L""); }
    std::wstring GetUserInfo() const { return m_userInfo.value_or(L""); }
    std::wstring GetHost() const { return m_host.value_or(L""); }
    std::wstring GetPort() const { return m_port.value_or(L""); }
    const std::wstring& GetPath() const { return m_path; }
    std::wstring GetQuery() const { return m_query.value_or(L""); }
    std::wstring GetFragment() const { return m_fragment.value_or(L""); }

    // Decoded forms.
    std::wstring GetUnescapedUserInfo() const { return Unescape(GetUserInfo()); }
    std::wstring GetUnescapedHost() const { return Unescape(GetHost()); }
    std::wstring GetUnescapedPath() const { return Unescape(m_path); }
    std::wstring GetUnescapedQuery() const { return Unescape(GetQuery()); }
    std::wstring GetUnescapedFragment() const { return Unescape(GetFragment()); }

    // Characters outside RFC 2396's unreserved set and the given reserved ones become "%XX"
    // escapes of their UTF-8 bytes.
    static std::wstring Escape(std::wstring_view text, std::wstring_view reservedKept);
    // Decodes "%XX" escapes (as UTF-8, falling back to Latin-1); a broken escape stays as is.
    static std::wstring Unescape(std::wstring_view text);
    // Removes "." segments and each ".." with the segment before it (RFC 2396, 5.2 step 6).
    static std::wstring NormalizePath(std::wstring_view path);

    static constexpr std::wstring_view kUserInfoReserved = L";:,&=+$";
    static constexpr std::wstring_view kPathReserved = L";:,/@&=+$";
    static constexpr std::wstring_view kQueryReserved = L";:,/?@&=+$";
    static constexpr std::wstring_view kFragmentReserved = L";:,/?@&=+$";

private:
    void ParseAuthority(std::wstring_view authority);
    std::wstring Assemble() const;

    std::optional<std::wstring> m_scheme;
    std::optional<std::wstring> m_userInfo;
    std::optional<std::wstring> m_host;
    std::optional<std::wstring> m_port;
    std::wstring m_path;
    std::optional<std::wstring> m_query;
    std::optional<std::wstring> m_fragment;
    std::wstring m_text;
};

}  // namespace tarn
