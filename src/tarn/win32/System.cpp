#include "tarn/win32/System.h"

#include <wx/stdpaths.h>

#include <cstdlib>

#include "tarn/Singleton.h"
#include "tarn/Text.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/VersionText.h"

namespace tarn::win32 {

namespace {

// The platform comes up with its system object: from then on files open by URI.
P<IWin32System> MakeSystem() {
    CDiskStreamFactory::RegisterWithStreamManager();
    return New<CSystem>();
}

std::wstring EnvironmentFolder(const char* variable, const wchar_t* belowHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return FromUtf8(value);
    const char* home = std::getenv("HOME");
    return FromUtf8(home ? home : "") + belowHome;
}

}  // namespace

CSystem::CSystem() : m_pathes(New<CPathes>()) {}

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

std::wstring CSystem::GetVersionText() { return LocalVersionText(); }

std::uint32_t CSystem::GetLibraryVersion(const std::wstring& library) {
    // None of the versioned shell libraries exist here; each counts as 4.0, asked once.
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_libraryVersions.try_emplace(library, kDefaultLibraryVersion).first->second;
}

void CSystem::SeedUniqueNames(std::uint32_t seed) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_random.seed(seed);
}

P<IWin32System> GetSystem() {
    static TSingletonHolder<IWin32System> holder;
    return holder.Get(&MakeSystem);
}

}  // namespace tarn::win32
