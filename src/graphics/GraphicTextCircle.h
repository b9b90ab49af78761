#pragma once
// A rich text laid out on a circle; holds the common element form until its buffer is added.

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicText.h"

namespace graphics {

class CGraphicTextCircle : public CGraphicText {
public:
    int GetType() const override { return GRAPHIC_TEXT_CIRCLE; }
};

}  // namespace graphics
