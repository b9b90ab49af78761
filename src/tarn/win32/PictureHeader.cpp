#include "tarn/win32/PictureHeader.h"

#include <algorithm>
#include <cstring>

namespace tarn::win32 {
namespace {

// Bounds-checked reading of little- and big-endian numbers.
class CBytes {
public:
    CBytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Size() const { return m_size; }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= m_size && count <= m_size - offset;
    }
    std::uint8_t At(std::size_t offset) const { return m_data[offset]; }
    bool Matches(std::size_t offset, const char* text, std::size_t count) const {
        return Has(offset, count) && std::memcmp(m_data + offset, text, count) == 0;
    }
    std::uint32_t Le16(std::size_t at) const { return At(at) | At(at + 1) << 8; }
    std::uint32_t Le32(std::size_t at) const { return Le16(at) | Le16(at + 2) << 16; }
    std::uint32_t Be16(std::size_t at) const { return At(at) << 8 | At(at + 1); }
    std::uint32_t Be32(std::size_t at) const { return Be16(at) << 16 | Be16(at + 2); }
    CBytes Part(std::size_t offset, std::size_t count) const {
        return CBytes(m_data + offset, count);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr std::size_t kPngSignatureSize = 8;

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

std::string Dimensions(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Accepts a declared size within the limits.
bool CheckSize(std::int64_t width, std::int64_t height, const SPictureLimits& limits,
               std::string& error) {
    if (width <= 0 || height <= 0) {
        return Fail(error, "declares " + Dimensions(width, height) + ", an empty picture");
    }
    if (width > limits.maxSide || height > limits.maxSide) {
        return Fail(error, "declares " + Dimensions(width, height) + ", more than " +
                               std::to_string(limits.maxSide) + " pixels a side");
    }
    if (width * height > limits.maxPixels) {
        return Fail(error, "declares " + Dimensions(width, height) + ", more than " +
                               std::to_string(limits.maxPixels) + " pixels in all");
    }
    return true;
}

bool SetSize(std::int64_t width, std::int64_t height, const SPictureLimits& limits,
             SPictureHeader& header, std::string& error) {
    if (!CheckSize(width, height, limits, error)) return false;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    return true;
}

bool ReadPng(const CBytes& bytes, const SPictureLimits& limits, SPictureHeader& header,
             std::string& error) {
    if (!bytes.Matches(0, kPngSignature, kPngSignatureSize))
        return Fail(error, "is not a PNG file");
    if (!bytes.Has(0, 24) || bytes.Be32(8) != 13 || !bytes.Matches(12, "IHDR", 4)) {
        return Fail(error, "has no PNG image header");
    }
    return SetSize(bytes.Be32(16), bytes.Be32(20), limits, header, error);
}

// Frame headers: every start-of-frame marker but DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the markers as libjpeg does (bytes between segments are skipped up to the next 0xFF)
// to the first frame header, which gives the size libjpeg will allocate for.
bool ReadJpeg(const CBytes& bytes, const SPictureLimits& limits, SPictureHeader& header,
              std::string& error) {
    if (!bytes.Has(0, 2) || bytes.At(0) != 0xFF || bytes.At(1) != 0xD8) {
        return Fail(error, "is not a JPEG file");
    }
    std::size_t at = 2;
    while (true) {
        while (at < bytes.Size() && bytes.At(at) != 0xFF) ++at;
        while (at < bytes.Size() && bytes.At(at) == 0xFF) ++at;
        if (at >= bytes.Size()) return Fail(error, "ends before its JPEG frame header");
        const std::uint8_t marker = bytes.At(at++);
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
            return Fail(error, "has no JPEG frame header before its image data");
        }
        if (!bytes.Has(at, 2) || bytes.Be16(at) < 2)
            return Fail(error, "has a damaged JPEG marker");
        const std::size_t length = bytes.Be16(at);
        if (IsFrameHeader(marker)) {
            if (length < 8 || !bytes.Has(at, 7))
                return Fail(error, "has a damaged JPEG frame header");
            return SetSize(bytes.Be16(at + 5), bytes.Be16(at + 3), limits, header, error);
        }
        at += length;
    }
}

bool IsBmpInfoSize(std::uint32_t size) {
    for (const std::uint32_t known : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        if (size == known) return true;
    }
    return false;
}

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

bool CheckCompression(std::uint32_t compression, std::uint32_t bits, bool topDown, bool icon,
                      std::string& error) {
    const bool fits = compression == kRgb || (compression == kRle8 && bits == 8) ||
                      (compression == kRle4 && bits == 4) ||
                      (compression == kBitFields && (bits == 16 || bits == 32));
    if (!fits || (icon && compression != kRgb)) {
        return Fail(error, "uses compression " + std::to_string(compression) + " with " +
                               std::to_string(bits) + " bits per pixel, which is not read");
    }
    if (topDown && compression != kRgb && compression != kBitFields) {
        return Fail(error, "is stored top-down and compressed, which no bitmap may be");
    }
    return true;
}

// Uncompressed pixels the decoder reads row by row: a file cut short among them would leave
// the rows it never reached as they were allocated, so it is refused.
bool CheckPixelsFit(const CBytes& dib, std::uint64_t pixelsAt, std::int64_t width,
                    std::int64_t height, std::uint32_t bits, bool icon, std::string& error) {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t maskBytes = icon ? (static_cast<std::uint64_t>(width) + 31) / 32 * 4 : 0;
    const std::uint64_t needed = (rowBytes + maskBytes) * static_cast<std::uint64_t>(height);
    if (dib.Has(pixelsAt, needed)) return true;
    return Fail(error, "is cut short: its pixels need " + std::to_string(needed) +
                           " bytes from byte " + std::to_string(pixelsAt) + ", it has " +
                           std::to_string(dib.Size()));
}

// A bitmap's info header and palette, at the start of dib (a BMP file after its file header,
// or one picture of an icon, whose height counts the transparency mask too). The pixels start
// at pixelsAt within dib, or right after the palette when that is earlier.
bool ReadDib(const CBytes& dib, bool icon, std::int64_t pixelsAt, const SPictureLimits& limits,
             SPictureHeader& header, std::string& error) {
    if (!dib.Has(0, 4)) return Fail(error, "ends inside its bitmap header");
    const std::uint32_t infoSize = dib.Le32(0);
    if (!IsBmpInfoSize(infoSize) || (icon && infoSize < 40)) {
        return Fail(error, "has a bitmap header of " + std::to_string(infoSize) +
                               " bytes, which no bitmap has");
    }
    if (!dib.Has(0, infoSize)) return Fail(error, "ends inside its bitmap header");
    const bool core = infoSize == 12;
    // Sizes are signed in the longer headers: a negative height means rows top-down.
    const auto signed32 = [&](std::size_t at) -> std::int64_t {
        return static_cast<std::int32_t>(dib.Le32(at));
    };
    const std::int64_t width = core ? std::int64_t{dib.Le16(4)} : signed32(4);
    std::int64_t height = core ? std::int64_t{dib.Le16(6)} : signed32(8);
    const std::uint32_t bits = dib.Le16(core ? 10 : 14);
    const std::uint32_t compression = core ? kRgb : dib.Le32(16);
    const std::uint32_t coloursUsed = core ? 0 : dib.Le32(32);
    if (icon) height /= 2;
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Fail(error, "has " + std::to_string(bits) + " bits per pixel, which no bitmap has");
    }
    if (!CheckSize(width, height, limits, error)) return false;
    if (!CheckCompression(compression, bits, topDown, icon, error)) return false;
    if (bits <= 8 && coloursUsed > (1u << bits)) {
        return Fail(error, "has a palette of " + std::to_string(coloursUsed) + " colours for " +
                               std::to_string(bits) + " bits per pixel");
    }
    const std::uint64_t colours = coloursUsed != 0 ? coloursUsed : (bits <= 8 ? 1u << bits : 0);
    const std::uint64_t paletteBytes = colours * (core ? 3 : 4);
    if (!dib.Has(infoSize, paletteBytes))
        return Fail(error, "has a palette that runs past its end");
    if (!SetSize(width, height, limits, header, error)) return false;
    if (compression == kRle8 || compression == kRle4) return true;  // decoded onto a clear picture
    // Pixels never start inside the headers, whatever the file header says.
    const std::uint64_t masks = compression == kBitFields && infoSize == 40 ? 12 : 0;
    const std::uint64_t start = std::max<std::uint64_t>(infoSize + masks + paletteBytes,
                                                        std::max<std::int64_t>(pixelsAt, 0));
    return CheckPixelsFit(dib, start, width, height, bits, icon, error);
}

bool ReadBmp(const CBytes& bytes, const SPictureLimits& limits, SPictureHeader& header,
             std::string& error) {
    if (!bytes.Has(0, 18) || !bytes.Matches(0, "BM", 2)) return Fail(error, "is not a BMP file");
    const std::uint32_t pixelsAt = bytes.Le32(10);
    if (pixelsAt > bytes.Size()) {
        return Fail(error, "says its pixels start at byte " + std::to_string(pixelsAt) +
                               ", past its end at " + std::to_string(bytes.Size()));
    }
    const std::int64_t pixelsInDib = std::max<std::int64_t>(std::int64_t{pixelsAt} - 14, 0);
    return ReadDib(bytes.Part(14, bytes.Size() - 14), false, pixelsInDib, limits, header, error);
}

bool ReadIconEntry(const CBytes& bytes, std::size_t index, std::size_t directoryEnd,
                   const SPictureLimits& limits, SIconEntry& icon, std::string& error) {
    const std::size_t at = 6 + 16 * index;
    const std::string which = "its picture " + std::to_string(index + 1);
    icon.directoryWidth = bytes.At(at) == 0 ? 256 : bytes.At(at);
    icon.colourCount = bytes.At(at + 2) == 0 ? 255 : bytes.At(at + 2);
    icon.size = bytes.Le32(at + 8);
    icon.offset = bytes.Le32(at + 12);
    if (icon.size == 0 || icon.offset < directoryEnd || !bytes.Has(icon.offset, icon.size)) {
        return Fail(error, "says " + which + " lies at bytes " + std::to_string(icon.offset) +
                               " to " + std::to_string(std::uint64_t{icon.offset} + icon.size) +
                               ", outside its pictures (" + std::to_string(directoryEnd) + " to " +
                               std::to_string(bytes.Size()) + ")");
    }
    const CBytes picture = bytes.Part(icon.offset, icon.size);
    icon.png = picture.Matches(0, kPngSignature, kPngSignatureSize);
    SPictureHeader own;
    const bool read = icon.png ? ReadPng(picture, limits, own, error)
                               : ReadDib(picture, true, 0, limits, own, error);
    if (!read) return Fail(error, which + " " + error);
    icon.width = own.width;
    icon.height = own.height;
    return true;
}

bool ReadIco(const CBytes& bytes, const SPictureLimits& limits, SPictureHeader& header,
             std::string& error) {
    if (!bytes.Has(0, 6) || bytes.Le16(0) != 0 || bytes.Le16(2) != 1) {
        return Fail(error, "is not an icon file");
    }
    const std::size_t count = bytes.Le16(4);
    if (count == 0) return Fail(error, "holds no pictures");
    const std::size_t directoryEnd = 6 + 16 * count;
    if (!bytes.Has(0, directoryEnd)) {
        return Fail(error, "lists " + std::to_string(count) +
                               " pictures, more than its directory has room for");
    }
    header.icons.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReadIconEntry(bytes, i, directoryEnd, limits, header.icons[i], error)) return false;
    }
    const SIconEntry& chosen = header.icons[ChooseIcon(header.icons)];
    header.width = chosen.width;
    header.height = chosen.height;
    return true;
}

