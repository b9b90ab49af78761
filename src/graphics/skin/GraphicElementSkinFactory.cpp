#include "graphics/skin/GraphicElementSkinFactory.h"

#include "graphics/skin/GraphicSkinButton.h"
#include "tarn/Text.h"

namespace graphics::skin {

tarn::P<CGraphicElement> CGraphicElementSkinFactory::Create(const std::wstring& typeName) {
    if (tarn::EqualsNoCase(typeName, L"skin-button")) return tarn::New<CGraphicSkinButton>();
    return nullptr;
}

}  // namespace graphics::skin
