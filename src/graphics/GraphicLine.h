#pragma once
// A straight line between two points in document coordinates.

#include <wx/pen.h>

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicLine : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
    // Maps the end points.
    void Transform(const wxAffineMatrix2D& matrix) override;
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    CDPoint GetStart() const { return m_start; }
    CDPoint GetEnd() const { return m_end; }
    void SetPoints(CDPoint start, CDPoint end);
    const wxPen& GetPen() const { return m_pen; }
    void SetPen(const wxPen& pen) { m_pen = pen; }
    double GetPenScale() const { return m_penScale; }
    void SetPenScale(double scale) { m_penScale = scale; }

private:
    CDPoint m_start;
    CDPoint m_end;
    wxPen m_pen = *wxBLACK_PEN;
    double m_penScale = 1;
};

}  // namespace graphics
