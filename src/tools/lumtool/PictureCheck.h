#pragma once
// Says of each picture of a content file whether it decodes as the player decodes it, on
// every core at once. The calling thread reads the pictures' bytes one after the other; only
// a few read pictures wait for a decoding thread, so memory stays bounded whatever the
// content holds.

#include <wx/bitmap.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "graphics/SharedBuffer.h"
#include "tarn/Pointer.h"

namespace lumtool {

struct SPictureBytes {
    tarn::P<graphics::CSharedBuffer> bytes;  // none when the entry cannot be read
    wxBitmapType type = wxBITMAP_TYPE_INVALID;
    std::string refusal;  // why it was not read, when it was refused before reading
};

// The bytes of picture index (0 to count - 1), read on the calling thread.
using PictureReader = std::function<SPictureBytes(std::size_t index)>;

// For each picture, why it does not decode, or empty when it does. threads 0 means one per
// core.
std::vector<std::string> DecodePictures(std::size_t count, const PictureReader& read,
                                        unsigned threads = 0);

}  // namespace lumtool
