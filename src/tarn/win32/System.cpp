#include "tarn/win32/System.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include <wx/filefn.h>
#include <wx/mimetype.h>
#include <wx/stdpaths.h>

#include "tarn/Singleton.h"
#include "tarn/Text.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/VersionText.h"

extern char** environ;

namespace tarn::win32 {

namespace {

// The platform comes up with its system object: from then on files open by URI.
P<IWin32System> MakeSystem() {
    CDiskStreamFactory::RegisterWithStreamManager();
    return New<CSystem>();
}

// The first word of a command line, quotes removed.
std::wstring FirstWord(const std::wstring& command) {
    std::wstring word;
    wchar_t quote = 0;
    for (const wchar_t c : command) {
        if (quote != 0) {
            if (c == quote) quote = 0;
            else word += c;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L' ' || c == L'\t') {
            if (!word.empty()) break;
        } else {
            word += c;
        }
    }
    return word;
}

std::wstring EnvironmentFolder(const char* variable, const wchar_t* belowHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return FromUtf8(value);
    const char* home = std::getenv("HOME");
    return FromUtf8(home ? home : "") + belowHome;
}

}  // namespace

CSystem::CSystem() : m_pathes(New<CPathes>()) {}

void CSystem::ShellOpen(const P<CURI>& uri) {
    const std::string target = ToUtf8(URIToPath(uri, true));
    if (target.empty()) return;
    // One argument, exactly as given: no shell ever sees it.
    std::string program = kOpener;
    std::vector<char*> arguments = {program.data(), const_cast<char*>(target.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, kOpener, nullptr, nullptr, arguments.data(), environ) != 0) return;
    // The desktop's answer is not awaited; only the finished child is collected.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

P<CURI> CSystem::GetAssociatedExecutable(const std::wstring& extension) {
    std::wstring bare = extension;
    if (!bare.empty() && bare[0] == L'.') bare.erase(0, 1);
    if (bare.empty()) return nullptr;
    std::unique_ptr<wxFileType> type(wxTheMimeTypesManager->GetFileTypeFromExtension(bare));
    if (!type) return nullptr;
    wxString command;
    if (!type->GetOpenCommand(&command, wxFileType::MessageParameters(L"file." + bare))) {
        return nullptr;
    }
    std::wstring program = FirstWord(command.ToStdWstring());
    if (program.empty()) return nullptr;
    if (program[0] != L'/') {
        wxPathList paths;
        paths.AddEnvList(L"PATH");
        program = paths.FindAbsoluteValidPath(program).ToStdWstring();
        if (program.empty()) return nullptr;  // the desktop names a program we cannot find
    }
    return PathToURI(program);
}

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
