#pragma once
// Replaces the texts of elements that carry a text id by their translation.

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/StringLocalizer.h"

namespace graphics {

class CGraphicContainer;
class CGraphicElement;

class CGraphicElementTextTranslator : public tarn::CObject {
public:
    explicit CGraphicElementTextTranslator(tarn::P<tarn::IStringLocalizer> localizer);

    // Each text is looked up with the element's text id as key and itself as default, so a
    // text without a translation stays as it is. Elements without a text id are skipped.
    void Translate(CGraphicElement& element) const;
    void TranslateAll(const CGraphicContainer& container) const;

private:
    tarn::P<tarn::IStringLocalizer> m_localizer;
};

}  // namespace graphics
