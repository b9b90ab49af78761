#include "graphics/GraphicPoint.h"

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicPoint::GetType() const { return GRAPHIC_POINT; }

void CGraphicPoint::Paint(CPaintMatrixDC& dc) {
    if (!dc.IsEditing()) return;
    const wxPoint centre = draw::Pixel(dc.Map(GetCenter()));
    wxDC& target = dc.GetDC();
    target.SetPen(*wxBLACK_PEN);
    target.DrawLine(centre.x - 2, centre.y, centre.x + 3, centre.y);
    target.DrawLine(centre.x, centre.y - 2, centre.x, centre.y + 3);
}

}  // namespace graphics
