#pragma once
// Plain double-precision geometry in document units.

#include <wx/affinematrix2d.h>

#include <vector>

namespace graphics {

struct CDPoint {
    double x = 0;
    double y = 0;
    bool operator==(const CDPoint&) const = default;
};

struct CDSize {
    double width = 0;
    double height = 0;
    bool operator==(const CDSize&) const = default;
};

struct CDRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    static CDRect FromCorners(CDPoint p1, CDPoint p2) {
        return {p1.x, p1.y, p2.x - p1.x, p2.y - p1.y};
    }
    static CDRect FromCenter(CDPoint center, CDSize size) {
        return {center.x - size.width / 2, center.y - size.height / 2, size.width, size.height};
    }
    CDPoint GetTopLeft() const { return {x, y}; }
    CDPoint GetBottomRight() const { return {x + width, y + height}; }
    CDPoint GetCenter() const { return {x + width / 2, y + height / 2}; }
    bool operator==(const CDRect&) const = default;
};

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;

// Turns a point about a centre; positive degrees turn clockwise on a y-down plane.
CDPoint RotatePoint(CDPoint point, CDPoint center, double degrees);

CDPoint MapPoint(const wxAffineMatrix2D& matrix, CDPoint point);
// The axis-aligned box around the four mapped corners.
CDRect MapRect(const wxAffineMatrix2D& matrix, const CDRect& rect);
// The smallest rect holding all points (empty for none).
CDRect BoundsOf(const std::vector<CDPoint>& points);

// Length of the images of the unit x and y vectors.
double ScaleX(const wxAffineMatrix2D& matrix);
double ScaleY(const wxAffineMatrix2D& matrix);
// True when the matrix only scales and translates (no turn, no shear, no flip).
bool IsPlain(const wxAffineMatrix2D& matrix);

}  // namespace graphics
