#pragma once
// The platform's decoder for the picture formats the toolkit must not decode itself (its
// own BMP, icon and GIF readers corrupt memory on damaged files): BMP, ICO and GIF bytes to
// plain pixels. Every call reads the picture's header first and refuses a picture above the
// limits before the decoder allocates anything. On Linux it is GdkPixbuf
// (PictureDecoderGdk.cpp); another platform adds its own implementation beside it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tarn/win32/PictureHeader.h"

namespace tarn::win32 {

// Rows from the top, four bytes a pixel in the order red, green, blue, alpha; the colours
// are not multiplied by alpha.
struct SPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

struct SAnimationFrame {
    SPixels pixels;  // the whole canvas, as shown while the frame is on
    int delay = -1;  // milliseconds as stored in the file; -1 when none is given
};

struct SAnimationLimits {
    SPictureLimits picture;  // the canvas and every frame's own rectangle
    std::size_t maxFrames = 10000;
    std::int64_t maxTotalPixels = std::int64_t{64} << 20;  // all composed frames together
};

// Decodes a BMP file, the picture of an icon file that ChooseIcon picks (a bitmap or a PNG
// file), or the first frame of a GIF file. False, with the reason, when it does not decode,
// exceeds the limits or is of another format.
bool DecodePicture(EPictureFormat format, const std::uint8_t* data, std::size_t size,
                   const SPictureLimits& limits, SPixels& pixels, std::string& error);

// Receives each composed frame in turn; false stops the decoding.
using FrameSink = std::function<bool(const SAnimationFrame&)>;

// Decodes every frame of a GIF file, each composed on the canvas as the frames before it
// left it, and hands it to the sink before the next is composed, so that only one canvas of
// decoded pixels is held at a time. False, with the reason, when the file is damaged, cut
// short or too large, or when the sink stops it.
bool DecodeAnimation(const std::uint8_t* data, std::size_t size, const SAnimationLimits& limits,
                     const FrameSink& sink, std::string& error);

// The same, keeping every frame.
bool DecodeAnimation(const std::uint8_t* data, std::size_t size, const SAnimationLimits& limits,
                     std::vector<SAnimationFrame>& frames, std::string& error);

// What every platform's DecodeAnimation checks first: the GIF's header, refused when it is
// cut short or its frames would take more than the limits allow.
bool ReadAnimationHeader(const std::uint8_t* data, std::size_t size,
                         const SAnimationLimits& limits, SPictureHeader& header,
                         std::string& error);

}  // namespace tarn::win32
