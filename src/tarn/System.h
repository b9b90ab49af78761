#pragma once
// The system services the rest of the program asks for: opening files and addresses with the
// desktop, converting between URIs and paths, and file-system chores with readable errors.

#include <cstdint>
#include <string>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/URI.h"

// Some system headers define DeleteFile, MoveFile and CopyFile as macros; they would rename
// the operations below in the sources that see them and not in the others.
#undef CopyFile
#undef DeleteFile
#undef MoveFile

namespace tarn {

enum class EUserFolder { AppData, LocalAppData, Desktop, Personal };

class ISystem : public virtual IBase {
public:
    // Hands a file, folder, web or mail address to the desktop to open; reports nothing.
    virtual void ShellOpen(const P<CURI>& uri) = 0;
    // The program that opens files of an extension ("pdf" or ".pdf"); empty when none.
    virtual P<CURI> GetAssociatedExecutable(const std::wstring& extension) = 0;
    // A file URI's path; any other URI's text when keepNonFile, else an empty text.
    virtual std::wstring URIToPath(const P<CURI>& uri, bool keepNonFile) = 0;
    virtual P<CURI> PathToURI(const std::wstring& path) = 0;

    virtual void DeleteFile(const P<CURI>& file) = 0;
    virtual void MoveFile(const P<CURI>& source, const P<CURI>& destination) = 0;
    virtual void MoveFolder(const P<CURI>& source, const P<CURI>& destination) = 0;
    virtual void CopyFile(const P<CURI>& source, const P<CURI>& destination) = 0;
    // Deletes the folder with everything in it.
    virtual void DeleteFolder(const P<CURI>& folder) = 0;
    // Creates the folder and every missing parent.
    virtual void CreateFolder(const P<CURI>& folder) = 0;
    // Creates a new file (or folder) named prefix + 8 hex digits + suffix in the folder.
    virtual P<CURI> CreateUniqueFile(const P<CURI>& folder, const std::wstring& prefix,
                                     const std::wstring& suffix) = 0;
    virtual P<CURI> CreateUniqueFolder(const P<CURI>& folder, const std::wstring& prefix,
                                       const std::wstring& suffix) = 0;

    virtual P<CURI> GetUserFolder(EUserFolder folder) = 0;
    virtual std::wstring GetVersionText() = 0;
};

}  // namespace tarn
