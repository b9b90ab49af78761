#include "graphics/GraphicRectangle.h"

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"

namespace graphics {

int CGraphicRectangle::GetType() const { return GRAPHIC_RECTANGLE; }

void CGraphicRectangle::Paint(CPaintMatrixDC& dc) {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const CEffectRules rules = draw::Rules(IsColoured());
    wxDC& target = dc.GetDC();
    target.SetPen(rules.Apply(m_pen));
    target.SetBrush(rules.Apply(m_brush));
    target.DrawRectangle(draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
                         draw::Whole(mapped.height));
    dc.AddPaintedArea(mapped);
}

void CGraphicRectangle::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* rectangle = dynamic_cast<const CGraphicRectangle*>(&other)) {
        m_pen = rectangle->m_pen;
        m_brush = rectangle->m_brush;
    }
}

void CGraphicRectangle::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    xml::WriteBrush(node, "brush", m_brush);
    xml::WritePen(node, "pen", m_pen);
}

void CGraphicRectangle::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    xml::ReadBrush(node, "brush", m_brush);
    xml::ReadPen(node, "pen", m_pen);
}

}  // namespace graphics
