#include "graphics/GraphicElementTextTranslator.h"

#include "graphics/GraphicContainer.h"
#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementTextReplacer.h"

namespace graphics {

CGraphicElementTextTranslator::CGraphicElementTextTranslator(
    tarn::P<tarn::IStringLocalizer> localizer)
    : m_localizer(std::move(localizer)) {}

void CGraphicElementTextTranslator::Translate(CGraphicElement& element) const {
    const std::wstring id = element.GetTextId();
    if (id.empty() || !m_localizer) return;
    RewriteElementTexts(
        element, [this, &id](const std::wstring& text) { return m_localizer->Localize(id, text); });
}

void CGraphicElementTextTranslator::TranslateAll(const CGraphicContainer& container) const {
    for (std::size_t i = 0; i < container.GetCount(); ++i) {
        if (const auto element = container.GetAt(i)) Translate(*element);
    }
}

}  // namespace graphics
