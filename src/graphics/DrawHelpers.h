#pragma once
// Small drawing helpers shared by the vector element kinds.

#include <wx/dc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/EffectDC.h"
#include "graphics/Geometry.h"
#include "graphics/PaintMatrixDC.h"

namespace graphics::draw {

inline int Whole(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -1e8, 1e8));
}

// The largest offscreen picture an element may ask for (a 4096 x 4096 square): sizes come from
// content, and a damaged or hostile file must not make a paint allocate gigabytes.
constexpr std::int64_t kMaxOffscreenPixels = std::int64_t{4096} * 4096;

inline bool FitsOffscreen(int width, int height) {
    return width > 0 && height > 0 &&
           std::int64_t{width} * height <= kMaxOffscreenPixels;
}

inline wxPoint Pixel(CDPoint point) { return {Whole(point.x), Whole(point.y)}; }

// The pen with its width grown by scale (at least 1 pixel for a visible pen).
inline wxPen ScaledPen(const wxPen& pen, double scale) {
    if (!pen.IsOk()) return pen;
    wxPen result(pen);
    result.SetWidth(std::max(1, static_cast<int>(std::lround(pen.GetWidth() * scale))));
    return result;
}

// Grey for elements that are not coloured.
inline CEffectRules Rules(bool coloured) {
    CEffectRules rules;
    rules.greyscale = !coloured;
    return rules;
}

inline wxGraphicsMatrix ToGraphics(wxGraphicsContext& context, const wxAffineMatrix2D& matrix) {
    wxMatrix2D m;
    wxPoint2DDouble t;
    matrix.Get(&m, &t);
    return context.CreateMatrix(m.m_11, m.m_12, m.m_21, m.m_22, t.m_x, t.m_y);
}

}  // namespace graphics::draw
