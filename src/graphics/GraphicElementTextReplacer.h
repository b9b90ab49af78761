#pragma once
// Rewrites the texts elements show: placeholder words replaced by values (the page path in
// "$breadcrumb", for example).

#include <functional>
#include <string>
#include <vector>

#include "tarn/Object.h"

namespace graphics {

class CGraphicElement;

using TextRewrite = std::function<std::wstring(const std::wstring&)>;

// Applies rewrite to the texts of one element: the buffer of a text or circular text (whose
// name then follows the new text), every table cell's buffer and a state button's label.
// Other kinds are left alone. True when anything changed.
bool RewriteElementTexts(CGraphicElement& element, const TextRewrite& rewrite);

class CGraphicElementTextReplacer : public tarn::CObject {
public:
    void AddReplacement(std::wstring key, std::wstring value);
    // Every replacement in the order added; the key "*" replaces the whole text.
    std::wstring ReplaceText(const std::wstring& text) const;
    bool Apply(CGraphicElement& element) const;

private:
    std::vector<std::wstring> m_keys;
    std::vector<std::wstring> m_values;
};

}  // namespace graphics