// GIF data: sub-blocks, each a length byte and that many bytes, up to an empty one.
bool SkipSubBlocks(const CBytes& bytes, std::size_t& at) {
    while (at < bytes.Size()) {
        const std::size_t length = bytes.At(at++);
        if (length == 0) return true;
        at += length;
    }
    return false;
}

std::size_t ColourTableSize(std::uint8_t flags) {
    return (flags & 0x80) != 0 ? 3 * (std::size_t{2} << (flags & 0x07)) : 0;
}

// An extension after its introducer. The graphic control and application extensions' first
// block is read whatever its length, as GdkPixbuf reads it, so that both see the same frames.
bool ReadGifExtension(const CBytes& bytes, std::size_t& at, int& delay) {
    if (at >= bytes.Size()) return false;
    const std::uint8_t label = bytes.At(at++);
    if (label == 0xF9 || label == 0xFF) {
        if (at >= bytes.Size()) return false;
        const std::size_t length = bytes.At(at++);
        if (!bytes.Has(at, length)) return false;
        if (label == 0xF9 && length >= 4) delay = static_cast<int>(bytes.Le16(at + 1)) * 10;
        at += length;
    }
    return SkipSubBlocks(bytes, at);
}

enum class EGifImage { Read, Cut, Refused };

// An image after its separator, whose size is checked as soon as it is known. A frame that
// starts beyond the canvas shows nothing, and GdkPixbuf's clearing of it (disposal 2) would
// write before its own buffer, so such a file is refused.
EGifImage ReadGifImage(const CBytes& bytes, std::size_t& at, const SPictureHeader& canvas,
                       const SPictureLimits& limits, SGifFrame& frame, std::string& error) {
    if (!bytes.Has(at, 9)) return EGifImage::Cut;
    frame.left = static_cast<int>(bytes.Le16(at));
    frame.top = static_cast<int>(bytes.Le16(at + 2));
    frame.width = static_cast<int>(bytes.Le16(at + 4));
    frame.height = static_cast<int>(bytes.Le16(at + 6));
    if (!CheckSize(frame.width, frame.height, limits, error)) return EGifImage::Refused;
    if (frame.left >= canvas.width || frame.top >= canvas.height) {
        error = "starts at " + std::to_string(frame.left) + "," + std::to_string(frame.top) +
                ", outside the canvas";
        return EGifImage::Refused;
    }
    at += 9 + ColourTableSize(bytes.At(at + 8));
    if (at >= bytes.Size()) return EGifImage::Cut;
    if (bytes.At(at++) >= 12) {
        error = "has a damaged LZW code size";
        return EGifImage::Refused;
    }
    return SkipSubBlocks(bytes, at) ? EGifImage::Read : EGifImage::Cut;
}

