#pragma once
// Makes the content model's elements for the element factory registry.

#include "graphics/GraphicElementFactory.h"
#include "tarn/Object.h"

namespace lum::data {

class CGraphicElementFactory : public tarn::CObject,
                               public virtual graphics::IGraphicElementFactory {
public:
    // An action button for "state-button-action", "lum-state-button-action" (any case) and
    // for an empty name; none otherwise.
    tarn::P<graphics::CGraphicElement> Create(const std::wstring& typeName) override;
};

}  // namespace lum::data
