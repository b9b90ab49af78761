#pragma once
// The files of a medium: the content file, the launcher and autorun.sh at its root, and the
// player's private folder. All but the content file come from the payload that the build
// prepares beside lumtool.
//
// They are written into a staging folder inside the medium's root (same file system, so
// they can be renamed into place, and writable wherever the root is, even when the root is
// a mounted stick) and swapped in at the end: a failure leaves the old medium as it was.

#include <filesystem>
#include <string>
#include <vector>

namespace lumtool {

// The folder, below a medium's root and below the payload, that holds the player and its
// libraries.
inline constexpr const char* kPrivateFolder = ".lumplayer";

// How the staging folders in a medium's root begin. One left by a killed run can be removed;
// no player reads it and the ISO image leaves it out.
inline constexpr const char* kMediumStagingPrefix = ".lumtool-medium-";

// Where lumtool looks for the payload, relative to its own folder: first in the build folder,
// then in an installed prefix.
std::vector<std::filesystem::path> PayloadCandidates(const std::filesystem::path& programFolder);

// The first candidate that holds a complete payload. Raises CUsageError, naming every
// folder it looked in, when none does.
std::filesystem::path FindPayload(const std::filesystem::path& programFolder);

// Whether the payload's player was built with the sanitizers (fine for tests, too slow and
// too large for media that are handed out).
bool PayloadHasSanitizers(const std::filesystem::path& payload);

// The staging folders of earlier runs that were killed, in root.
std::vector<std::filesystem::path> LeftoverStagingFolders(const std::filesystem::path& root);

// Writes the medium's own files into staging: staging/content.lum as a copy of content, the
// launcher, autorun.sh and the private folder. Raises CUsageError with the system's reason
// on failure, and when a signal asks to stop.
void StageMediumTree(const std::filesystem::path& content, const std::filesystem::path& payload,
                     const std::filesystem::path& staging);
// The same without the content file, for a staging/content.lum written otherwise.
void StagePlayer(const std::filesystem::path& payload, const std::filesystem::path& staging);

// A file or folder of the disc that goes onto the medium, at its path below the medium's root.
struct SDiscCopy {
    std::filesystem::path source;
    std::string relative;  // "/" between folders
    bool folder = false;   // made even when empty, for an action that opens it
};

// Copies the disc's files into a folder of staging of their own (executable for everyone when
// the source is executable for anyone, else readable for everyone). Raises CUsageError with
// the system's reason on failure, and when a signal asks to stop.
void StageDiscFiles(const std::vector<SDiscCopy>& copies, const std::filesystem::path& staging);

// Moves every file and folder of staging into root, each over the one of that name; a
// folder in the way is first moved aside into staging (for the staging folder's owner to
// remove with it). The disc's files that StageDiscFiles staged are moved file by file into
// the folders of root, which are made where missing; what they replace goes aside too. Other
// files in root, such as the author's own documents, stay as they are. A folder on the way
// that is a link is never written through. On failure the moves made are undone and
// CUsageError is raised.
void SwapIntoPlace(const std::filesystem::path& staging, const std::filesystem::path& root);

}  // namespace lumtool
