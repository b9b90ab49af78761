#pragma once
// One plain string in one font; holds the common element form until its text is added.

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicLabel : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_LABEL; }
    bool IsContentEmpty() const override { return true; }
};

}  // namespace graphics
