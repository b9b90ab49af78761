// Run-length coded bitmaps: runs, copied indices, jumps and ends, in 8 and 4 bits, and
// streams that run past the picture or end too soon.
#include "tarn/win32/BmpRunLength.h"

#include <gtest/gtest.h>

#include "PictureBytes.h"

namespace {

using namespace picturebytes;

// The decoded pixels, rows top first: R, G, B, W for the palette's colours, "." for clear,
// "k" for opaque black; or the error.
std::string Decoded(const Bytes& file) {
    tarn::win32::SPixels pixels;
    std::string error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(file.data());
    if (!tarn::win32::DecodeRunLengthBmp(data, file.size(), pixels, error)) return error;
    std::string text;
    for (int y = 0; y < pixels.height; ++y) {
        if (y > 0) text += "|";
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint8_t* p = &pixels.rgba[4 * (y * pixels.width + x)];
            const int colour = p[0] << 16 | p[1] << 8 | p[2];
            if (p[3] == 0) text += colour == 0 ? "." : "?";
            else if (colour == 0xFF0000) text += "R";
            else if (colour == 0x00A000) text += "G";
            else if (colour == 0x0000FF) text += "B";
            else if (colour == 0xFFFFFF) text += "W";
            else if (colour == 0) text += "k";
            else text += "?";
        }
    }
    return text;
}

Bytes Rle(int width, int height, int bits, const Bytes& runs) {
    return Bmp(InfoHeader(width, height, bits, bits == 8 ? 1 : 2, 4),
               Palette({kRed, kGreen, kBlue, kWhite}), runs);
}

TEST(BmpRunLengthTest, RunsCopiesJumpsAndEndsInEightBits) {
    // Bottom row: two red, three copied (green, blue, white, padded), end of row. Middle row: a
    // jump of two right and one up, over the rest of it. Top row: one blue, then the end.
    const Bytes runs = Raw({2, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1});
    const Bytes file = Rle(5, 3, 8, runs);
    EXPECT_TRUE(tarn::win32::IsRunLengthBmp(reinterpret_cast<const std::uint8_t*>(file.data()),
                                            file.size()));
    EXPECT_EQ(Decoded(file), "..B..|.....|RRGBW");
}

TEST(BmpRunLengthTest, FourBitRunsAlternateTheirTwoIndices) {
    // A run of five alternating green and blue; then three copied: white, red, green.
    const Bytes runs = Raw({5, 0x12, 0, 3, 0x30, 0x10, 0, 1});
    EXPECT_EQ(Decoded(Rle(8, 1, 4, runs)), "GBGBGWRG");
}

TEST(BmpRunLengthTest, DamagedStreamsStayInsideThePicture) {
    // A run far past the right edge, then a jump past the top.
    EXPECT_EQ(Decoded(Rle(3, 2, 8, Raw({255, 1, 0, 2, 0, 5, 4, 3, 0, 1}))), "...|GGG");
    // Copied indices the file ends in the middle of, and an index past the palette.
    EXPECT_EQ(Decoded(Rle(4, 1, 8, Raw({0, 5, 2, 9}))), "Bk..");
    // No runs at all, and a stream that ends after half a pair.
    EXPECT_EQ(Decoded(Rle(2, 2, 8, "")), "..|..");
    EXPECT_EQ(Decoded(Rle(2, 1, 8, Raw({2}))), "..");
    // Not run-length coded, or a header that does not fit.
    EXPECT_EQ(Decoded(Bmp(InfoHeader(1, 1, 8), Palette({kRed}), Raw({0, 0, 0, 0}))),
              "is not a run-length coded bitmap");
    EXPECT_EQ(Decoded(Bmp(InfoHeader(2, 1, 8, 1, 200), Palette({kRed}), Raw({0, 1}))),
              "has a damaged run-length bitmap header");
}

}  // namespace
