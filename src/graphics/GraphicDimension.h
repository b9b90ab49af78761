#pragma once
// A dimension line across the element with a tick at each end.

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicDimension : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
};

}  // namespace graphics
