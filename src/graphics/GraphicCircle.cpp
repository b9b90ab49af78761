#include "graphics/GraphicCircle.h"

#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicCircle::GetType() const { return GRAPHIC_CIRCLE; }

void CGraphicCircle::Paint(CPaintMatrixDC& dc) {
    const CEffectRules rules = draw::Rules(IsColoured());
    wxDC& target = dc.GetDC();
    target.SetPen(rules.Apply(draw::ScaledPen(m_pen, m_penScale * dc.GetPenScale())));
    target.SetBrush(rules.Apply(m_brush));
    const CDPoint centre = dc.Map(GetCenter());
    const double radius = GetSize().width * ScaleX(dc.GetTransform()) / 2;
    target.DrawCircle(draw::Pixel(centre), draw::Whole(radius));
    dc.AddPaintedArea({centre.x - radius, centre.y - radius, 2 * radius, 2 * radius});
}

bool CGraphicCircle::Contains(double x, double y) const {
    const CDPoint centre = GetCenter();
    return std::hypot(x - centre.x, y - centre.y) <= GetSize().width / 2;
}

void CGraphicCircle::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* circle = dynamic_cast<const CGraphicCircle*>(&other)) {
        m_pen = circle->m_pen;
        m_brush = circle->m_brush;
        m_penScale = circle->m_penScale;
    }
}

}  // namespace graphics
