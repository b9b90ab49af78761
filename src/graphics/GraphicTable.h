#pragma once
// A table of cells; holds the common element form until its content is added.

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicTable : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_TABLE; }
    bool IsContentEmpty() const override { return true; }
};

}  // namespace graphics
