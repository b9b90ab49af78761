#include "lum/BuiltInIcons.h"

#include <algorithm>

namespace lum {

namespace {

const icondata::SRgbaImage& MusicIcon(bool playing) {
    return playing ? icondata::kMusicPlaying : icondata::kMusicStopped;
}

wxIcon MakeIcon(const icondata::SRgbaImage& raw) {
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(MakeRgbaImage(raw)));
    return icon;
}

}  // namespace

wxImage MakeRgbaImage(const icondata::SRgbaImage& raw) {
    wxImage image(raw.width, raw.height, false);
    image.InitAlpha();
    const std::uint8_t* pixel = raw.pixels;
    for (int y = 0; y < raw.height; ++y) {
        for (int x = 0; x < raw.width; ++x, pixel += 4) {
            image.SetRGB(x, y, pixel[0], pixel[1], pixel[2]);
            image.SetAlpha(x, y, pixel[3]);
        }
    }
    return image;
}

wxBitmap MakeMusicIconBitmap(bool playing) { return wxBitmap(MakeRgbaImage(MusicIcon(playing))); }

wxImage MakeMusicIconImage(bool playing, int side) {
    side = std::max(side, 1);
    if (side == kMusicIconSize) return MakeRgbaImage(MusicIcon(playing));
    const icondata::SRgbaImage& source =
        side > kMusicIconSize ? (playing ? icondata::kMusicPlaying2x : icondata::kMusicStopped2x)
                              : MusicIcon(playing);
    const wxImage image = MakeRgbaImage(source);
    if (side == source.width) return image;
    return image.Scale(side, side, wxIMAGE_QUALITY_HIGH);
}

std::uint8_t GetMusicIconAlpha(bool playing, int x, int y) {
    const auto& raw = MusicIcon(playing);
    if (x < 0 || y < 0 || x >= raw.width || y >= raw.height) return 0;
    return raw.pixels[(static_cast<std::size_t>(y) * raw.width + x) * 4 + 3];
}

wxIconBundle GetMainIcons() {
    wxIconBundle bundle;
    bundle.AddIcon(MakeIcon(icondata::kMainIcon16));
    bundle.AddIcon(MakeIcon(icondata::kMainIcon32));
    bundle.AddIcon(MakeIcon(icondata::kMainIcon48));
    return bundle;
}

wxIcon GetMainIcon() { return MakeIcon(icondata::kMainIcon32); }

}  // namespace lum
