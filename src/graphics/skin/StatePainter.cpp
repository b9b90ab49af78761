#include "graphics/skin/StatePainter.h"

#include <algorithm>
#include <cstring>

#include "graphics/DrawHelpers.h"
#include "graphics/ImagePainter.h"
#include "tarn/win32/DrawingSettings.h"

namespace graphics::skin {
namespace {

constexpr double kInchesPerMillimetre = 0.0393700787;
constexpr double kOffscreenDpi = 300;
int OffscreenSide(double minimum, double target) {
    const double side = std::max(minimum, target * kInchesPerMillimetre * kOffscreenDpi);
    return std::max(draw::Whole(side), 0);
}

}  // namespace

CPaintMatrixDC PaintContextLike(wxDC& target, const CPaintMatrixDC& like,
                                wxGraphicsContext* context) {
    CPaintMatrixDC dc(target, wxAffineMatrix2D());
    dc.SetPaintMode(like.GetPaintMode());
    dc.SetUnitMode(like.GetUnitMode());
    dc.SetZoom(like.GetZoom());
    dc.SetZoomMode(like.GetZoomMode());
    dc.SetClientRect(like.GetClientRect());
    dc.SetViewMatrix(like.GetViewMatrix());
    dc.SetGraphicsContext(context);
    return dc;
}

wxImage TransparentImage(int width, int height) {
    wxImage image(std::max(width, 1), std::max(height, 1), true);
    image.InitAlpha();
    std::memset(image.GetAlpha(), 0,
                static_cast<std::size_t>(image.GetWidth()) * image.GetHeight());
    return image;
}

void PaintTextEffect(CLayer& layer, CPaintMatrixDC& dc, wxGraphicsContext& context,
                     const CDRect& target, const COwnerSources& sources) {
    tarn::win32::drawing::CSavedState saved(context);
    tarn::win32::drawing::SetTextRenderingHint(context, 4);
    const wxSize ppi = dc.GetDC().GetPPI();
    const double scaleX = ppi.x > 0 ? ppi.x / 25.4 : 1.0;
    const double scaleY = ppi.y > 0 ? ppi.y / 25.4 : 1.0;
    const CDPoint centre = target.GetCenter();
    const CDSize pixels{target.width * scaleX, target.height * scaleY};
    context.Translate(centre.x, centre.y);
    context.Scale(1 / scaleX, 1 / scaleY);
    context.Translate(-centre.x, -centre.y);
    layer.Paint(dc, CDRect::FromCenter(centre, pixels), sources);
}

void CStatePainter::PaintState(const CState& state, CPaintMatrixDC& dc,
                               wxGraphicsContext& context, const CDRect& target,
                               const COwnerSources& sources, int mask) {
    if (dc.GetZoomMode() == EZoomMode::Fixed) {
        m_offscreen = wxImage();
        CPaintMatrixDC direct(dc);
        direct.SetGraphicsContext(&context);
        PaintLayers(state, direct, target, sources, mask);
        dc.RequestRedraw(direct.GetRedrawDelay());
        return;
    }
    PaintOffscreen(state, dc, context, target, sources, mask);
}

void CStatePainter::PaintOffscreen(const CState& state, CPaintMatrixDC& dc,
                                   wxGraphicsContext& context, const CDRect& target,
                                   const COwnerSources& sources, int mask) {
    const CDSize minimum = state.GetMinSize(dc, sources);
    const int width = OffscreenSide(minimum.width, target.width);
    const int height = OffscreenSide(minimum.height, target.height);
    // A damaged size must not allocate without bound.
    if (!draw::FitsOffscreen(width, height)) return;
    m_offscreen = TransparentImage(width, height);
    CPaintMatrixDC inner(dc);
    {
        std::unique_ptr<wxGraphicsContext> offscreen(wxGraphicsContext::Create(m_offscreen));
        if (!offscreen) return;
        inner = PaintContextLike(dc.GetDC(), dc, offscreen.get());
        PaintLayers(state, inner, {0, 0, double(width), double(height)}, sources, mask);
    }
    dc.RequestRedraw(inner.GetRedrawDelay());
    CImagePainterContext painter(context);
    painter.DrawNinePatch(target, wxBitmap(m_offscreen, 32), 0, 0, 0, 0, 0);
}

void CStatePainter::PaintLayers(const CState& state, CPaintMatrixDC& dc, const CDRect& target,
                                const COwnerSources& sources, int mask) {
    for (const auto& layer : state.GetLayers()) {
        if ((layer->GetKindBit() & mask) == 0) continue;
        if (layer->IsTextLayer() && dc.GetZoomMode() == EZoomMode::Fit && dc.GetGraphicsContext()) {
            PaintTextEffect(*layer, dc, *dc.GetGraphicsContext(), target, sources);
        } else {
            layer->Paint(dc, target, sources);
        }
    }
}

}  // namespace graphics::skin
