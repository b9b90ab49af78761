#pragma once
// Reads a file that a command takes as input, a menu folder's or a stranger's: only a regular
// file, and only when its size is within what the command reads. The size is checked before
// anything is read, and reading stops past the limit should the file grow meanwhile.

#include <cstdint>
#include <filesystem>
#include <string>

namespace lumtool {

// The file's bytes; CUsageError naming the file and the reason when it cannot be opened, is
// not a regular file, or holds more than limit bytes ("... is larger than " + reader + ").
std::string ReadInputFile(const std::filesystem::path& path, std::uint64_t limit,
                          const std::string& reader = "the player reads");

}  // namespace lumtool
