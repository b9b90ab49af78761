#include "graphics/GraphicTextCircle.h"

#include <wx/graphics.h>

#include <algorithm>

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/PaintMatrixDC.h"
#include "tarn/StringLocalizer.h"
#include "tarn/win32/DrawingSettings.h"

namespace graphics {

void CGraphicTextCircle::Paint(CPaintMatrixDC& dc) {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const wxRect device(draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
                        draw::Whole(mapped.height));
    wxRichTextBuffer* buffer = GetBuffer();
    if (!buffer) {
        if (dc.IsEditing()) {
            PaintPlaceholder(dc, tarn::Localize(L"graphics.GraphicTextCircle.ClickToEdit",
                                                L"Double click to edit!"));
        }
        return;
    }
    const int diameter = std::min(device.width, device.height);
    if (diameter < 1) return;
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    effect.SetGreyscale(!IsColoured());
    tarn::win32::drawing::SetTextRenderingHint(*context, 4);

    // The start angle carries the rotation, so the context only mirrors.
    const CDPoint centre = mapped.GetCenter();
    ApplyElementTransform(effect, {centre.x, centre.y}, false);
    context->Clip(device.x, device.y, device.width, device.height);

    // A wide area keeps each paragraph on one line.
    const wxRect layout(0, 0, 10000, 10000);
    LayoutIfNeeded(effect, device, layout);
    effect.SetCircleMode(draw::Pixel(centre), (GetRotation() - 90) * kDegreesToRadians,
                         diameter / 2);
    wxRichTextDrawingContext drawing(buffer);
    buffer->Draw(effect, drawing, buffer->GetOwnRange(), wxRichTextSelection(), layout, 0, 0);
    effect.EndCircleMode();
    effect.Flush();
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
}

}  // namespace graphics
