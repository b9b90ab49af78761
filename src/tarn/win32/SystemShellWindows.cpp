// The shell side of the system object on Windows: ShellExecuteW opens files, folders and
// addresses; the registry's associations name the program of a file type.

#include "tarn/win32/WindowsApi.h"
#include <shellapi.h>
#include <shlwapi.h>

#include <filesystem>

#include "tarn/win32/System.h"

namespace tarn::win32 {

namespace {

void Execute(const wchar_t* verb, const std::wstring& target, const wchar_t* parameters,
             const wchar_t* folder) {
    if (target.empty()) return;
    // The shell's answer is not examined: a failure shows whatever the shell itself shows.
    ::ShellExecuteW(nullptr, verb, target.c_str(), parameters, folder, SW_SHOWNORMAL);
}

}  // namespace

void CSystem::ShellOpen(const P<CURI>& uri) {
    Execute(L"open", URIToPath(uri, true), nullptr, nullptr);
}

void CSystem::RunFile(const std::wstring& path, const std::wstring& params) {
    // A program runs in its own folder, with the parameters as the one string ShellExecuteW
    // takes (the program splits it); they are meant for programs, not documents.
    const std::wstring folder = std::filesystem::path(path).parent_path().wstring();
    Execute(L"open", path, params.empty() ? nullptr : params.c_str(),
            folder.empty() ? nullptr : folder.c_str());
}

CSystem::ERunStart CSystem::RunStartOf(const std::wstring&) { return ERunStart::Opener; }

void CSystem::ExploreFolder(const std::wstring& path) {
    Execute(L"explore", path, nullptr, path.c_str());
}

P<CURI> CSystem::GetAssociatedExecutable(const std::wstring& extension) {
    std::wstring dotted = extension;
    if (dotted.empty() || dotted == L".") return nullptr;
    if (dotted[0] != L'.') dotted.insert(0, 1, L'.');
    wchar_t program[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (::AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, dotted.c_str(), L"open", program,
                            &size) != S_OK ||
        program[0] == 0) {
        return nullptr;
    }
    return PathToURI(program);
}

}  // namespace tarn::win32
