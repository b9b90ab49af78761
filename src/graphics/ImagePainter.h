#pragma once
// Draws a bitmap into a rectangle, whole or in nine parts whose corners keep their pixel
// size while edges and middle stretch (or edges tile).

#include <wx/bitmap.h>
#include <wx/gdicmn.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include "graphics/Geometry.h"
#include "tarn/Object.h"

namespace graphics {

struct CMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

class CImagePainter : public tarn::CObject {
public:
    static constexpr int kEdgeStretched = 0;
    static constexpr int kEdgeTiled = 1;

    // Truncates everything toward zero and draws the integer form.
    virtual void DrawNinePatch(const CDRect& destination, const wxBitmap& bitmap, double left,
                               double top, double right, double bottom, int extra);
    virtual void DrawNinePatch(const wxRect& destination, const wxBitmap& bitmap,
                               const CMargins& margins, int extra);
    // source null means the whole bitmap.
    virtual void DrawUnscaled(const wxPoint& destination, const wxBitmap& bitmap,
                              const wxRect* source, int flag) = 0;
    virtual void DrawStretched(const wxRect& destination, const wxBitmap& bitmap,
                               const wxRect* source, int flag) = 0;
    // Stretched or tiled by the edge mode.
    virtual void DrawEdge(const wxRect& destination, const wxBitmap& bitmap,
                          const wxRect& source, int flag);
    // Repeats the source part across the destination, cutting the last copies to fit.
    virtual void DrawTiled(const wxRect& destination, const wxBitmap& bitmap,
                           const wxRect& source, int flag);

    int GetEdgeMode() const { return m_edgeMode; }
    void SetEdgeMode(int mode) { m_edgeMode = mode; }

private:
    void DrawPart(const wxRect& destination, const wxBitmap& bitmap, const wxRect& source,
                  bool corner, bool edge, int flag);

    int m_edgeMode = kEdgeStretched;
};

// Draws through a graphics context (not owned), with exact pixels for the nine parts.
class CImagePainterContext : public CImagePainter {
public:
    explicit CImagePainterContext(wxGraphicsContext& context) : m_context(context) {}

    using CImagePainter::DrawNinePatch;
    // Brackets the drawing: no smoothing, bicubic without margins, nearest with them.
    void DrawNinePatch(const wxRect& destination, const wxBitmap& bitmap,
                       const CMargins& margins, int extra) override;
    void DrawUnscaled(const wxPoint& destination, const wxBitmap& bitmap, const wxRect* source,
                      int flag) override;
    void DrawStretched(const wxRect& destination, const wxBitmap& bitmap, const wxRect* source,
                       int flag) override;

private:
    // The nine parts between cuts mapped to device pixels, drawn untransformed; false (and
    // nothing drawn) when the transform turns or skews, which keeps no cut on a pixel edge.
    bool DrawAtDevicePixels(const wxRect& destination, const wxBitmap& bitmap,
                            const CMargins& margins);
    // The part scaled to size by the quality of the current drawing, at pixel size.
    wxBitmap Scaled(const wxBitmap& part, wxSize size) const;

    wxGraphicsContext& m_context;
    // Pictures are scaled here rather than by the renderer, so that every renderer gives
    // the same pixels: nearest neighbour for nine parts, bicubic for whole pictures.
    wxImageResizeQuality m_quality = wxIMAGE_QUALITY_BICUBIC;
};

}  // namespace graphics
