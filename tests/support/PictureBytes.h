#pragma once
// Picture files built byte by byte, so that a test can state every field, damaged or not.

#include <cstdint>
#include <string>
#include <vector>

namespace picturebytes {

using Bytes = std::string;

struct Rgba {
    std::uint8_t r, g, b, a;
};

// The colours the picture tests build their files from.
inline const Rgba kRed{255, 0, 0, 255};
inline const Rgba kGreen{0, 160, 0, 255};
inline const Rgba kBlue{0, 0, 255, 255};
inline const Rgba kWhite{255, 255, 255, 255};

inline Bytes Le(std::uint64_t value, int size) {
    Bytes bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
inline Bytes Be(std::uint64_t value, int size) {
    Bytes bytes;
    for (int i = size - 1; i >= 0; --i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
inline Bytes Raw(std::initializer_list<int> values) {
    Bytes bytes;
    for (const int value : values) bytes += static_cast<char>(value);
    return bytes;
}

// The signature and image header of a PNG (what a size check reads; no pixels).
inline Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    return "\x89PNG\r\n\x1a\n" + Be(13, 4) + "IHDR" + Be(width, 4) + Be(height, 4) +
           Raw({8, 6, 0, 0, 0}) + Be(0, 4);
}

// The start of a JPEG: an APP0 segment, then a frame header of the given kind (0xC0 baseline,
// 0xC2 progressive, ...).
inline Bytes JpegHeader(std::uint32_t width, std::uint32_t height, int frameMarker = 0xC0) {
    const Bytes app = "JFIF" + Bytes(1, '\0') + Raw({1, 1, 0}) + Be(1, 2) + Be(1, 2) + Raw({0, 0});
    return Raw({0xFF, 0xD8, 0xFF, 0xE0}) + Be(app.size() + 2, 2) + app + Raw({0xFF, frameMarker}) +
           Be(11, 2) + Raw({8}) + Be(height, 2) + Be(width, 2) + Raw({1, 1, 0x11, 0});
}

// A bitmap info header of 40 bytes or more (the rest zero). Height below 0: top-down rows.
inline Bytes InfoHeader(std::int32_t width, std::int32_t height, int bits, int compression = 0,
                        std::uint32_t colours = 0, std::uint32_t size = 40) {
    Bytes header = Le(size, 4) + Le(static_cast<std::uint32_t>(width), 4) +
                   Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) + Le(bits, 2) +
                   Le(compression, 4) + Le(0, 4) + Le(2835, 4) + Le(2835, 4) + Le(colours, 4) +
                   Le(0, 4);
    if (size > header.size() && size < 1024) header += Bytes(size - header.size(), '\0');
    return header;
}

// Palette entries (blue, green, red, zero).
inline Bytes Palette(const std::vector<Rgba>& colours) {
    Bytes bytes;
    for (const Rgba& c : colours) bytes += Raw({c.b, c.g, c.r, 0});
    return bytes;
}

// A BMP file; pixelsAt overrides where its file header says the pixels start.
inline Bytes Bmp(const Bytes& header, const Bytes& palette, const Bytes& pixels,
                 std::int64_t pixelsAt = -1) {
    const std::size_t start = 14 + header.size() + palette.size();
    const std::uint64_t at = pixelsAt < 0 ? start : static_cast<std::uint64_t>(pixelsAt);
    return "BM" + Le(start + pixels.size(), 4) + Le(0, 4) + Le(at, 4) + header + palette + pixels;
}

// A 24-bit BMP of the rows, top row first.
inline Bytes Bmp24(const std::vector<std::vector<Rgba>>& rows) {
    Bytes pixels;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        Bytes line;
        for (const Rgba& c : *row) line += Raw({c.b, c.g, c.r});
        pixels += line + Bytes((4 - line.size() % 4) % 4, '\0');
    }
    return Bmp(InfoHeader(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 24), "",
               pixels);
}

// One 32-bit picture of an icon: its info header (height doubled for the mask), the rows
// top row first, and a mask that hides nothing.
inline Bytes IconPicture(const std::vector<std::vector<Rgba>>& rows) {
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    Bytes pixels;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Rgba& c : *row) pixels += Raw({c.b, c.g, c.r, c.a});
    }
    return InfoHeader(width, 2 * height, 32) + pixels +
           Bytes(((width + 31) / 32) * 4 * height, '\0');
}

struct IconEntry {
    int width;  // as the directory says (256 is written as 0)
    int height;
    int bits;
    Bytes picture;
    std::int64_t offset = -1;  // overrides where the directory says the picture is
    std::int64_t size = -1;    // overrides its size in the directory
};

// An icon file; count overrides how many pictures its header claims.
inline Bytes Ico(const std::vector<IconEntry>& entries, int count = -1) {
    const std::size_t directoryEnd = 6 + 16 * entries.size();
    Bytes directory;
    Bytes data;
    for (const IconEntry& e : entries) {
        const std::uint64_t offset = e.offset < 0 ? directoryEnd + data.size() : e.offset;
        const std::uint64_t size = e.size < 0 ? e.picture.size() : e.size;
        directory += Raw({e.width % 256, e.height % 256, 0, 0}) + Le(1, 2) + Le(e.bits, 2) +
                     Le(size, 4) + Le(offset, 4);
        data += e.picture;
    }
    const int claimed = count < 0 ? static_cast<int>(entries.size()) : count;
    return Le(0, 2) + Le(1, 2) + Le(claimed, 2) + directory + data;
}

// One image of a GIF: descriptor and pixels, coded with 8-bit codes and a clear code before
// the code table would grow, so that nothing needs compressing.
inline Bytes GifImage(int left, int top, int width, int height,
                      const std::vector<std::uint8_t>& indices) {
    Bytes codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 126 == 0) codes += static_cast<char>(128);
        codes += static_cast<char>(indices[i]);
    }
    codes += static_cast<char>(129);
    Bytes blocks;
    for (std::size_t i = 0; i < codes.size(); i += 255) {
        const Bytes block = codes.substr(i, 255);
        blocks += static_cast<char>(block.size()) + block;
    }
    return "," + Le(left, 2) + Le(top, 2) + Le(width, 2) + Le(height, 2) + Raw({0, 7}) + blocks +
           Raw({0});
}

// A graphic control extension for the image after it.
inline Bytes GifControl(int delayHundredths, int disposal = 0, int transparent = -1) {
    const int flags = (disposal << 2) | (transparent >= 0 ? 1 : 0);
    return Raw({'!', 0xF9, 4, flags}) + Le(delayHundredths, 2) +
           Raw({transparent >= 0 ? transparent : 0, 0});
}

// A GIF89a file with a global table of four colours: the body, then the trailer.
inline Bytes Gif(int width, int height, const std::vector<Rgba>& colours, const Bytes& body,
                 bool trailer = true) {
    Bytes table;
    for (std::size_t i = 0; i < 4; ++i) {
        const Rgba c = i < colours.size() ? colours[i] : Rgba{0, 0, 0, 255};
        table += Raw({c.r, c.g, c.b});
    }
    return "GIF89a" + Le(width, 2) + Le(height, 2) + Raw({0x81, 0, 0}) + table + body +
           (trailer ? ";" : "");
}

}  // namespace picturebytes
