#include "graphics/GraphicBase.h"

#include <algorithm>
#include <cmath>

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicListener.h"

namespace graphics {

std::wstring CGraphicBase::GetDisplayName() const {
    const std::wstring name = GetName();
    return name.empty() ? GraphicTypeDisplayName(GetType()) : name;
}

CDPoint CGraphicBase::GetTopLeft() const {
    return {m_center.x - m_size.width / 2, m_center.y - m_size.height / 2};
}

void CGraphicBase::SetCenter(CDPoint center) {
    m_center = center;
    NotifyChanged();
}

void CGraphicBase::SetSize(CDSize size) {
    m_size = size;
    NotifyChanged();
}

CDSize CGraphicBase::GetRotatedSize() const {
    const double r = m_rotation * kDegreesToRadians;
    const double w = m_size.width, h = m_size.height;
    return {std::abs(w * std::cos(r)) + std::abs(h * std::sin(r)),
            std::abs(w * std::sin(r)) + std::abs(h * std::cos(r))};
}

void CGraphicBase::SetRotatedSize(CDSize size) {
    const CDSize extents = GetRotatedSize();
    const double sx = extents.width > 0 ? size.width / extents.width : 1;
    const double sy = extents.height > 0 ? size.height / extents.height : 1;
    std::vector<CDPoint> outline = GetOutline();
    for (CDPoint& p : outline) {
        p = {m_center.x + (p.x - m_center.x) * sx, m_center.y + (p.y - m_center.y) * sy};
    }
    // Points 1/5 are the top and bottom middles, 7/3 the left and right middles.
    const double width = std::hypot(outline[3].x - outline[7].x, outline[3].y - outline[7].y);
    const double height = std::hypot(outline[5].x - outline[1].x, outline[5].y - outline[1].y);
    SetSize({std::max(width, 1.0), std::max(height, 1.0)});
}

void CGraphicBase::SetRotation(double degrees) {
    double value = std::trunc(degrees);
    if (!std::isfinite(value)) value = 0;
    value = std::fmod(value, 360.0);  // same result as subtracting 360 repeatedly, bounded
    if (value == 0 && std::trunc(degrees) > 0) value = 360;
    while (value < 0) value += 360;
    m_rotation = value + 0.0;  // no negative zero
}

void CGraphicBase::SetMirror(int axis, bool mirrored) {
    if (axis == 0) m_mirrorX = mirrored;
    if (axis == 1) m_mirrorY = mirrored;
}

bool CGraphicBase::IsMirrored(int axis) const {
    return axis == 0 ? m_mirrorX : (axis == 1 ? m_mirrorY : false);
}

CDRect CGraphicBase::GetBoundingRect() const {
    return CDRect::FromCenter(m_center, GetRotatedSize());
}

std::vector<CDPoint> CGraphicBase::GetOutline() const {
    const double l = m_center.x - m_size.width / 2, r = m_center.x + m_size.width / 2;
    const double t = m_center.y - m_size.height / 2, b = m_center.y + m_size.height / 2;
    const double cx = m_center.x, cy = m_center.y;
    std::vector<CDPoint> points{{l, t}, {cx, t}, {r, t}, {r, cy}, {r, b},
                                {cx, b}, {l, b}, {l, cy}, {l, t}};
    for (CDPoint& p : points) p = RotatePoint(p, m_center, m_rotation);
    return points;
}

void CGraphicBase::Paint(CPaintMatrixDC&) {}

void CGraphicBase::SetStateBit1(bool on) {
    SetFlags(on ? (GetFlags() | kFlagStateBit1) : (GetFlags() & ~kFlagStateBit1));
}

void CGraphicBase::SetFlag(std::uint32_t flag, bool on) {
    SetFlags(on ? (GetFlags() | flag) : (GetFlags() & ~flag));
}

void CGraphicBase::Transform(const wxAffineMatrix2D& matrix) {
    const CDRect mapped = MapRect(matrix, GetBoundingRect());
    SetCenter(mapped.GetCenter());
    SetRotatedSize({mapped.width, mapped.height});
}

void CGraphicBase::AddListener(IGraphicListener* listener) {
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) ==
                        m_listeners.end()) {
        m_listeners.push_back(listener);
    }
}

void CGraphicBase::RemoveListener(IGraphicListener* listener) {
    std::erase(m_listeners, listener);
}

void CGraphicBase::NotifyChanged() {
    // A listener may detach itself while being told.
    const std::vector<IGraphicListener*> listeners = m_listeners;
    for (IGraphicListener* listener : listeners) listener->OnGraphicChanged(*this);
}

void CGraphicBase::CopyBaseFrom(const CGraphicBase& other) {
    m_center = other.m_center;
    m_size = other.m_size;
    m_name = other.m_name;
    m_rotation = other.m_rotation;
    m_flags = other.m_flags;
    m_mirrorX = other.m_mirrorX;
    m_mirrorY = other.m_mirrorY;
    m_visible = other.m_visible;
    m_tags = other.m_tags;
}

}  // namespace graphics
