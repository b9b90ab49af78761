#include "MediumTree.h"

#include <system_error>

#include "Command.h"

#ifndef LUM_PAYLOAD_IN_BUILD
#error "the build names the payload folders (LUM_PAYLOAD_IN_BUILD, LUM_PAYLOAD_INSTALLED)"
#endif

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLauncher = "lumplayer";
constexpr const char* kAutorun = "autorun.sh";
constexpr const char* kContent = "content.lum";

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

// Replaces target by a copy of source: a read-only file left by an earlier run is no obstacle.
void CopyFile(const fs::path& source, const fs::path& target, fs::perms permissions) {
    std::error_code error;
    fs::remove(target, error);
    if (error) Fail("replace", target, error);
    if (!fs::copy_file(source, target, error) || error) Fail("write", target, error);
    fs::permissions(target, permissions, error);
    if (error) Fail("set the permissions of", target, error);
}

void CopyContent(const fs::path& content, const fs::path& target) {
    std::error_code error;
    // Writing the medium into the folder the content file already sits in keeps it as it is.
    if (fs::exists(target, error) && fs::equivalent(content, target, error)) return;
    CopyFile(content, target, kReadable);
}

void CopyPrivateFolder(const fs::path& payload, const fs::path& root) {
    const fs::path target = root / kPrivateFolder;
    std::error_code error;
    fs::remove_all(target, error);  // libraries of an older player must not stay behind
    if (error) Fail("replace", target, error);
    fs::copy(payload / kPrivateFolder, target, fs::copy_options::recursive, error);
    if (error) Fail("write", target, error);
    fs::permissions(PrivatePlayer(root), kExecutable, error);
    if (error) Fail("set the permissions of", PrivatePlayer(root), error);
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

void WriteMediumTree(const fs::path& content, const fs::path& payload, const fs::path& root) {
    std::error_code error;
    fs::create_directories(root, error);
    if (error) Fail("create the folder", root, error);
    CopyContent(content, root / kContent);
    CopyPrivateFolder(payload, root);
    CopyFile(payload / kLauncher, root / kLauncher, kExecutable);
    CopyFile(payload / kAutorun, root / kAutorun, kExecutable);
}

}  // namespace lumtool
