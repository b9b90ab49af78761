#pragma once
// A circle whose diameter is the element's width (the height is not used).

#include <wx/brush.h>
#include <wx/pen.h>

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicCircle : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
    // Within width / 2 of the centre.
    bool Contains(double x, double y) const override;
    void CopyFrom(const CGraphicElement& other) override;

    const wxPen& GetPen() const { return m_pen; }
    void SetPen(const wxPen& pen) { m_pen = pen; }
    const wxBrush& GetBrush() const { return m_brush; }
    void SetBrush(const wxBrush& brush) { m_brush = brush; }
    double GetPenScale() const { return m_penScale; }
    void SetPenScale(double scale) { m_penScale = scale; }

private:
    wxPen m_pen = *wxBLACK_PEN;
    wxBrush m_brush = *wxBLACK_BRUSH;
    double m_penScale = 1;
};

}  // namespace graphics
