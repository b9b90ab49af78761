#include "graphics/ImagePainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "graphics/DrawHelpers.h"
#include "tarn/win32/DrawingSettings.h"

namespace graphics {
namespace {

int Truncate(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -1e9, 1e9));
}

wxBitmap Part(const wxBitmap& bitmap, const wxRect* source) {
    if (!source || *source == wxRect(0, 0, bitmap.GetWidth(), bitmap.GetHeight())) {
        return bitmap;
    }
    return bitmap.GetSubBitmap(*source);
}

// Cuts are sums of content values, each within the range Truncate gives: added in 64 bits
// and held within that range, far beyond any screen.
int Cut(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -1000000000, 1000000000));
}

// The cuts of one axis of a nine-part drawing: in the picture of size pixels, before and
// after being its margins, and in the destination running length pixels from start.
void Cuts(int size, int before, int after, int start, int length, int (&source)[4],
          int (&target)[4]) {
    const std::int64_t from = start, to = std::int64_t{start} + length;
    const int picture[4] = {0, Cut(before), Cut(std::int64_t{size} - after), size};
    const int place[4] = {Cut(from), Cut(from + before), Cut(to - after), Cut(to)};
    std::copy(std::begin(picture), std::end(picture), source);
    std::copy(std::begin(place), std::end(place), target);
}

// A part cut outside the bitmap (margins larger than the picture) is skipped.
bool CutsInside(const wxRect& source, const wxBitmap& bitmap) {
    return source.x >= 0 && source.y >= 0 && source.GetRight() < bitmap.GetWidth() &&
           source.GetBottom() < bitmap.GetHeight();
}

// To the nearest device pixel, within a range no picture reaches.
int Nearest(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(std::floor(value + 0.5), -1e9, 1e9));
}

// The span between two mapped cuts, whichever way round a mirror puts them.
void Span(int from, int to, int& start, int& length) {
    start = std::min(from, to);
    length = std::abs(to - from);
}

}  // namespace

void CImagePainter::DrawNinePatch(const CDRect& destination, const wxBitmap& bitmap,
                                  double left, double top, double right, double bottom,
                                  int extra) {
    const wxRect rect(Truncate(destination.x), Truncate(destination.y),
                      Truncate(destination.width), Truncate(destination.height));
    DrawNinePatch(rect, bitmap, {Truncate(left), Truncate(top), Truncate(right), Truncate(bottom)},
                  extra);
}

void CImagePainter::DrawNinePatch(const wxRect& d, const wxBitmap& bitmap, const CMargins& m,
                                  int extra) {
    if (!bitmap.IsOk()) return;
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (m.IsZero()) {
        if (d.GetSize() == bitmap.GetSize()) {
            DrawUnscaled(d.GetTopLeft(), bitmap, nullptr, extra);
        } else {
            DrawStretched(d, bitmap, nullptr, extra);
        }
        return;
    }
    // Column and row cuts of the source and of the destination.
    int sx[4], sy[4], dx[4], dy[4];
    Cuts(w, m.left, m.right, d.x, d.width, sx, dx);
    Cuts(h, m.top, m.bottom, d.y, d.height, sy, dy);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const wxRect source(sx[column], sy[row], sx[column + 1] - sx[column],
                                sy[row + 1] - sy[row]);
            const wxRect target(dx[column], dy[row], dx[column + 1] - dx[column],
                                dy[row + 1] - dy[row]);
            const bool cornerColumn = column != 1, cornerRow = row != 1;
            DrawPart(target, bitmap, source, cornerColumn && cornerRow,
                     cornerColumn != cornerRow, extra);
        }
    }
}

void CImagePainter::DrawPart(const wxRect& target, const wxBitmap& bitmap, const wxRect& source,
                             bool corner, bool edge, int flag) {
    if (source.width < 1 || source.height < 1 || target.width < 1 || target.height < 1) return;
    if (!CutsInside(source, bitmap)) return;
    if (corner) {
        DrawUnscaled(target.GetTopLeft(), bitmap, &source, flag);
    } else if (edge) {
        DrawEdge(target, bitmap, source, flag);
    } else {
        DrawStretched(target, bitmap, &source, flag);
    }
}

void CImagePainter::DrawEdge(const wxRect& destination, const wxBitmap& bitmap,
                             const wxRect& source, int flag) {
    if (m_edgeMode == kEdgeTiled) {
        DrawTiled(destination, bitmap, source, flag);
    } else {
        DrawStretched(destination, bitmap, &source, flag);
    }
}

void CImagePainter::DrawTiled(const wxRect& destination, const wxBitmap& bitmap,
                              const wxRect& source, int flag) {
    if (source.width < 1 || source.height < 1) return;
    for (int y = destination.y; y < destination.GetBottom() + 1; y += source.height) {
        const int height = std::min(source.height, destination.GetBottom() + 1 - y);
        for (int x = destination.x; x < destination.GetRight() + 1; x += source.width) {
            const int width = std::min(source.width, destination.GetRight() + 1 - x);
            const wxRect cut(source.x, source.y, width, height);
            DrawUnscaled(wxPoint(x, y), bitmap, &cut, flag);
        }
    }
}

