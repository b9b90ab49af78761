#include "MediumTree.h"

#include <system_error>
#include <utility>

#include "Command.h"
#include "FileCopy.h"
#include "StopSignals.h"

#ifndef LUM_PAYLOAD_IN_BUILD
#error "the build names the payload folders (LUM_PAYLOAD_IN_BUILD, LUM_PAYLOAD_INSTALLED)"
#endif

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLauncher = "lumplayer";
constexpr const char* kAutorun = "autorun.sh";
constexpr const char* kContent = "content.lum";
// Inside the staging folder: where the folders replaced in the root wait for removal.
constexpr const char* kAside = "replaced";

constexpr fs::perms kExecutable = fs::perms::owner_all | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read |
                                  fs::perms::others_exec;
constexpr fs::perms kReadable =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

fs::path PrivatePlayer(const fs::path& root) { return root / kPrivateFolder / "bin" / "lumplayer"; }

bool IsPayload(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / kLauncher, error) &&
           fs::is_regular_file(folder / kAutorun, error) &&
           fs::is_regular_file(PrivatePlayer(folder), error) &&
           fs::is_directory(folder / kPrivateFolder / "lib", error);
}

[[noreturn]] void Fail(const std::string& what, const fs::path& path,
                       const std::error_code& error) {
    throw CUsageError("cannot " + what + " '" + path.string() + "': " + error.message());
}

void CopyFile(const fs::path& source, const fs::path& target, fs::perms permissions) {
    CStopSignals::ThrowIfStopped();
    CopyFileBytes(source, target);
    std::error_code error;
    fs::permissions(target, permissions, error);
    if (error) Fail("set the permissions of", target, error);
}

// Copies a folder of the payload file by file, so that a signal stops it between files and
// a failure names the file. Links are copied as links (the libraries' version names).
void CopyFolder(const fs::path& source, const fs::path& target) {
    std::error_code error;
    fs::create_directory(target, error);
    if (error) Fail("write", target, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(source, error)) {
        CStopSignals::ThrowIfStopped();
        const fs::path to = target / entry.path().filename();
        const fs::file_status status = entry.symlink_status(error);
        if (fs::is_symlink(status)) {
            fs::copy_symlink(entry.path(), to, error);
        } else if (fs::is_directory(status)) {
            CopyFolder(entry.path(), to);
        } else {
            CopyFileBytes(entry.path(), to);
        }
        if (error) Fail("write", to, error);
    }
    if (error) Fail("read", source, error);
}

// One move of SwapIntoPlace, to be undone when a later one fails.
struct SMove {
    fs::path from;
    fs::path to;
};

void UndoMoves(const std::vector<SMove>& moves) {
    for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
        std::error_code error;
        fs::rename(move->to, move->from, error);
    }
}

}  // namespace

std::vector<fs::path> PayloadCandidates(const fs::path& programFolder) {
    return {programFolder / LUM_PAYLOAD_IN_BUILD,
            (programFolder / LUM_PAYLOAD_INSTALLED).lexically_normal()};
}

fs::path FindPayload(const fs::path& programFolder) {
    std::string searched;
    for (const fs::path& candidate : PayloadCandidates(programFolder)) {
        if (IsPayload(candidate)) return candidate;
        searched += (searched.empty() ? "" : ", ") + ("'" + candidate.string() + "'");
    }
    throw CUsageError("the player's files for a medium are missing (looked in " + searched +
                      "): build the target medium_runtime, or install lumplayer");
}

bool PayloadHasSanitizers(const fs::path& payload) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(payload / kPrivateFolder / "lib", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("libasan.", 0) == 0 || name.rfind("libubsan.", 0) == 0) return true;
    }
    return false;
}

std::vector<fs::path> LeftoverStagingFolders(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root, error)) {
        if (entry.path().filename().string().rfind(kMediumStagingPrefix, 0) == 0) {
            found.push_back(entry.path());
        }
    }
    return found;
}

void StageMediumTree(const fs::path& content, const fs::path& payload, const fs::path& staging) {
    // The content first: it may be the medium's own content.lum, which the swap replaces.
    CopyFile(content, staging / kContent, kReadable);
    CopyFolder(payload / kPrivateFolder, staging / kPrivateFolder);
    std::error_code error;
    fs::permissions(PrivatePlayer(staging), kExecutable, error);
    if (error) Fail("set the permissions of", PrivatePlayer(staging), error);
    CopyFile(payload / kLauncher, staging / kLauncher, kExecutable);
    CopyFile(payload / kAutorun, staging / kAutorun, kExecutable);
}

void SwapIntoPlace(const fs::path& staging, const fs::path& root) {
    std::vector<fs::path> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(staging, error)) {
        names.push_back(entry.path().filename());
    }
    if (error) Fail("read", staging, error);
    const fs::path aside = staging / kAside;
    fs::create_directory(aside, error);
    if (error) Fail("write", aside, error);

    std::vector<SMove> moves;
    const auto move = [&](const fs::path& from, const fs::path& to) {
        fs::rename(from, to, error);
        if (error) {
            const std::error_code reason = error;
            UndoMoves(moves);
            Fail("replace", to, reason);
        }
        moves.push_back({from, to});
    };
    for (const fs::path& name : names) {
        const fs::path target = root / name;
        // A folder cannot be renamed over a file or a folder, nor a file over a folder:
        // what is in the way goes aside whole (so no library of an older player stays
        // behind). A link is replaced itself, never what it points to.
        const fs::file_status old = fs::symlink_status(target, error);
        const bool folderInvolved =
            fs::is_directory(old) || fs::is_directory(fs::symlink_status(staging / name, error));
        if (fs::exists(old) && folderInvolved) move(target, aside / name);
        move(staging / name, target);
    }
}

}  // namespace lumtool
