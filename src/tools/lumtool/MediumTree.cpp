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
// Inside the staging folder: the disc's files, and what they replace in the root.
constexpr const char* kDisc = "disc";
constexpr const char* kDiscAside = "replaced-disc";

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

fs::path PathOfUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

bool IsExecutable(const fs::path& file) {
    std::error_code error;
    const fs::perms any = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (fs::status(file, error).permissions() & any) != fs::perms::none;
}

// The steps of SwapIntoPlace, undone in reverse when a later one fails: renames, and folders
// made in the root.
class CSwapSteps {
public:
    void Move(const fs::path& from, const fs::path& to) {
        std::error_code error;
        fs::rename(from, to, error);
        if (error) FailOn("replace", to, error);
        m_steps.push_back({from, to});
    }
    void MakeFolder(const fs::path& folder) {
        std::error_code error;
        fs::create_directory(folder, error);
        if (error) FailOn("write", folder, error);
        m_steps.push_back({{}, folder});
    }
    [[noreturn]] void FailOn(const std::string& what, const fs::path& path,
                             const std::error_code& error) {
        Undo();
        Fail(what, path, error);
    }
    [[noreturn]] void Refuse(const std::string& message) {
        Undo();
        throw CUsageError(message);
    }

private:
    struct SStep {
        fs::path from;  // empty for a folder that was made
        fs::path to;
    };

    void Undo() {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
            std::error_code error;
            if (step->from.empty()) {
                fs::remove(step->to, error);  // made empty, and emptied again by now
            } else {
                fs::rename(step->to, step->from, error);
            }
        }
        m_steps.clear();
    }

    std::vector<SStep> m_steps;
};

// Makes the folders of relative's path below root that are missing; refuses a link or a file
// in their place, which would take the disc's files elsewhere.
void MakeFoldersOnTheWay(const fs::path& root, const fs::path& relative, CSwapSteps& steps) {
    fs::path at = root;
    for (const fs::path& part : relative) {
        at /= part;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(at, error);
        if (!fs::exists(status)) {
            steps.MakeFolder(at);
        } else if (fs::is_symlink(status) || !fs::is_directory(status)) {
            steps.Refuse("cannot put the disc's files into '" + at.string() + "': it is " +
                         (fs::is_symlink(status) ? "a symbolic link" : "not a folder") +
                         "; remove it, or name another medium");
        }
    }
}

// Moves the staged disc files into root, each over what has its name (which goes aside).
void MergeDiscFiles(const fs::path& disc, const fs::path& root, const fs::path& aside,
                    CSwapSteps& steps) {
    std::error_code error;
    if (!fs::is_directory(disc, error)) return;
    std::vector<fs::path> files;
    for (auto entry = fs::recursive_directory_iterator(disc, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path relative = entry->path().lexically_relative(disc);
        if (entry->is_directory(error)) {
            MakeFoldersOnTheWay(root, relative, steps);
        } else {
            files.push_back(relative);
        }
    }
    if (error) steps.FailOn("read", disc, error);
    for (const fs::path& relative : files) {
        MakeFoldersOnTheWay(root, relative.parent_path(), steps);
        const fs::path target = root / relative;
        const fs::file_status old = fs::symlink_status(target, error);
        if (fs::is_directory(old)) {
            steps.Refuse("cannot put the disc's file '" + relative.generic_string() +
                         "' on the medium: a folder has its name there");
        }
        if (fs::exists(old) || fs::is_symlink(old)) {
            fs::create_directories((aside / relative).parent_path(), error);
            if (error) steps.FailOn("write", aside / relative, error);
            steps.Move(target, aside / relative);
        }
        steps.Move(disc / relative, target);
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
    StagePlayer(payload, staging);
}

void StagePlayer(const fs::path& payload, const fs::path& staging) {
    CopyFolder(payload / kPrivateFolder, staging / kPrivateFolder);
    std::error_code error;
    fs::permissions(PrivatePlayer(staging), kExecutable, error);
    if (error) Fail("set the permissions of", PrivatePlayer(staging), error);
    CopyFile(payload / kLauncher, staging / kLauncher, kExecutable);
    CopyFile(payload / kAutorun, staging / kAutorun, kExecutable);
}

void StageDiscFiles(const std::vector<SDiscCopy>& copies, const fs::path& staging) {
    const fs::path disc = staging / kDisc;
    std::error_code error;
    fs::create_directory(disc, error);
    if (error) Fail("write", disc, error);
    for (const SDiscCopy& copy : copies) {
        const fs::path target = disc / PathOfUtf8(copy.relative);
        fs::create_directories(copy.folder ? target : target.parent_path(), error);
        if (error) Fail("write", target, error);
        if (!copy.folder) {
            CopyFile(copy.source, target, IsExecutable(copy.source) ? kExecutable : kReadable);
        }
    }
}

void SwapIntoPlace(const fs::path& staging, const fs::path& root) {
    std::vector<fs::path> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(staging, error)) {
        if (entry.path().filename() != kDisc) names.push_back(entry.path().filename());
    }
    if (error) Fail("read", staging, error);
    const fs::path aside = staging / kAside;
    fs::create_directory(aside, error);
    if (error) Fail("write", aside, error);

    CSwapSteps steps;
    MergeDiscFiles(staging / kDisc, root, staging / kDiscAside, steps);
    for (const fs::path& name : names) {
        const fs::path target = root / name;
        // A folder cannot be renamed over a file or a folder, nor a file over a folder:
        // what is in the way goes aside whole (so no library of an older player stays
        // behind). A link is replaced itself, never what it points to.
        const fs::file_status old = fs::symlink_status(target, error);
        const bool folderInvolved =
            fs::is_directory(old) || fs::is_directory(fs::symlink_status(staging / name, error));
        if (fs::exists(old) && folderInvolved) steps.Move(target, aside / name);
        steps.Move(staging / name, target);
    }
}

}  // namespace lumtool
