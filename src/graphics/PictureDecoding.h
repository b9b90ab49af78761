#pragma once
// Picture files to toolkit images, through readers that hold up against damaged files: the
// toolkit's own PNG and JPEG readers (libpng, libjpeg) once the declared size is checked, and
// the platform's decoder for BMP, ICO and GIF, which the toolkit must not read itself.

#include <wx/image.h>
#include <wx/stream.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tarn/win32/PictureDecoder.h"

namespace graphics {

// The picture format behind a toolkit bitmap type; false for the types pictures never have.
bool PictureFormatOf(wxBitmapType type, tarn::win32::EPictureFormat& format);

// Why a picture file larger than kMaxPictureBytes is not read.
std::string PictureTooLargeReason();

// Reads the rest of the stream. False when it holds more than kMaxPictureBytes: at once when
// the stream knows its length, else the bytes stop there.
bool ReadPictureBytes(wxInputStream& stream, std::vector<std::uint8_t>& bytes);

// Decodes a picture file of the given type. False, with the reason, when it does not decode,
// declares a picture above the limits or is of a type pictures never have.
bool DecodePicture(const std::uint8_t* data, std::size_t size, wxBitmapType type,
                   const tarn::win32::SPictureLimits& limits, wxImage& image, std::string& error);

// Decoded pixels as a toolkit image: red, green and blue, plus alpha when a pixel is not
// opaque.
wxImage ToImage(const tarn::win32::SPixels& pixels);

}  // namespace graphics
