#pragma once
// A rich text in the element's rectangle; holds the common element form until its buffer is added.

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicText : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_TEXT; }
    bool IsContentEmpty() const override { return true; }
};

}  // namespace graphics
