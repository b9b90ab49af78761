#pragma once
// What a picture file declares about itself, read from its header without decoding it: its
// size and, for icons and GIFs, every picture inside. Checked before any decoder allocates,
// so that a small file cannot make a decoder claim gigabytes. Standard C++ only: every
// platform's decoder uses it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarn::win32 {

enum class EPictureFormat { Png, Jpeg, Bmp, Ico, Gif };

// The largest picture accepted: 16384 pixels a side and 64 Mi pixels (8192 x 8192) in all.
struct SPictureLimits {
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t{64} << 20;

    int maxSide = kMaxSide;
    std::int64_t maxPixels = kMaxPixels;
};

// The most bytes of one picture file that are read: 64 Mi pixels of 32 bits, plus one MiB for
// headers and palettes.
inline constexpr std::size_t kMaxPictureBytes = std::size_t{257} << 20;

struct SIconEntry {
    std::uint32_t offset = 0;  // of its picture within the file
    std::uint32_t size = 0;    // in bytes
    bool png = false;          // a PNG file rather than a bitmap without file header
    int directoryWidth = 0;    // as the directory says, 0 read as 256
    int colourCount = 0;       // as the directory says, 0 read as 255 (more than 8 bits)
    int width = 0;             // as the picture's own header says
    int height = 0;
};

struct SGifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = -1;  // milliseconds, as stored (hundredths times ten); -1 when none is given
};

struct SPictureHeader {
    int width = 0;  // the picture; for an icon the one ChooseIcon picks, for a GIF the canvas
    int height = 0;
    std::vector<SIconEntry> icons;  // icons only
    std::vector<SGifFrame> frames;  // GIFs only
    bool complete = true;           // GIFs: the trailer was reached
};

// Reads the header of a picture of the given format. False, with the reason, when the header
// is damaged, points outside the file, or declares a picture above the limits.
bool ReadPictureHeader(EPictureFormat format, const std::uint8_t* data, std::size_t size,
                       const SPictureLimits& limits, SPictureHeader& header, std::string& error);

// The picture of an icon file shown when none is asked for: the widest, and among those the
// one with the most colours; a later entry wins a tie.
std::size_t ChooseIcon(const std::vector<SIconEntry>& icons);

}  // namespace tarn::win32
