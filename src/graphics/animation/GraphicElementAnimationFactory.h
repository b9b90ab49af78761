#pragma once
// Makes animation images for the element factory registry.

#include "graphics/GraphicElementFactory.h"

namespace graphics::animation {

class CGraphicElementAnimationFactory : public tarn::CObject,
                                        public virtual IGraphicElementFactory {
public:
    // An animation image for "animation-image" (any case); none otherwise.
    tarn::P<CGraphicElement> Create(const std::wstring& typeName) override;
};

}  // namespace graphics::animation
