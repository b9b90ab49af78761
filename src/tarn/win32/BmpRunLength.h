#pragma once
// Run-length coded bitmaps (RLE8 and RLE4), decoded here rather than by the system's decoder,
// so that the pixels the runs skip come out transparent on every system. Standard C++ only.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tarn/win32/PictureDecoder.h"

namespace tarn::win32 {

// True when data is a BMP file whose pixels are run-length coded.
bool IsRunLengthBmp(const std::uint8_t* data, std::size_t size);

// Decodes such a file, whose header ReadPictureHeader has accepted. Pixels no run reaches stay
// transparent; runs past the picture's edge are cut there, and the file's end ends the runs.
bool DecodeRunLengthBmp(const std::uint8_t* data, std::size_t size, SPixels& pixels,
                        std::string& error);

}  // namespace tarn::win32
