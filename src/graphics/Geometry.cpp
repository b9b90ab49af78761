#include "graphics/Geometry.h"

#include <algorithm>
#include <cmath>

namespace graphics {

CDPoint RotatePoint(CDPoint point, CDPoint center, double degrees) {
    const double radians = degrees * kDegreesToRadians;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double dx = point.x - center.x;
    const double dy = point.y - center.y;
    return {center.x + dx * c - dy * s, center.y + dx * s + dy * c};
}

CDPoint MapPoint(const wxAffineMatrix2D& matrix, CDPoint point) {
    const wxPoint2DDouble mapped = matrix.TransformPoint(wxPoint2DDouble(point.x, point.y));
    return {mapped.m_x, mapped.m_y};
}

CDRect BoundsOf(const std::vector<CDPoint>& points) {
    if (points.empty()) return {};
    double left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (const CDPoint& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {left, top, right - left, bottom - top};
}

CDRect MapRect(const wxAffineMatrix2D& matrix, const CDRect& rect) {
    return BoundsOf({MapPoint(matrix, {rect.x, rect.y}),
                     MapPoint(matrix, {rect.x + rect.width, rect.y}),
                     MapPoint(matrix, {rect.x, rect.y + rect.height}),
                     MapPoint(matrix, {rect.x + rect.width, rect.y + rect.height})});
}

namespace {
struct Components {
    double m11, m12, m21, m22;
};
Components Parts(const wxAffineMatrix2D& matrix) {
    wxMatrix2D m;
    wxPoint2DDouble translation;
    matrix.Get(&m, &translation);
    return {m.m_11, m.m_12, m.m_21, m.m_22};
}
}  // namespace

double ScaleX(const wxAffineMatrix2D& matrix) {
    const Components c = Parts(matrix);
    return std::hypot(c.m11, c.m12);
}

double ScaleY(const wxAffineMatrix2D& matrix) {
    const Components c = Parts(matrix);
    return std::hypot(c.m21, c.m22);
}

bool IsPlain(const wxAffineMatrix2D& matrix) {
    const Components c = Parts(matrix);
    return std::abs(c.m12) < 1e-9 && std::abs(c.m21) < 1e-9 && c.m11 > 0 && c.m22 > 0;
}

}  // namespace graphics
