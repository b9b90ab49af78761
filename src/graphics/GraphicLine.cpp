#include "graphics/GraphicLine.h"

#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"

namespace graphics {

int CGraphicLine::GetType() const { return GRAPHIC_LINE; }

void CGraphicLine::SetPoints(CDPoint start, CDPoint end) {
    m_start = start;
    m_end = end;
}

void CGraphicLine::Paint(CPaintMatrixDC& dc) {
    wxDC& target = dc.GetDC();
    target.SetPen(draw::Rules(IsColoured())
                      .Apply(draw::ScaledPen(m_pen, m_penScale * dc.GetPenScale())));
    const CDPoint start = dc.Map(m_start), end = dc.Map(m_end);
    target.DrawLine(draw::Pixel(start), draw::Pixel(end));
    dc.AddPaintedArea(BoundsOf({start, end}));
}

void CGraphicLine::Transform(const wxAffineMatrix2D& matrix) {
    m_start = MapPoint(matrix, m_start);
    m_end = MapPoint(matrix, m_end);
    CGraphicElement::Transform(matrix);
}

void CGraphicLine::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* line = dynamic_cast<const CGraphicLine*>(&other)) {
        m_start = line->m_start;
        m_end = line->m_end;
        m_pen = line->m_pen;
        m_penScale = line->m_penScale;
    }
}

void CGraphicLine::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    xml::WritePoint(node, "start", m_start);
    xml::WritePoint(node, "end", m_end);
}

void CGraphicLine::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    xml::ReadPoint(node, "start", m_start);
    xml::ReadPoint(node, "end", m_end);
}

}  // namespace graphics
