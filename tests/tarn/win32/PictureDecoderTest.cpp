// The platform's decoder for BMP, ICO and GIF files: exact pixels, the icon picture chosen,
// animation frames composed with their stored delays, and clean refusals.

#include "tarn/win32/PictureDecoder.h"

#include <gtest/gtest.h>

#include "PictureBytes.h"

namespace {

using namespace picturebytes;
using tarn::win32::EPictureFormat;
using tarn::win32::SPixels;

const std::uint8_t* Data(const Bytes& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

struct SDecoded {
    bool ok = false;
    SPixels pixels;
    std::string error;
};

SDecoded Decode(EPictureFormat format, const Bytes& bytes) {
    SDecoded decoded;
    decoded.ok = tarn::win32::DecodePicture(format, Data(bytes), bytes.size(), {}, decoded.pixels,
                                            decoded.error);
    return decoded;
}

// The pixels as "r,g,b,a" per pixel, rows top first, separated by spaces and "|".
// clearAsSuch: fully transparent pixels read "clear", whatever colour the decoder left in them.
std::string Describe(const SPixels& pixels, bool clearAsSuch = false) {
    std::string text;
    for (int y = 0; y < pixels.height; ++y) {
        if (y > 0) text += " | ";
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint8_t* p = &pixels.rgba[4 * (y * pixels.width + x)];
            if (x > 0) text += " ";
            if (clearAsSuch && p[3] == 0) {
                text += "clear";
                continue;
            }
            text += std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) +
                    "," + std::to_string(p[3]);
        }
    }
    return text;
}

TEST(PictureDecoderTest, BitmapsDecodeToTheirExactColoursTopRowFirst) {
    const SDecoded plain =
        Decode(EPictureFormat::Bmp, Bmp24({{kRed, kGreen, kBlue}, {kWhite, kBlue, kRed}}));
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_EQ(Describe(plain.pixels),
              "255,0,0,255 0,160,0,255 0,0,255,255 | 255,255,255,255 0,0,255,255 255,0,0,255");

    // A palette, stored top-down.
    const Bytes indices = Raw({1, 2, 0, 0, 3, 0, 0, 0});
    const SDecoded paletted =
        Decode(EPictureFormat::Bmp,
               Bmp(InfoHeader(2, -2, 8, 0, 4), Palette({kRed, kGreen, kBlue, kWhite}), indices));
    ASSERT_TRUE(paletted.ok) << paletted.error;
    EXPECT_EQ(Describe(paletted.pixels), "0,160,0,255 0,0,255,255 | 255,255,255,255 255,0,0,255");

    // Run-length coded: a run, a line end, a delta over the pixel left unset, the end mark.
    const Bytes runs = Raw({3, 1, 0, 0, 0, 2, 2, 0, 0, 1});
    const SDecoded coded =
        Decode(EPictureFormat::Bmp,
               Bmp(InfoHeader(3, 2, 8, 1, 4), Palette({kRed, kGreen, kBlue, kWhite}), runs));
    ASSERT_TRUE(coded.ok) << coded.error;
    EXPECT_EQ(Describe(coded.pixels),
              "0,0,0,0 0,0,0,0 0,0,0,0 | 0,160,0,255 0,160,0,255 0,160,0,255");
}

