#include "lum/data/GraphicElementFactory.h"

#include "lum/data/GraphicActionButton.h"
#include "tarn/Text.h"

namespace lum::data {

tarn::P<graphics::CGraphicElement> CGraphicElementFactory::Create(const std::wstring& typeName) {
    if (typeName.empty() || tarn::EqualsNoCase(typeName, L"state-button-action") ||
        tarn::EqualsNoCase(typeName, CGraphicActionButton::kTypeName)) {
        return tarn::New<CGraphicActionButton>();
    }
    return nullptr;
}

}  // namespace lum::data
