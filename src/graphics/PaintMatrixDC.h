#pragma once
// What every Paint receives: the target device context, the transform from document units
// to device pixels, the paint mode and what the view asks of the painters.

#include <wx/affinematrix2d.h>
#include <wx/dc.h>
#include <wx/gdicmn.h>

#include <cstdint>

#include "graphics/Geometry.h"
#include "graphics/ZoomMode.h"
#include "tarn/Object.h"

class wxGraphicsContext;

namespace graphics {

class CGraphicBase;

class CPaintMatrixDC : public tarn::CObject {
public:
    static constexpr int kModePlain = 0;
    static constexpr int kModeEdit = 1;
    static constexpr int kModeEditMargins = 2;
    static constexpr int kModeInteractive = 6;
    static constexpr int kUnitMillimetre = 0;
    static constexpr int kUnitZoom = 1;

    CPaintMatrixDC(wxDC& dc, const wxAffineMatrix2D& transform);
    CPaintMatrixDC(const CPaintMatrixDC& other) = default;

    wxDC& GetDC() const { return *m_dc; }
    const wxAffineMatrix2D& GetTransform() const { return m_transform; }
    void SetTransform(const wxAffineMatrix2D& transform) { m_transform = transform; }

    int GetPaintMode() const { return m_paintMode; }
    void SetPaintMode(int mode) { m_paintMode = mode; }
    // Modes 1 and 2 add outlines and placeholders.
    bool IsEditing() const { return m_paintMode == kModeEdit || m_paintMode == kModeEditMargins; }
    int GetUnitMode() const { return m_unitMode; }
    void SetUnitMode(int mode) { m_unitMode = mode; }
    double GetZoom() const { return m_zoom; }
    void SetZoom(double zoom) { m_zoom = zoom; }
    EZoomMode GetZoomMode() const { return m_zoomMode; }
    void SetZoomMode(EZoomMode mode) { m_zoomMode = mode; }
    // Device pixels per window pixel of the page (full-screen scaling and the desktop's
    // scale factor): what the owner's painter scales its own pictures by.
    double GetPixelScale() const { return m_pixelScale; }
    void SetPixelScale(double scale) { m_pixelScale = scale; }

    // 0 when no painter asked to be painted again.
    std::uint32_t GetRedrawDelay() const { return m_redrawDelay; }
    // Keeps the smallest positive request.
    void RequestRedraw(std::uint32_t milliseconds);
    const CDRect& GetPaintedArea() const { return m_paintedArea; }
    void AddPaintedArea(const CDRect& rect);

    const wxRect& GetClientRect() const { return m_clientRect; }
    void SetClientRect(const wxRect& rect) { m_clientRect = rect; }
    const wxAffineMatrix2D& GetViewMatrix() const { return m_viewMatrix; }
    void SetViewMatrix(const wxAffineMatrix2D& matrix) { m_viewMatrix = matrix; }
    // A graphics context to draw through, not owned; may be null.
    wxGraphicsContext* GetGraphicsContext() const { return m_graphicsContext; }
    void SetGraphicsContext(wxGraphicsContext* context) { m_graphicsContext = context; }

    CDPoint Map(CDPoint point) const { return MapPoint(m_transform, point); }
    CDRect Map(const CDRect& rect) const { return MapRect(m_transform, rect); }
    // The mean of the x and y scales: how pen widths grow.
    double GetPenScale() const;
    // True when the transform only scales and translates, so pixels stay upright.
    bool IsPlain() const { return graphics::IsPlain(m_transform); }
    // Distinguishes the transforms that elements cache prepared pictures for.
    std::int64_t GetCacheKey(int width, int height) const;

private:
    wxDC* m_dc;
    wxAffineMatrix2D m_transform;
    int m_paintMode = kModePlain;
    int m_unitMode = kUnitMillimetre;
    double m_zoom = 1;
    EZoomMode m_zoomMode = EZoomMode::Fit;
    double m_pixelScale = 1;
    std::uint32_t m_redrawDelay = 0;
    bool m_hasPaintedArea = false;
    CDRect m_paintedArea;
    wxRect m_clientRect;
    wxAffineMatrix2D m_viewMatrix;
    wxGraphicsContext* m_graphicsContext = nullptr;
};

// A paint context that adds an element's own transform: turn about its centre and mirror.
class CPaintToDC : public CPaintMatrixDC {
public:
    CPaintToDC(const CPaintMatrixDC& parent, const CGraphicBase& element);

    // Translate to the centre, rotate, flip the mirrored axes, translate back.
    static wxAffineMatrix2D ElementTransform(const CGraphicBase& element);
};

}  // namespace graphics
