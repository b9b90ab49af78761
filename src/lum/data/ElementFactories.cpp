#include "lum/data/ElementFactories.h"

#include "graphics/animation/GraphicElementAnimationFactory.h"
#include "graphics/skin/GraphicElementSkinFactory.h"
#include "lum/data/GraphicActionButton.h"
#include "lum/data/GraphicElementFactory.h"

namespace lum::data {

CElementFactories::CElementFactories()
    : m_factories{tarn::New<CGraphicElementFactory>(),
                  tarn::New<graphics::skin::CGraphicElementSkinFactory>(),
                  tarn::New<graphics::animation::CGraphicElementAnimationFactory>()} {
    for (const auto& factory : m_factories) graphics::RegisterFactory(factory);
}

CElementFactories::~CElementFactories() {
    for (const auto& factory : m_factories) graphics::UnregisterFactory(factory);
}

std::vector<std::wstring> CElementFactories::TypeNames() {
    return {CGraphicActionButton::kTypeName, L"state-button-action", L"skin-button",
            L"animation-image"};
}

}  // namespace lum::data