TEST(PictureDecoderTest, IconsDecodeTheChosenPictureWithUnmultipliedAlpha) {
    const Rgba halfGreen{0, 255, 0, 128};
    const Rgba clearRed{255, 0, 0, 0};
    const Bytes small = IconPicture({{kBlue, kBlue}, {kBlue, kBlue}});
    const Bytes chosen = IconPicture({{kRed, halfGreen, kWhite}, {clearRed, kBlue, kRed}});
    const SDecoded icon = Decode(EPictureFormat::Ico,
                                 Ico({{2, 2, 32, small}, {3, 2, 32, chosen}, {2, 2, 32, small}}));
    ASSERT_TRUE(icon.ok) << icon.error;
    EXPECT_EQ(Describe(icon.pixels),
              "255,0,0,255 0,255,0,128 255,255,255,255 | 255,0,0,0 0,0,255,255 255,0,0,255");

    // A 4-bit picture: its mask makes the pixels whose bit is set transparent.
    const Bytes paletted = InfoHeader(2, 4, 4, 0, 4) + Palette({kRed, kGreen, kBlue, kWhite}) +
                           Raw({0x23, 0, 0, 0, 0x01, 0, 0, 0}) +  // rows: bottom, top
                           Raw({0x40, 0, 0, 0, 0x00, 0, 0, 0});   // mask: bottom right clear
    const SDecoded masked = Decode(EPictureFormat::Ico, Ico({{2, 2, 4, paletted}}));
    ASSERT_TRUE(masked.ok) << masked.error;
    EXPECT_EQ(Describe(masked.pixels, true), "255,0,0,255 0,160,0,255 | 0,0,255,255 clear");
}

TEST(PictureDecoderTest, GifFramesAreComposedOnTheCanvasAndKeepTheirStoredDelays) {
    // Frame 1 covers the canvas in red; frame 2 puts a blue pixel on it and is then cleared
    // (disposal 2); frame 3 puts a white pixel where the canvas is clear again.
    const Bytes body = GifControl(25, 1) + GifImage(0, 0, 2, 1, {0, 0}) + GifControl(0, 2) +
                       GifImage(1, 0, 1, 1, {1}) + GifControl(3, 1) + GifImage(0, 0, 1, 1, {2});
    const Bytes file = Gif(2, 1, {kRed, kBlue, kWhite}, body);
    std::vector<tarn::win32::SAnimationFrame> frames;
    std::string error;
    ASSERT_TRUE(tarn::win32::DecodeAnimation(Data(file), file.size(), {}, frames, error)) << error;
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Describe(frames[0].pixels), "255,0,0,255 255,0,0,255");
    EXPECT_EQ(Describe(frames[1].pixels), "255,0,0,255 0,0,255,255");
    EXPECT_EQ(Describe(frames[2].pixels), "255,255,255,255 0,0,0,0");
    EXPECT_EQ(frames[0].delay, 250);
    EXPECT_EQ(frames[1].delay, 0);  // as stored, though GdkPixbuf shows it for 100 ms
    EXPECT_EQ(frames[2].delay, 30);

    // The still picture of a GIF is its first frame.
    const SDecoded still = Decode(EPictureFormat::Gif, file);
    ASSERT_TRUE(still.ok) << still.error;
    EXPECT_EQ(Describe(still.pixels), "255,0,0,255 255,0,0,255");
}

TEST(PictureDecoderTest, EachComposedFrameReachesTheSinkInTurnAndTheSinkCanStop) {
    const Bytes body = GifControl(25, 1) + GifImage(0, 0, 2, 1, {0, 0}) + GifControl(5, 1) +
                       GifImage(1, 0, 1, 1, {1}) + GifControl(7, 1) + GifImage(0, 0, 1, 1, {2});
    const Bytes file = Gif(2, 1, {kRed, kBlue, kWhite}, body);
    std::vector<std::string> seen;
    std::string error;
    const auto record = [&seen](const tarn::win32::SAnimationFrame& frame) {
        seen.push_back(Describe(frame.pixels) + " @" + std::to_string(frame.delay));
        return true;
    };
    ASSERT_TRUE(tarn::win32::DecodeAnimation(Data(file), file.size(), {}, record, error));
    EXPECT_EQ(seen, (std::vector<std::string>{"255,0,0,255 255,0,0,255 @250",
                                              "255,0,0,255 0,0,255,255 @50",
                                              "255,255,255,255 0,0,255,255 @70"}));

    // A sink that cannot keep a frame ends the decoding there, as a failure.
    int calls = 0;
    const auto refuseSecond = [&calls](const tarn::win32::SAnimationFrame&) {
        return ++calls < 2;
    };
    EXPECT_FALSE(tarn::win32::DecodeAnimation(Data(file), file.size(), {}, refuseSecond, error));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(error, "could not keep frame 2");
}

