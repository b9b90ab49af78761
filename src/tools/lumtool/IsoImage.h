#pragma once
// ISO 9660 images of a medium's tree, written by xorriso: Rock Ridge keeps the execute bits
// of the launcher and the player, Joliet the long names that Windows reads.

#include <filesystem>
#include <string>

namespace lumtool {

// The longest volume label an ISO 9660 image holds, in bytes.
inline constexpr std::size_t kMaxVolumeLabel = 32;

// The label cut to kMaxVolumeLabel bytes without splitting a UTF-8 letter; line breaks and
// other control characters become blanks.
std::string VolumeLabel(const std::string& name);

// The full path of xorriso on PATH, or an empty path.
std::filesystem::path FindXorriso();

// Writes the image of tree to image: xorriso writes a file of a new name beside it, which
// replaces image (by renaming) only when it is complete and is removed otherwise. Staging
// folders left in tree by killed runs are left out. Raises CUsageError, with xorriso's own
// message, when that fails.
void WriteIsoImage(const std::filesystem::path& xorriso, const std::filesystem::path& tree,
                   const std::filesystem::path& image, const std::string& label);

}  // namespace lumtool
