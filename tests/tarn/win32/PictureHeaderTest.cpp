// Declared sizes read from picture headers, and the headers that are refused before any
// decoder sees them.

#include "tarn/win32/PictureHeader.h"

#include <gtest/gtest.h>

#include "PictureBytes.h"

namespace {

using namespace picturebytes;
using tarn::win32::EPictureFormat;
using tarn::win32::SPictureHeader;
using tarn::win32::SPictureLimits;

struct SRead {
    bool ok = false;
    SPictureHeader header;
    std::string error;
};

SRead Read(EPictureFormat format, const Bytes& bytes, SPictureLimits limits = {}) {
    SRead read;
    read.ok =
        tarn::win32::ReadPictureHeader(format, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       bytes.size(), limits, read.header, read.error);
    return read;
}

// "WxH" when read, else the reason.
std::string Size(EPictureFormat format, const Bytes& bytes, SPictureLimits limits = {}) {
    const SRead read = Read(format, bytes, limits);
    if (!read.ok) return read.error;
    return std::to_string(read.header.width) + "x" + std::to_string(read.header.height);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const Bytes kTinyIcon = IconPicture({{kRed, kRed}, {kRed, kRed}});

TEST(PictureHeaderTest, EachFormatGivesTheSizeItsDecoderWillAllocate) {
    EXPECT_EQ(Size(EPictureFormat::Png, PngHeader(300, 200)), "300x200");
    EXPECT_EQ(Size(EPictureFormat::Jpeg, JpegHeader(640, 480)), "640x480");
    EXPECT_EQ(Size(EPictureFormat::Jpeg, JpegHeader(64, 32, 0xC2)), "64x32");  // progressive
    // libjpeg passes over stray bytes and fill bytes between segments; so does the check.
    const Bytes jpeg = JpegHeader(7, 9);
    const Bytes stray = jpeg.substr(0, 20) + "junk" + Raw({0xFF, 0xFF}) + jpeg.substr(20);
    EXPECT_EQ(Size(EPictureFormat::Jpeg, stray), "7x9");
    // A DHT segment (C4) lies in the range of frame markers but declares no size.
    const Bytes table = Raw({0xFF, 0xD8, 0xFF, 0xC4}) + Be(4, 2) + Raw({0, 0});
    EXPECT_EQ(Size(EPictureFormat::Jpeg, table + JpegHeader(5, 6).substr(2)), "5x6");

    const Bytes rows(3 * 16, '\0');  // three rows of five 24-bit pixels, each padded to 16 bytes
    EXPECT_EQ(Size(EPictureFormat::Bmp, Bmp(InfoHeader(5, 3, 24), "", rows)), "5x3");
    EXPECT_EQ(Size(EPictureFormat::Bmp, Bmp(InfoHeader(5, -3, 24), "", rows)), "5x3");
    EXPECT_EQ(Size(EPictureFormat::Bmp, Bmp(InfoHeader(4, 4, 32, 3, 0, 124), "", Bytes(64, '\0'))),
              "4x4");
    const Bytes core = Le(12, 4) + Le(600, 2) + Le(2, 2) + Le(1, 2) + Le(24, 2);
    EXPECT_EQ(Size(EPictureFormat::Bmp, Bmp(core, "", Bytes(3600, '\0'))), "600x2");
    // Uncompressed pixels cut short would be left as they were allocated: refused.
    EXPECT_EQ(Size(EPictureFormat::Bmp, Bmp(InfoHeader(5, 3, 24), "", rows.substr(1))),
              "is cut short: its pixels need 48 bytes from byte 40, it has 87");
    EXPECT_TRUE(Contains(Size(EPictureFormat::Bmp, Bmp(InfoHeader(5, 3, 24), "", rows, 60)),
                         "is cut short: its pixels need 48 bytes from byte 46"));

    // An icon's height counts its mask too; the size is that of the picture chosen.
    const Bytes wide = InfoHeader(32, 16, 32) + Bytes(32 * 8 * 4 + 4 * 8, '\0');
    EXPECT_EQ(Size(EPictureFormat::Ico, Ico({{2, 2, 32, kTinyIcon}, {32, 8, 32, wide}})), "32x8");
    EXPECT_EQ(Size(EPictureFormat::Gif, Gif(40, 30, {kRed}, GifImage(0, 0, 1, 1, {0}))), "40x30");
}

TEST(PictureHeaderTest, DeclaredSizesAboveTheLimitsAreRefused) {
    const std::string kHuge = "65535 x 65535 pixels, more than 16384 pixels a side";
    EXPECT_TRUE(Contains(Size(EPictureFormat::Png, PngHeader(65535, 65535)), kHuge));
    EXPECT_TRUE(Contains(Size(EPictureFormat::Jpeg, JpegHeader(65535, 65535)), kHuge));
    EXPECT_TRUE(
        Contains(Size(EPictureFormat::Bmp, Bmp(InfoHeader(65535, 65535, 8, 1), "", "")), kHuge));
    const Bytes hugeDib = InfoHeader(65535, 2 * 65535, 32) + Bytes(64, '\0');
    EXPECT_TRUE(Contains(Size(EPictureFormat::Ico, Ico({{0, 0, 32, hugeDib}})), kHuge));
    EXPECT_TRUE(
        Contains(Size(EPictureFormat::Ico, Ico({{0, 0, 32, PngHeader(65535, 65535)}})), kHuge));
    EXPECT_TRUE(Contains(
        Size(EPictureFormat::Gif, Gif(65535, 65535, {kRed}, GifImage(0, 0, 1, 1, {0}))), kHuge));
    // Each frame counts, not only the canvas: GdkPixbuf allocates a frame's own rectangle.
    const SRead frame =
        Read(EPictureFormat::Gif,
             Gif(1, 1, {kRed}, GifImage(0, 0, 1, 1, {0}) + GifImage(0, 0, 65535, 65535, {0})));
    EXPECT_FALSE(frame.ok);
    EXPECT_TRUE(Contains(frame.error, "frame 2 declares " + kHuge)) << frame.error;

    // The edges: a side of 16384 passes, one more does not; 64 Mi pixels pass, more do not.
    EXPECT_EQ(Size(EPictureFormat::Png, PngHeader(16384, 4096)), "16384x4096");
    EXPECT_TRUE(Contains(Size(EPictureFormat::Png, PngHeader(16385, 1)), "16384 pixels a side"));
    EXPECT_TRUE(Contains(Size(EPictureFormat::Png, PngHeader(8193, 8192)), "pixels in all"));
    SPictureLimits small;
    small.maxPixels = 99;
    EXPECT_EQ(Size(EPictureFormat::Png, PngHeader(9, 11), small), "9x11");
    EXPECT_TRUE(Contains(Size(EPictureFormat::Png, PngHeader(10, 10), small), "more than 99"));
    EXPECT_TRUE(Contains(Size(EPictureFormat::Png, PngHeader(0, 10)), "an empty picture"));
    EXPECT_TRUE(Contains(Size(EPictureFormat::Jpeg, JpegHeader(10, 0)), "an empty picture"));
}

TEST(PictureHeaderTest, BitmapHeadersWhoseSizesOverflowOrLieAreRefused) {
    const auto bmpError = [](const Bytes& bytes) { return Size(EPictureFormat::Bmp, bytes); };
    const Bytes pixels(64, '\0');
    Bytes hugeInfo = Bmp(InfoHeader(4, 4, 8), "", pixels);
    hugeInfo.replace(14, 4, Le(0xFFFFFFF0u, 4));
    EXPECT_TRUE(Contains(bmpError(hugeInfo), "bitmap header of 4294967280 bytes"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 8, 0, 0, 41), "", pixels)), "41 bytes"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 24, 0, 0, 124), "", "", 14).substr(0, 60)),
                         "ends inside its bitmap header"));
    // Width times height times bits overflows 32 bits.
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(0x40000000, 8, 32), "", pixels)), "a side"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(-4, 4, 24), "", pixels)), "empty picture"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, INT32_MIN, 24), "", pixels)), "a side"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 24), "", pixels, 100000)),
                         "pixels start at byte 100000, past its end"));
    EXPECT_TRUE(
        Contains(bmpError(Bmp(InfoHeader(4, 4, 8, 0, 257), "", pixels)), "palette of 257 colours"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 8), Bytes(16, '\0'), "")),
                         "palette that runs past its end"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, -4, 8, 1), "", pixels)), "top-down"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 4, 1), "", pixels)), "compression 1"));
    EXPECT_TRUE(Contains(bmpError(Bmp(InfoHeader(4, 4, 7), "", pixels)), "7 bits per pixel"));
    EXPECT_EQ(bmpError("BM"), "is not a BMP file");
}

