#pragma once
// The Windows half of a medium: lumplayer.exe at the root and the autorun.inf that names it.

#include <filesystem>
#include <string>

namespace lumtool {

inline constexpr const char* kWindowsPlayerName = "lumplayer.exe";

// The autorun.inf text (UTF-8) for a menu: open runs the player, icon is the product's icon
// file (relative to the medium, with "\") or the player's own icon, label its title. Line
// breaks and other control characters in the title or icon name become blanks, so that a
// title can add no lines of its own.
std::string AutorunInf(const std::string& title, const std::string& iconFile);

// The Windows player to put on a medium: the one given, else lumplayer.exe beside lumtool;
// empty when none is given and none is there. Raises CUsageError for a given file that is
// missing or not a Windows program.
std::filesystem::path FindWindowsPlayer(const std::string& given,
                                        const std::filesystem::path& programFolder);

// Copies the player to root/lumplayer.exe and writes root/autorun.inf (UTF-16 with a byte
// order mark, which Windows reads for titles beyond ASCII). Raises CUsageError on failure.
void WriteWindowsPlayer(const std::filesystem::path& player, const std::filesystem::path& root,
                        const std::string& title, const std::string& iconFile);

}  // namespace lumtool
