#pragma once
// An upright rectangle drawn with a pen and a brush.

#include <wx/brush.h>
#include <wx/pen.h>

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicRectangle : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    const wxPen& GetPen() const { return m_pen; }
    void SetPen(const wxPen& pen) { m_pen = pen; }
    const wxBrush& GetBrush() const { return m_brush; }
    void SetBrush(const wxBrush& brush) { m_brush = brush; }

private:
    wxPen m_pen = *wxBLACK_PEN;
    wxBrush m_brush = *wxBLACK_BRUSH;
};

}  // namespace graphics
