#pragma once
// The music on/off icon drawn in the corner of the page, and the program's window icon,
// both built from raw pixels stored in the program.

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>
#include <wx/image.h>

#include <cstdint>

#include "lum/IconData.h"

namespace lum {

// Width and height of both music icons.
inline constexpr int kMusicIconSize = 34;
// A pixel of the icon takes clicks when its alpha exceeds this; fainter ones pass them on.
inline constexpr std::uint8_t kMusicIconHitAlpha = 100;

// Converts raw RGBA pixels into an image with an alpha channel, pixel by pixel.
wxImage MakeRgbaImage(const icondata::SRgbaImage& raw);

// The icon shown while the music plays (true) or is stopped (false), with alpha.
wxBitmap MakeMusicIconBitmap(bool playing);
// The same icon side x side pixels large: the 34-pixel art at that size, else scaled with
// good filtering from the art drawn at twice the size (from the 34-pixel art when smaller).
wxImage MakeMusicIconImage(bool playing, int side);

// The alpha of the icon's pixel at (x, y); 0 outside the icon.
std::uint8_t GetMusicIconAlpha(bool playing, int x, int y);

// The window icon in every size the program carries, and the 32-pixel one alone.
wxIconBundle GetMainIcons();
wxIcon GetMainIcon();

}  // namespace lum
