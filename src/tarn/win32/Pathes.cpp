#include "tarn/win32/Pathes.h"

#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace tarn::win32 {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "//host/rest" gives a file URI naming the host; the rest (or "/") is its path.
P<CURI> UncToURI(std::wstring_view slashed) {
    const std::wstring_view afterSlashes = slashed.substr(2);
    const std::size_t slash = afterSlashes.find(L'/');
    const std::wstring_view host = afterSlashes.substr(0, slash);
    const std::wstring_view path =
        slash == std::wstring_view::npos ? std::wstring_view(L"/") : afterSlashes.substr(slash);
    return CURI::FromFilePath(path, host);
}

// A path that decodes to a NUL character would end early wherever it is handed on ("a.pdf%00.exe"
// opening "a.pdf"): such a path names no file.
void RefuseNul(const P<CURI>& uri, std::wstring_view host, std::wstring_view path) {
    if (host.find(L'\0') == std::wstring_view::npos && path.find(L'\0') == std::wstring_view::npos) {
        return;
    }
    throw CFileNotFoundError(uri);
}

}  // namespace

bool CPathes::IsFileURI(const P<CURI>& uri) {
    return uri && (!uri->HasScheme() || uri->IsFile());
}

std::wstring CPathes::URIToWindowsPath(const P<CURI>& uri, bool keepNonFile) const {
    if (!uri || uri->GetText().empty()) return {};
    if (!IsFileURI(uri)) return keepNonFile ? uri->GetText() : std::wstring();

    std::wstring path = uri->GetUnescapedPath();
    if (StartsWith(path, L"/")) path.erase(0, 1);
    const std::wstring host = uri->GetUnescapedHost();
    RefuseNul(uri, host, path);
    if (!host.empty()) path = L"\\\\" + host + L"\\" + path;
    path = ReplaceAll(path, L"/", L"\\");
    if (path.size() < kMaxPath) return path;

    if (m_ntBased && StartsWith(path, L"\\\\")) return std::wstring(kLongUncPrefix) + path.substr(2);
    if (m_ntBased && path.size() > 1 && path[1] == L':') return std::wstring(kLongPrefix) + path;
    throw CError(L"Error: Windows path is longer than MAX_PATH and the limit cannot be "
                 L"circumvented (path='" + path + L"').");
}

P<CURI> CPathes::WindowsPathToURI(std::wstring_view path) const {
    std::wstring text(path);
    if (StartsWith(text, kLongPrefix)) {
        text.erase(0, kLongPrefix.size());
        if (StartsWith(text, L"UNC\\")) text.replace(0, 4, L"\\\\");
    }
    text = ReplaceAll(text, L"\\", L"/");
    if (StartsWith(text, L"//")) return UncToURI(text);
    if (text.size() > 1 && text[1] == L':') return CURI::FromFilePath(text);
    CURI::Components relative;
    relative.path = text;
    return CURI::Build(relative);
}

std::wstring CPathes::URIToLocalPath(const P<CURI>& uri, bool keepNonFile) {
    if (!uri || uri->GetText().empty()) return {};
    if (!IsFileURI(uri)) return keepNonFile ? uri->GetText() : std::wstring();
    const std::wstring host = uri->GetUnescapedHost();
    const std::wstring path = uri->GetUnescapedPath();
    RefuseNul(uri, host, path);
    if (host.empty()) return path;
    return L"//" + host + (StartsWith(path, L"/") ? path : L"/" + path);
}

P<CURI> CPathes::LocalPathToURI(std::wstring_view path) {
    const std::wstring text = ReplaceAll(path, L"\\", L"/");
    if (StartsWith(text, L"//")) return UncToURI(text);
    if (StartsWith(text, L"/")) return CURI::FromFilePath(text);
    CURI::Components relative;
    relative.path = text;
    return CURI::Build(relative);
}

}  // namespace tarn::win32
