#include "tarn/win32/BmpRunLength.h"

namespace tarn::win32 {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;

std::uint32_t Le32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

// Writes palette colours into a picture stored bottom row first.
class CRunCanvas {
public:
    CRunCanvas(SPixels& pixels, const std::uint8_t* palette, std::uint64_t colours)
        : m_pixels(pixels), m_palette(palette), m_colours(colours) {}

    void Put(std::int64_t x, std::int64_t row, unsigned index) {
        if (x < 0 || x >= m_pixels.width || row < 0 || row >= m_pixels.height) return;
        const std::int64_t y = m_pixels.height - 1 - row;
        std::uint8_t* to = &m_pixels.rgba[static_cast<std::size_t>((y * m_pixels.width + x) * 4)];
        // An index past the palette is black, as in a palette filled up with zeros.
        const std::uint8_t* bgr = index < m_colours ? m_palette + 4 * std::size_t{index} : nullptr;
        to[0] = bgr ? bgr[2] : 0;
        to[1] = bgr ? bgr[1] : 0;
        to[2] = bgr ? bgr[0] : 0;
        to[3] = 255;
    }

private:
    SPixels& m_pixels;
    const std::uint8_t* m_palette;
    std::uint64_t m_colours;
};

}  // namespace

bool IsRunLengthBmp(const std::uint8_t* data, std::size_t size) {
    if (size < kFileHeader + 20 || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint8_t* info = data + kFileHeader;
    // The oldest header (12 bytes) has no compression field.
    if (Le32(info) < 40) return false;
    const std::uint32_t compression = Le32(info + 16);
    return compression == kRle8 || compression == kRle4;
}

bool DecodeRunLengthBmp(const std::uint8_t* data, std::size_t size, SPixels& pixels,
                        std::string& error) {
    if (!IsRunLengthBmp(data, size)) {
        error = "is not a run-length coded bitmap";
        return false;
    }
    const std::uint8_t* info = data + kFileHeader;
    const std::uint32_t infoSize = Le32(info);
    const auto width = static_cast<std::int32_t>(Le32(info + 4));
    const auto height = static_cast<std::int32_t>(Le32(info + 8));
    const unsigned bits = Le16(info + 14);
    const bool fourBits = Le32(info + 16) == kRle4;
    const std::uint32_t coloursUsed = infoSize >= 36 ? Le32(info + 32) : 0;
    const std::uint64_t colours = coloursUsed != 0 ? coloursUsed : std::uint64_t{1} << bits;
    const std::uint64_t paletteAt = kFileHeader + std::uint64_t{infoSize};
    if (width <= 0 || height <= 0 || bits != (fourBits ? 4u : 8u) ||
        paletteAt + 4 * colours > size) {
        error = "has a damaged run-length bitmap header";
        return false;
    }
    pixels.width = width;
    pixels.height = height;
    pixels.rgba.assign(std::size_t{4} * static_cast<std::size_t>(width) * height, 0);
    CRunCanvas canvas(pixels, data + paletteAt, colours);
    const auto indexAt = [&](std::uint8_t byte, std::int64_t i) -> unsigned {
        if (!fourBits) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    };

    std::size_t at = Le32(data + 10);
    std::int64_t x = 0;
    std::int64_t row = 0;
    while (at + 1 < size && row < height) {
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {  // a run of one index, or of two alternating ones
            for (std::int64_t i = 0; i < count; ++i) canvas.Put(x++, row, indexAt(value, i));
        } else if (value == 0) {  // end of the row
            x = 0;
            ++row;
        } else if (value == 1) {  // end of the picture
            break;
        } else if (value == 2) {  // a jump right and up, over pixels left unset
            if (at + 1 >= size) break;
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {  // value indices as they stand, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
            for (std::int64_t i = 0; i < value; ++i) {
                const std::size_t byteAt = at + static_cast<std::size_t>(fourBits ? i / 2 : i);
                if (byteAt >= size) break;
                canvas.Put(x++, row, indexAt(data[byteAt], i));
            }
            at += (bytes + 1) & ~std::size_t{1};
        }
    }
    return true;
}

}  // namespace tarn::win32
