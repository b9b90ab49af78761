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
#include "tarn/StringLocalizer.h"
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

bool HasExtension(const std::filesystem::path& file, const wchar_t* extension) {
    return tarn::EqualsNoCase(FromUtf8(file.extension().string()), extension);
}

}  // namespace

CSystem::ERunStart CSystem::RunStartOf(const std::wstring& path) {
    const std::filesystem::path file = NativePath(path);
    // A folder, a device or nothing at all: what the opener makes of it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return ERunStart::Opener;
    const std::string beginning = Beginning(file);
    const bool binary = beginning.rfind("\x7f\x45LF", 0) == 0;
    const bool program = binary || beginning.rfind("#!", 0) == 0;
    // access() also says no on a medium mounted noexec.
    const bool executable = ::access(file.c_str(), X_OK) == 0;
    if (program && executable) return ERunStart::Directly;
    // A program nothing but the kernel can start: the opener would show it in an editor, or
    // say it knows no program for it.
    if (binary) return ERunStart::CannotRun;
    if (HasExtension(file, L".sh")) return ERunStart::WithShell;
    if (HasExtension(file, L".appimage")) return ERunStart::CannotRun;
    return ERunStart::Opener;
}

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
    const ERunStart start = RunStartOf(path);
    if (start == ERunStart::CannotRun) {
        throw CError(SetPlaceholder(
            Localize(L"tarn.win32.CSystem.ProgramCannotRun",
                     L"The program '%FILE%' cannot be started from here: it may not be "
                     L"executed (the medium lets no programs run, or the file lacks its "
                     L"execute permission). Copy it to your computer, make it executable and "
                     L"start it there."),
            L"FILE", FromUtf8(file.filename().string())));
    }
    if (start != ERunStart::Opener) {
        std::vector<std::string> words;
        if (start == ERunStart::WithShell) words.push_back("/bin/sh");
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
