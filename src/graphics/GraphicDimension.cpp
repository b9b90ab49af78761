#include "graphics/GraphicDimension.h"

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicDimension::GetType() const { return GRAPHIC_DIMENSION; }

void CGraphicDimension::Paint(CPaintMatrixDC& dc) {
    const CPaintToDC local(dc, *this);
    const CDRect rect = CDRect::FromCenter(GetCenter(), GetSize());
    const double middle = rect.y + rect.height / 2;
    const double right = rect.x + rect.width;
    wxDC& target = dc.GetDC();
    target.SetPen(draw::Rules(IsColoured()).Apply(*wxBLACK_PEN));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{rect.x, middle})),
                    draw::Pixel(local.Map(CDPoint{right, middle})));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{rect.x, rect.y})),
                    draw::Pixel(local.Map(CDPoint{rect.x, rect.y + rect.height})));
    target.DrawLine(draw::Pixel(local.Map(CDPoint{right, rect.y})),
                    draw::Pixel(local.Map(CDPoint{right, rect.y + rect.height})));
}

}  // namespace graphics