void CImagePainterContext::DrawNinePatch(const wxRect& destination, const wxBitmap& bitmap,
                                         const CMargins& margins, int extra) {
    tarn::win32::drawing::CSavedState saved(m_context);
    tarn::win32::drawing::SetSmoothingMode(m_context, 3);
    tarn::win32::drawing::SetInterpolationMode(m_context, margins.IsZero() ? 7 : 5);
    m_quality = margins.IsZero() ? wxIMAGE_QUALITY_BICUBIC : wxIMAGE_QUALITY_NEAREST;
    const bool atDevice = !margins.IsZero() && GetEdgeMode() == kEdgeStretched && bitmap.IsOk() &&
                          DrawAtDevicePixels(destination, bitmap, margins);
    if (!atDevice) CImagePainter::DrawNinePatch(destination, bitmap, margins, extra);
    m_quality = wxIMAGE_QUALITY_BICUBIC;
}

// Under a scale the cuts between the parts fall on fractions of a device pixel, where the
// parts on either side each cover the shared pixel only partly and what lies below shows
// through: a darker seam. So each cut is mapped to the device and rounded once, and the
// parts on both sides of it end and start there.
bool CImagePainterContext::DrawAtDevicePixels(const wxRect& d, const wxBitmap& bitmap,
                                              const CMargins& m) {
    double a = 1, b = 0, c = 0, e = 1, tx = 0, ty = 0;
    m_context.GetTransform().Get(&a, &b, &c, &e, &tx, &ty);
    constexpr double kNoTurn = 1e-9;
    for (const double value : {a, b, c, e, tx, ty}) {
        if (!std::isfinite(value)) return false;
    }
    if (std::abs(b) > kNoTurn || std::abs(c) > kNoTurn || std::abs(a) <= kNoTurn ||
        std::abs(e) <= kNoTurn) {
        return false;
    }
    int sx[4], sy[4], ux[4], uy[4], px[4], py[4];
    Cuts(bitmap.GetWidth(), m.left, m.right, d.x, d.width, sx, ux);
    Cuts(bitmap.GetHeight(), m.top, m.bottom, d.y, d.height, sy, uy);
    for (int i = 0; i < 4; ++i) {
        px[i] = Nearest(a * ux[i] + tx);
        py[i] = Nearest(e * uy[i] + ty);
    }
    m_context.SetTransform(m_context.CreateMatrix());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const wxRect source(sx[column], sy[row], sx[column + 1] - sx[column],
                                sy[row + 1] - sy[row]);
            // Parts the margins leave no room for stay out, as without a scale.
            if (source.width < 1 || source.height < 1 || ux[column + 1] - ux[column] < 1 ||
                uy[row + 1] - uy[row] < 1 || !CutsInside(source, bitmap)) {
                continue;
            }
            wxRect target;
            Span(px[column], px[column + 1], target.x, target.width);
            Span(py[row], py[row + 1], target.y, target.height);
            if (target.width < 1 || target.height < 1) continue;
            wxBitmap part = Scaled(Part(bitmap, &source), target.GetSize());
            if (!part.IsOk()) continue;
            if (a < 0 || e < 0) {
                wxImage image = part.ConvertToImage();
                if (a < 0) image = image.Mirror(true);
                if (e < 0) image = image.Mirror(false);
                part = wxBitmap(image, 32);
            }
            m_context.DrawBitmap(part, target.x, target.y, target.width, target.height);
        }
    }
    return true;
}

// An invalid bitmap when the size is beyond any screen: sizes come from content.
wxBitmap CImagePainterContext::Scaled(const wxBitmap& part, wxSize size) const {
    if (part.GetSize() == size) return part;
    if (!part.IsOk() || !draw::FitsOffscreen(size.x, size.y)) return wxBitmap();
    const wxImage image = part.ConvertToImage().Scale(size.x, size.y, m_quality);
    if (!image.IsOk()) return wxBitmap();
    return wxBitmap(image, 32);
}

void CImagePainterContext::DrawUnscaled(const wxPoint& destination, const wxBitmap& bitmap,
                                        const wxRect* source, int) {
    const wxBitmap part = Part(bitmap, source);
    m_context.DrawBitmap(part, destination.x, destination.y, part.GetWidth(), part.GetHeight());
}

void CImagePainterContext::DrawStretched(const wxRect& destination, const wxBitmap& bitmap,
                                         const wxRect* source, int) {
    if (destination.width < 1 || destination.height < 1) return;
    const wxBitmap scaled = Scaled(Part(bitmap, source), destination.GetSize());
    if (!scaled.IsOk()) return;
    m_context.DrawBitmap(scaled, destination.x, destination.y, destination.width,
                         destination.height);
}

}  // namespace graphics
