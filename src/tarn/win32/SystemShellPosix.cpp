// The desktop side of the system object: opening files and addresses, running programs from
// the medium, showing folders, and the program of a file type.

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mimetype.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/NativeFiles.h"
#include "tarn/win32/ProcessStarter.h"
#include "tarn/win32/RegularFile.h"
#include "tarn/win32/System.h"
#include "tarn/win32/WindowsArguments.h"

namespace tarn::win32 {

namespace {

// The first word of a command line, quotes removed.
std::wstring FirstWord(const std::wstring& command) {
    std::wstring word;
    wchar_t quote = 0;
    for (const wchar_t c : command) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                word += c;
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

std::unique_ptr<wxFileType> FileTypeOfExtension(const wxString& extension) {
    wxLogNull quiet;  // an unknown type is an answer, not an error
    return std::unique_ptr<wxFileType>(wxTheMimeTypesManager->GetFileTypeFromExtension(extension));
}

enum class EStart { Directly, WithShell, Opener };

// The first bytes of the file, read only when it is a regular file (never from a FIFO).
std::string Beginning(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(file, error);
    if (error) return {};
    std::string reason;
    std::FILE* opened = OpenRegularFileForReading(resolved, reason);
    if (!opened) return {};
    char bytes[4] = {};
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, opened);
    std::fclose(opened);
    return std::string(bytes, got);
}

// How a file of the medium is started (see RunFile).
EStart StartOf(const std::filesystem::path& file) {
    const std::string beginning = Beginning(file);
    const bool program = beginning.rfind("\x7f\x45LF", 0) == 0 || beginning.rfind("#!", 0) == 0;
    // access() also says no on a medium mounted noexec.
    if (program && ::access(file.c_str(), X_OK) == 0) return EStart::Directly;
    if (tarn::EqualsNoCase(FromUtf8(file.extension().string()), L".sh")) return EStart::WithShell;
    return EStart::Opener;
}

}  // namespace

void CSystem::ShellOpen(const P<CURI>& uri) {
    const std::string target = ToUtf8(URIToPath(uri, true));
    if (target.empty()) return;
    if (target[0] == '-') {
        throw CError(L"'" + FromUtf8(target) +
                     L"' is not opened: the desktop would take it for an option");
    }
    // One argument, exactly as given: no shell ever sees it.
    StartDetached({kOpener, target});
}

void CSystem::RunFile(const std::wstring& path, const std::wstring& params) {
    const std::filesystem::path file = NativePath(path);
    const EStart start = StartOf(file);
    if (start != EStart::Opener) {
        std::vector<std::string> words;
        if (start == EStart::WithShell) words.push_back("/bin/sh");
        words.push_back(file.string());  // absolute: never a word the program takes for an option
        for (const std::wstring& argument : SplitWindowsArguments(params)) {
            words.push_back(ToUtf8(argument));
        }
        if (StartDetached(words, file.parent_path().string())) return;
    }
    ShellOpen(PathToURI(path));
}

void CSystem::ExploreFolder(const std::wstring& path) { ShellOpen(PathToURI(path)); }

P<CURI> CSystem::GetAssociatedExecutable(const std::wstring& extension) {
    std::wstring bare = extension;
    if (!bare.empty() && bare[0] == L'.') bare.erase(0, 1);
    if (bare.empty()) return nullptr;
    const std::unique_ptr<wxFileType> type = FileTypeOfExtension(bare);
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

}  // namespace tarn::win32
