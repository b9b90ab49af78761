#include "graphics/GraphicPaper.h"

#include "graphics/DrawHelpers.h"
#include "tarn/win32/DrawingSettings.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicPaper::GetType() const { return GRAPHIC_PAPER; }

void CGraphicPaper::Paint(CPaintMatrixDC& dc) {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const int x = draw::Whole(mapped.x), y = draw::Whole(mapped.y);
    const int w = draw::Whole(mapped.width), h = draw::Whole(mapped.height);
    // Pixel-exact edges: the shadow lines must not blur into the sheet.
    TEffectDC<wxDC> target(dc.GetDC());
    if (!target.IsOk()) return;
    tarn::win32::drawing::SetSmoothingMode(*target.GetGraphicsContext(), 3);
    target.SetPen(wxPen(wxColour(100, 100, 100, 255), 1, wxPENSTYLE_SOLID));
    target.SetBrush(wxBrush(wxColour(240, 240, 240, 255), wxBRUSHSTYLE_SOLID));
    target.DrawRectangle(x, y, w, h);
    target.SetPen(*wxBLACK_PEN);
    target.DrawLine(x + 2, y + h, x + w + 1, y + h);
    target.DrawLine(x + w, y + 1, x + w, y + h);
    dc.AddPaintedArea(mapped);
}

}  // namespace graphics