TEST(PictureHeaderTest, IconDirectoriesThatPointOutsideTheFileOrLieAreRefused) {
    const auto icoError = [](const Bytes& bytes) { return Size(EPictureFormat::Ico, bytes); };
    IconEntry pastEnd{2, 2, 32, kTinyIcon};
    pastEnd.offset = 1 << 30;
    EXPECT_TRUE(Contains(icoError(Ico({pastEnd})), "its picture 1 lies at bytes 1073741824"));
    IconEntry tooLong{2, 2, 32, kTinyIcon};
    tooLong.size = 1 << 20;
    EXPECT_TRUE(Contains(icoError(Ico({{2, 2, 32, kTinyIcon}, tooLong})), "its picture 2 lies"));
    IconEntry inDirectory{2, 2, 32, kTinyIcon};
    inDirectory.offset = 2;
    EXPECT_TRUE(Contains(icoError(Ico({inDirectory})), "outside its pictures (22 to"));
    EXPECT_TRUE(Contains(icoError(Ico({{2, 2, 32, kTinyIcon}}, 65535)),
                         "lists 65535 pictures, more than its directory has room for"));
    EXPECT_EQ(icoError(Ico({}, 0)), "holds no pictures");
    // Its own header must be a bitmap's (or a PNG file's) and fit the limits.
    EXPECT_TRUE(Contains(icoError(Ico({{2, 2, 32, Le(0x7FFFFFFF, 4) + kTinyIcon.substr(4)}})),
                         "its picture 1 has a bitmap header of 2147483647 bytes"));
    EXPECT_TRUE(Contains(icoError(Ico({{2, 2, 32, InfoHeader(2, 4, 32, 1) + Bytes(24, '\0')}})),
                         "its picture 1 uses compression 1"));
    const Bytes bigPalette = InfoHeader(2, 4, 8, 0, 0x10000000) + Bytes(40, '\0');
    EXPECT_TRUE(Contains(icoError(Ico({{2, 2, 8, bigPalette}})), "palette of 268435456 colours"));
    EXPECT_EQ(icoError(Raw({0, 0, 2, 0, 1, 0})), "is not an icon file");  // a cursor
}

