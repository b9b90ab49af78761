// The system object's paths on POSIX: file URIs are plain paths, the user's folders follow
// the XDG base directories.

#include <wx/stdpaths.h>

#include <cstdlib>

#include "tarn/Text.h"
#include "tarn/win32/System.h"

namespace tarn::win32 {

namespace {

std::wstring EnvironmentFolder(const char* variable, const wchar_t* belowHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return FromUtf8(value);
    const char* home = std::getenv("HOME");
    return FromUtf8(home ? home : "") + belowHome;
}

}  // namespace

std::wstring CSystem::URIToPath(const P<CURI>& uri, bool keepNonFile) {
    return CPathes::URIToLocalPath(uri, keepNonFile);
}

P<CURI> CSystem::PathToURI(const std::wstring& path) { return CPathes::LocalPathToURI(path); }

P<CURI> CSystem::GetUserFolder(EUserFolder folder) {
    std::wstring path;
    switch (folder) {
        case EUserFolder::AppData:
            path = EnvironmentFolder("XDG_CONFIG_HOME", L"/.config");
            break;
        case EUserFolder::LocalAppData:
            path = EnvironmentFolder("XDG_DATA_HOME", L"/.local/share");
            break;
        case EUserFolder::Desktop:
            path = wxStandardPaths::Get().GetUserDir(wxStandardPaths::Dir_Desktop).ToStdWstring();
            break;
        case EUserFolder::Personal:
            path = wxStandardPaths::Get().GetDocumentsDir().ToStdWstring();
            break;
    }
    return PathToURI(path);
}

}  // namespace tarn::win32
