#pragma once
// Makes skin buttons for the element factory registry.

#include "graphics/GraphicElementFactory.h"

namespace graphics::skin {

class CGraphicElementSkinFactory : public tarn::CObject, public virtual IGraphicElementFactory {
public:
    // A skin button without skin for "skin-button" (any case); none otherwise.
    tarn::P<CGraphicElement> Create(const std::wstring& typeName) override;
};

}  // namespace graphics::skin
