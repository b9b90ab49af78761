#include "graphics/GraphicDummy.h"

#include <algorithm>

#include "graphics/GraphicElementType.h"

namespace graphics {

int CGraphicDummy::GetType() const { return GRAPHIC_DUMMY; }

void CGraphicDummy::SetSize(CDSize size) {
    CGraphicElement::SetSize(
        {std::max(size.width, m_minimum.width), std::max(size.height, m_minimum.height)});
}

void CGraphicDummy::CopyFrom(const CGraphicElement& other) {
    if (const auto* dummy = dynamic_cast<const CGraphicDummy*>(&other)) {
        m_minimum = dummy->m_minimum;
    }
    CGraphicElement::CopyFrom(other);
}

}  // namespace graphics
