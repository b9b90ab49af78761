#pragma once
// A marker at the element's centre; free forms keep their corners as points.

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicPoint : public CGraphicElement {
public:
    int GetType() const override;
    // Shown only while editing.
    void Paint(CPaintMatrixDC& dc) override;
};

}  // namespace graphics
