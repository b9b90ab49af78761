#pragma once
// The size fields of product.xml against the entries they describe. The player reads as many
// bytes of the music as its chunk's size says, so a size below the file's own plays a click
// of it (44 bytes are a WAV header and no sound), and one above it counts on a larger file.

#include <wx/xml/xml.h>

#include <vector>

#include "ContentCheck.h"
#include "graphics/Catalogue.h"

namespace lumtool {

// One error for each size field that differs from its entry's size, with the right number.
// A field without a positive size, or naming an entry that is missing, is left to the
// attachment check.
std::vector<SFinding> CheckSizeFields(const wxXmlDocument& document,
                                      graphics::CCatalogue& catalogue);

}  // namespace lumtool
