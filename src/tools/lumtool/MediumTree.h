#pragma once
// The files of a medium: the content file, the launcher and autorun.sh at its root, and the
// player's private folder. All but the content file come from the payload that the build
// prepares beside lumtool.

#include <filesystem>
#include <string>
#include <vector>

namespace lumtool {

// The folder, below a medium's root and below the payload, that holds the player and its
// libraries.
inline constexpr const char* kPrivateFolder = ".lumplayer";

// Where lumtool looks for the payload, relative to its own folder: first in the build folder,
// then in an installed prefix.
std::vector<std::filesystem::path> PayloadCandidates(const std::filesystem::path& programFolder);

// The first candidate that holds a complete payload. Raises CUsageError, naming every
// folder it looked in, when none does.
std::filesystem::path FindPayload(const std::filesystem::path& programFolder);

// Whether the payload's player was built with the sanitizers (fine for tests, too slow and
// too large for media that are handed out).
bool PayloadHasSanitizers(const std::filesystem::path& payload);

// Writes the medium below root (created when missing): root/content.lum as a copy of
// content, the launcher and autorun.sh, and the private folder afresh. Other files in root,
// such as the documents the menu opens, stay as they are. Raises CUsageError on failure.
void WriteMediumTree(const std::filesystem::path& content, const std::filesystem::path& payload,
                     const std::filesystem::path& root);

}  // namespace lumtool
