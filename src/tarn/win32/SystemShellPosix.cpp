// The desktop side of the system object: opening files and addresses, running files from the
// medium with their type's program, showing folders, and the program of a file type.

#include <wx/cmdline.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mimetype.h>

#include <memory>

#include "tarn/Text.h"
#include "tarn/win32/ProcessStarter.h"
#include "tarn/win32/System.h"

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

// A stand-in for the path while the open command is split into words; it holds nothing a
// command line would quote or split.
const wxString kPathToken = "LUMPLAYERPATHTOKEN";

// The open command of a document type as words, with the path as one intact word. A
// trailing " *" (an old way of saying "more files may follow") is dropped.
std::vector<std::string> OpenCommandWords(const wxFileType& type, const wxString& mimeType,
                                          const wxString& path) {
    wxString command;
    if (!type.GetOpenCommand(&command, wxFileType::MessageParameters(kPathToken, mimeType))) {
        return {};
    }
    command.Replace(" *", " ");
    command.Trim(true);
    std::vector<std::string> words;
    for (wxString word : wxCmdLineParser::ConvertStringToArgs(command, wxCMD_LINE_SPLIT_UNIX)) {
        word.Replace(kPathToken, path);
        words.push_back(word.utf8_string());
    }
    return words;
}

}  // namespace

void CSystem::ShellOpen(const P<CURI>& uri) {
    const std::string target = ToUtf8(URIToPath(uri, true));
    if (target.empty()) return;
    // One argument, exactly as given: no shell ever sees it.
    StartDetached({kOpener, target});
}

void CSystem::RunFile(const std::wstring& path) {
    const std::unique_ptr<wxFileType> type = FileTypeOfExtension(wxFileName(path).GetExt());
    wxString mimeType;
    if (!type || (type->GetMimeType(&mimeType) && mimeType.StartsWith("application/"))) {
        ShellOpen(PathToURI(path));
        return;
    }
    const std::vector<std::string> words = OpenCommandWords(*type, mimeType, path);
    if (words.empty()) {
        ShellOpen(PathToURI(path));
        return;
    }
    StartDetached(words);
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
