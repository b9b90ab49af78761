#pragma once
// The player's built-in images as raw pixels (generated at build time by
// tools/gen_builtin_icons.py).

#include <cstdint>

namespace lum::icondata {

// Rows from top to bottom, 4 bytes per pixel: red, green, blue, alpha.
struct SRgbaImage {
    int width;
    int height;
    const std::uint8_t* pixels;
};

extern const SRgbaImage kMusicPlaying;  // 34 x 34
extern const SRgbaImage kMusicStopped;  // 34 x 34, same outline as kMusicPlaying
// The same art drawn at twice the size, for high-density screens and full screen.
extern const SRgbaImage kMusicPlaying2x;  // 68 x 68
extern const SRgbaImage kMusicStopped2x;  // 68 x 68
extern const SRgbaImage kMainIcon16;
extern const SRgbaImage kMainIcon32;
extern const SRgbaImage kMainIcon48;

}  // namespace lum::icondata
