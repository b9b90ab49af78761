#include "lum/ProductStringLocalizer.h"

#include <utility>

namespace lum {

CProductStringLocalizer::CProductStringLocalizer(tarn::P<lum::data::CProduct> product,
                                                 std::wstring language)
    : m_product(std::move(product)), m_language(std::move(language)) {}

void CProductStringLocalizer::SetLanguage(const std::wstring& language) {
    std::lock_guard lock(m_mutex);
    m_language = language;
}

std::wstring CProductStringLocalizer::GetLanguage() const {
    std::lock_guard lock(m_mutex);
    return m_language;
}

std::wstring CProductStringLocalizer::Localize(const std::wstring& key,
                                               const std::wstring& defaultText) {
    if (!m_product) return defaultText;
    std::wstring text = m_product->Translate(key, GetLanguage(), defaultText);
    return text.empty() ? defaultText : text;
}

}  // namespace lum
