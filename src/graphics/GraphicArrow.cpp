#include "graphics/GraphicArrow.h"

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicArrow::GetType() const { return GRAPHIC_ARROW; }

void CGraphicArrow::Paint(CPaintMatrixDC& dc) {
    const CPaintToDC local(dc, *this);
    const CDRect rect = CDRect::FromCenter(GetCenter(), GetSize());
    const double middle = rect.y + rect.height / 2;
    const double head = std::min(rect.width, rect.height) / 2;
    const CDPoint tip{rect.x + rect.width, middle};
    wxDC& target = dc.GetDC();
    target.SetPen(draw::Rules(IsColoured()).Apply(*wxBLACK_PEN));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{rect.x, middle})), draw::Pixel(local.Map(tip)));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{tip.x - head, middle - head / 2})),
                    draw::Pixel(local.Map(tip)));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{tip.x - head, middle + head / 2})),
                    draw::Pixel(local.Map(tip)));
}

}  // namespace graphics