TEST(PictureHeaderTest, GifWalkFindsEveryFrameWithItsStoredDelay) {
    const Bytes body = GifImage(0, 0, 2, 2, {0, 1, 1, 0}) + GifControl(7, 2) +
                       GifImage(1, 0, 1, 2, {1, 1}) + Raw({'!', 0xFE, 3}) + "abc" + Raw({0}) +
                       Raw({0x17}) +  // a stray byte, passed over as GdkPixbuf does
                       GifImage(0, 1, 2, 1, {0, 0}) + GifControl(0) + GifImage(0, 0, 1, 1, {1});
    const SRead read = Read(EPictureFormat::Gif, Gif(2, 2, {kRed}, body));
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.header.frames.size(), 4u);
    EXPECT_TRUE(read.header.complete);
    // No control block yet: no delay; a control block holds until the next one.
    EXPECT_EQ(read.header.frames[0].delay, -1);
    EXPECT_EQ(read.header.frames[1].delay, 70);
    EXPECT_EQ(read.header.frames[2].delay, 70);
    EXPECT_EQ(read.header.frames[3].delay, 0);
    EXPECT_EQ(read.header.frames[1].left, 1);
    EXPECT_EQ(read.header.frames[2].top, 1);
    EXPECT_EQ(read.header.frames[2].width, 2);

    // Cut inside the second image: one whole frame, and not complete.
    const Bytes whole = Gif(2, 2, {kRed}, body);
    const SRead cut = Read(EPictureFormat::Gif, whole.substr(0, whole.find(',', 30) + 12));
    ASSERT_TRUE(cut.ok) << cut.error;
    EXPECT_EQ(cut.header.frames.size(), 1u);
    EXPECT_FALSE(cut.header.complete);

    EXPECT_EQ(Size(EPictureFormat::Gif, Gif(2, 2, {kRed}, "")), "holds no frames");
    Bytes badCode = Gif(2, 2, {kRed}, GifImage(0, 0, 1, 1, {0}));
    badCode[badCode.find(',') + 10] = 12;
    EXPECT_TRUE(Contains(Size(EPictureFormat::Gif, badCode), "damaged LZW code size"));
    EXPECT_EQ(Size(EPictureFormat::Gif, "GIF90a" + Bytes(20, '\0')), "is not a GIF file");
}

// The toolkit's rule, kept so that a menu's icons look as they did: an entry is taken when it
// is at least as wide and has at least as many colours as the one taken before.
TEST(PictureHeaderTest, IconsAreChosenByTheToolkitsRule) {
    using tarn::win32::SIconEntry;
    const auto icon = [](int width, int colours) {
        SIconEntry entry;
        entry.directoryWidth = width;
        entry.colourCount = colours;
        return entry;
    };
    EXPECT_EQ(tarn::win32::ChooseIcon({icon(16, 255), icon(32, 16), icon(24, 255)}), 2u);
    EXPECT_EQ(tarn::win32::ChooseIcon({icon(32, 16), icon(32, 255), icon(32, 2)}), 1u);
    EXPECT_EQ(tarn::win32::ChooseIcon({icon(32, 255), icon(32, 255)}), 1u);
    EXPECT_EQ(tarn::win32::ChooseIcon({icon(48, 16), icon(256, 2)}), 0u);
}

}  // namespace
