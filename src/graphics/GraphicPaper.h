#pragma once
// A sheet of paper with a shadow edge.

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicPaper : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
};

}  // namespace graphics