// Every frame, as GdkPixbuf walks the file: bytes that start no block are passed over.
bool ReadGif(const CBytes& bytes, const SPictureLimits& limits, SPictureHeader& header,
             std::string& error) {
    if (!bytes.Has(0, 13) || !bytes.Matches(0, "GIF", 3) ||
        !(bytes.Matches(3, "87a", 3) || bytes.Matches(3, "89a", 3))) {
        return Fail(error, "is not a GIF file");
    }
    if (!SetSize(bytes.Le16(6), bytes.Le16(8), limits, header, error)) return false;
    std::size_t at = 13 + ColourTableSize(bytes.At(10));
    int delay = -1;
    header.complete = false;
    while (at < bytes.Size()) {
        const std::uint8_t introducer = bytes.At(at++);
        if (introducer == ';') {
            header.complete = true;
            break;
        }
        if (introducer == '!') {
            if (!ReadGifExtension(bytes, at, delay)) break;
        } else if (introducer == ',') {
            SGifFrame frame;
            frame.delay = delay;
            const EGifImage image = ReadGifImage(bytes, at, header, limits, frame, error);
            if (image == EGifImage::Refused) {
                return Fail(error,
                            "frame " + std::to_string(header.frames.size() + 1) + " " + error);
            }
            if (image == EGifImage::Cut) break;
            header.frames.push_back(frame);
        }
    }
    if (header.frames.empty()) return Fail(error, "holds no frames");
    return true;
}

}  // namespace

bool ReadPictureHeader(EPictureFormat format, const std::uint8_t* data, std::size_t size,
                       const SPictureLimits& limits, SPictureHeader& header, std::string& error) {
    header = SPictureHeader();
    const CBytes bytes(data, size);
    switch (format) {
        case EPictureFormat::Png:
            return ReadPng(bytes, limits, header, error);
        case EPictureFormat::Jpeg:
            return ReadJpeg(bytes, limits, header, error);
        case EPictureFormat::Bmp:
            return ReadBmp(bytes, limits, header, error);
        case EPictureFormat::Ico:
            return ReadIco(bytes, limits, header, error);
        case EPictureFormat::Gif:
            return ReadGif(bytes, limits, header, error);
    }
    return Fail(error, "is of an unknown format");
}

std::size_t ChooseIcon(const std::vector<SIconEntry>& icons) {
    std::size_t chosen = 0;
    int widest = 0;
    int colours = 0;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (icons[i].directoryWidth >= widest && icons[i].colourCount >= colours) {
            chosen = i;
            widest = icons[i].directoryWidth;
            colours = icons[i].colourCount;
        }
    }
    return chosen;
}

}  // namespace tarn::win32
