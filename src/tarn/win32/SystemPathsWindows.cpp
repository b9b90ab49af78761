// The system object's paths on Windows: the Windows path rules with their "\\?\" long forms,
// and the user's folders from the registry's shell folders.

#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/System.h"

namespace tarn::win32 {

namespace {

constexpr const wchar_t* kShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A value of the current user's shell folders; empty when it is not there.
std::wstring ShellFolder(const wchar_t* name) {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ,
                       nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
        bytes == 0) {
        return {};
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ,
                       nullptr, value.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
}

}  // namespace

std::wstring CSystem::URIToPath(const P<CURI>& uri, bool keepNonFile) {
    return m_pathes->URIToWindowsPath(uri, keepNonFile);
}

P<CURI> CSystem::PathToURI(const std::wstring& path) { return m_pathes->WindowsPathToURI(path); }

P<CURI> CSystem::GetUserFolder(EUserFolder folder) {
    std::wstring path;
    switch (folder) {
        case EUserFolder::AppData:
            path = ShellFolder(L"AppData");
            break;
        case EUserFolder::LocalAppData:
            path = ShellFolder(L"Local AppData");
            if (path.empty()) path = ShellFolder(L"AppData");
            break;
        case EUserFolder::Desktop:
            path = ShellFolder(L"Desktop");
            break;
        case EUserFolder::Personal:
            path = ShellFolder(L"Personal");
            break;
    }
    return PathToURI(path);
}

}  // namespace tarn::win32
