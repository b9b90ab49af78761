#pragma once
// A rich text written around a circle whose diameter is the element's smaller side; each
// paragraph stays on one line and the whole text forms a spiral of rings.

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicText.h"

namespace graphics {

class CGraphicTextCircle : public CGraphicText {
public:
    int GetType() const override { return GRAPHIC_TEXT_CIRCLE; }
    // A circle's extents do not change when it turns.
    void SetRotatedSize(CDSize size) override { SetSize(size); }
    CDSize GetRotatedSize() const override { return GetSize(); }
    void Paint(CPaintMatrixDC& dc) override;
};

}  // namespace graphics
