#pragma once
// An arrow across the element, from the left middle to the right middle.

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicArrow : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
};

}  // namespace graphics
