#include "graphics/PaintMatrixDC.h"

#include <algorithm>
#include <cmath>

#include "graphics/GraphicBase.h"

namespace graphics {

CPaintMatrixDC::CPaintMatrixDC(wxDC& dc, const wxAffineMatrix2D& transform)
    : m_dc(&dc), m_transform(transform) {}

void CPaintMatrixDC::RequestRedraw(std::uint32_t milliseconds) {
    if (milliseconds == 0) return;
    if (m_redrawDelay == 0 || milliseconds < m_redrawDelay) m_redrawDelay = milliseconds;
}

void CPaintMatrixDC::AddPaintedArea(const CDRect& rect) {
    if (!m_hasPaintedArea) {
        m_paintedArea = rect;
        m_hasPaintedArea = true;
        return;
    }
    const CDPoint topLeft{std::min(m_paintedArea.x, rect.x), std::min(m_paintedArea.y, rect.y)};
    const CDPoint bottomRight{
        std::max(m_paintedArea.GetBottomRight().x, rect.GetBottomRight().x),
        std::max(m_paintedArea.GetBottomRight().y, rect.GetBottomRight().y)};
    m_paintedArea = CDRect::FromCorners(topLeft, bottomRight);
}

double CPaintMatrixDC::GetPenScale() const {
    return (ScaleX(m_transform) + ScaleY(m_transform)) / 2;
}

std::int64_t CPaintMatrixDC::GetCacheKey(int width, int height) const {
    return (static_cast<std::int64_t>(width) << 32) | static_cast<std::uint32_t>(height);
}

CPaintToDC::CPaintToDC(const CPaintMatrixDC& parent, const CGraphicBase& element)
    : CPaintMatrixDC(parent) {
    wxAffineMatrix2D transform = parent.GetTransform();
    transform.Concat(ElementTransform(element));
    SetTransform(transform);
}

wxAffineMatrix2D CPaintToDC::ElementTransform(const CGraphicBase& element) {
    const CDPoint c = element.GetCenter();
    wxAffineMatrix2D matrix;
    matrix.Translate(c.x, c.y);
    if (std::abs(element.GetRotation()) > 0.001) {
        matrix.Rotate(element.GetRotation() * kDegreesToRadians);
    }
    matrix.Scale(element.IsMirrored(0) ? -1 : 1, element.IsMirrored(1) ? -1 : 1);
    matrix.Translate(-c.x, -c.y);
    return matrix;
}

}  // namespace graphics