TEST(PictureDecoderTest, AnimationsCutShortOrTooLargeAreRefused) {
    const Bytes frame = GifImage(0, 0, 4, 4, std::vector<std::uint8_t>(16, 1));
    const auto animate = [](const Bytes& file, tarn::win32::SAnimationLimits limits) {
        std::vector<tarn::win32::SAnimationFrame> frames;
        std::string error;
        const bool ok =
            tarn::win32::DecodeAnimation(Data(file), file.size(), limits, frames, error);
        EXPECT_EQ(ok, !frames.empty()) << error;
        return ok ? std::string("decoded") : error;
    };
    const Bytes three = Gif(4, 4, {kRed, kBlue}, frame + frame + frame);
    EXPECT_EQ(animate(three, {}), "decoded");
    EXPECT_EQ(animate(three.substr(0, three.size() - 1), {}), "is cut short");
    tarn::win32::SAnimationLimits fewFrames;
    fewFrames.maxFrames = 2;
    EXPECT_EQ(animate(three, fewFrames), "has 3 frames of 16 pixels, more than is read");
    tarn::win32::SAnimationLimits fewPixels;
    fewPixels.maxTotalPixels = 47;
    EXPECT_EQ(animate(three, fewPixels), "has 3 frames of 16 pixels, more than is read");
    // Found by fuzzing: GdkPixbuf clears a disposed frame that starts right of the canvas with
    // a negative length, before its own buffer.
    const Bytes beyond = GifControl(0, 2) + GifImage(129, 0, 2, 2, {1, 1, 1, 1});
    EXPECT_EQ(animate(Gif(4, 4, {kRed, kBlue}, frame + beyond + frame), {}),
              "frame 2 starts at 129,0, outside the canvas");
}

TEST(PictureDecoderTest, DamagedFilesFailWithAReasonAndNeverReachAnotherDecoder) {
    const Bytes picture = Bmp24({{kRed, kGreen}, {kBlue, kWhite}});
    // Cut inside the pixels, or inside the header.
    const SDecoded cut = Decode(EPictureFormat::Bmp, picture.substr(0, picture.size() - 5));
    EXPECT_NE(cut.error.find("is cut short"), std::string::npos) << cut.error;
    Bytes noPalette = Bmp(InfoHeader(2, 2, 8), "", Bytes(8, '\0'), 14);
    noPalette.resize(30);
    EXPECT_EQ(Decode(EPictureFormat::Bmp, noPalette).error, "ends inside its bitmap header");
    // Runs past the end of a row and of the picture are cut off, not written beyond it.
    const Bytes runs = Raw({255, 1, 0, 255}) + Bytes(256, '\x02') + Raw({0, 2, 255, 255, 200, 3});
    const SDecoded overrun =
        Decode(EPictureFormat::Bmp,
               Bmp(InfoHeader(3, 2, 8, 1, 4), Palette({kRed, kGreen, kBlue, kWhite}), runs));
    if (overrun.ok) {
        EXPECT_EQ(overrun.pixels.rgba.size(), 3u * 2u * 4u);
    }
    // A PNG file is refused as a BMP: the loader never guesses another format.
    const SDecoded png = Decode(EPictureFormat::Bmp, PngHeader(2, 2));
    EXPECT_EQ(png.error, "is not a BMP file");
    const SDecoded huge =
        Decode(EPictureFormat::Bmp, Bmp(InfoHeader(65535, 65535, 8, 1), "", Raw({0, 1})));
    EXPECT_NE(huge.error.find("65535 x 65535"), std::string::npos) << huge.error;
    // PNG and JPEG are the toolkit's business.
    EXPECT_FALSE(Decode(EPictureFormat::Png, PngHeader(2, 2)).ok);
}

}  // namespace
