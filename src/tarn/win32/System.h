#pragma once
// The process-wide system object: the desktop's "open", path conversions and file chores.
// Nothing handed to the desktop's opener may start with "-": it would read it as an option.

#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <string>

#include "tarn/System.h"
#include "tarn/win32/Pathes.h"

namespace tarn::win32 {

class IWin32System : public virtual ISystem {
public:
    // The version of a system library, as major * 65536 + minor.
    virtual std::uint32_t GetLibraryVersion(const std::wstring& library) = 0;
    virtual P<CPathes> GetPathes() = 0;

    // Runs a file from the medium (path is absolute) for a run-file action.
    //
    // Programs start directly, never through a shell, in their own folder, with params as
    // their arguments. params is one string, as the action holds it: Windows hands it to
    // ShellExecuteW unchanged; elsewhere it is split into words by Windows' own rules
    // (SplitWindowsArguments), so that a menu's program gets the same arguments on either.
    // On Linux a program is an ELF file or a script starting with "#!" that may be executed;
    // a ".sh" file that may not (media are often mounted noexec) runs as "/bin/sh FILE". A
    // program that may not be executed (an AppImage or another ELF file without its execute
    // bit, or on a noexec medium) cannot run at all: CError with a message for the user.
    //
    // Everything else, documents above all, goes to the desktop's opener (xdg-open on Linux,
    // ShellExecuteW's "open" on Windows) without the params: the opener knows the user's
    // choices and starts a terminal for programs that need one.
    virtual void RunFile(const std::wstring& path, const std::wstring& params) = 0;
    // Shows the folder in the desktop's file manager.
    virtual void ExploreFolder(const std::wstring& path) = 0;
};

class CSystem : public CObject, public virtual IWin32System {
public:
    // Libraries that cannot be asked for a version count as 4.0.
    static constexpr std::uint32_t kDefaultLibraryVersion = 0x40000;
    static constexpr int kUniqueNameAttempts = 10000;

    // The program the desktop is asked to open things with.
    static constexpr const char* kOpener = "xdg-open";

    CSystem();

    void ShellOpen(const P<CURI>& uri) override;
    P<CURI> GetAssociatedExecutable(const std::wstring& extension) override;
    std::wstring URIToPath(const P<CURI>& uri, bool keepNonFile) override;
    P<CURI> PathToURI(const std::wstring& path) override;

    void DeleteFile(const P<CURI>& file) override;
    void MoveFile(const P<CURI>& source, const P<CURI>& destination) override;
    void MoveFolder(const P<CURI>& source, const P<CURI>& destination) override;
    void CopyFile(const P<CURI>& source, const P<CURI>& destination) override;
    void DeleteFolder(const P<CURI>& folder) override;
    void CreateFolder(const P<CURI>& folder) override;
    P<CURI> CreateUniqueFile(const P<CURI>& folder, const std::wstring& prefix,
                             const std::wstring& suffix) override;
    P<CURI> CreateUniqueFolder(const P<CURI>& folder, const std::wstring& prefix,
                               const std::wstring& suffix) override;

    P<CURI> GetUserFolder(EUserFolder folder) override;
    std::wstring GetVersionText() override;

    std::uint32_t GetLibraryVersion(const std::wstring& library) override;
    P<CPathes> GetPathes() override { return m_pathes; }
    void RunFile(const std::wstring& path, const std::wstring& params) override;
    void ExploreFolder(const std::wstring& path) override;

    // How RunFile starts a file: the program itself, "/bin/sh FILE", the desktop's opener, or
    // not at all (a program that may not be executed). On Windows ShellExecuteW decides, so
    // every file goes to the opener there.
    enum class ERunStart { Directly, WithShell, Opener, CannotRun };
    static ERunStart RunStartOf(const std::wstring& path);

    // The address a website action opens: one with a scheme of kWebSchemes kept as given, a
    // bare one such as "www.example.org/x" with "https://" before it. Empty when the website
    // is none the player opens: another scheme ("file:", "javascript:"), or text that the
    // opener could take for an option or a file ("-x", "/etc", "./x", "\\server").
    static std::wstring WebsiteAddress(const std::wstring& website);
    static constexpr const wchar_t* kWebSchemes[] = {L"http", L"https", L"ftp", L"mailto"};

    // Seeds the generator behind unique names (it starts with the standard seed 5489).
    void SeedUniqueNames(std::uint32_t seed);

private:
    P<CURI> CreateUnique(const P<CURI>& folder, const std::wstring& prefix,
                         const std::wstring& suffix, bool asFolder);

    P<CPathes> m_pathes;
    std::mutex m_mutex;
    std::mt19937 m_random;  // guarded by m_mutex
    std::map<std::wstring, std::uint32_t> m_libraryVersions;  // guarded by m_mutex
};

// The process-wide system object, created on first use.
P<IWin32System> GetSystem();

}  // namespace tarn::win32
