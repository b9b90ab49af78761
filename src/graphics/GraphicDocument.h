#pragma once
// The document of a page, a free form or a mirror.

#include "graphics/GraphicContainer.h"

namespace graphics {

class CGraphicDocument : public CGraphicContainer {};

}  // namespace graphics
