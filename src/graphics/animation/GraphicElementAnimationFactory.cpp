#include "graphics/animation/GraphicElementAnimationFactory.h"

#include "graphics/animation/GraphicAnimationImage.h"
#include "tarn/Text.h"

namespace graphics::animation {

tarn::P<CGraphicElement> CGraphicElementAnimationFactory::Create(const std::wstring& typeName) {
    if (tarn::EqualsNoCase(typeName, L"animation-image")) {
        return tarn::New<CGraphicAnimationImage>();
    }
    return nullptr;
}

}  // namespace graphics::animation
