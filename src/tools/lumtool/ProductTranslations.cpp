#include "ProductTranslations.h"

#include <algorithm>

namespace lumtool {

CProductTranslations::CProductTranslations(const lum::data::CProduct& product) {
    std::set<std::wstring> languages;
    std::set<std::pair<std::wstring, std::wstring>> seen;
    for (std::size_t i = 0; i < product.GetTranslationCount(); ++i) {
        const auto translation = product.GetTranslation(i);
        const std::wstring language = translation->GetLanguage();
        if (language.empty()) continue;
        if (languages.insert(language).second) m_languages.push_back(language);
        if (!seen.insert({translation->GetId(), language}).second) continue;  // not the first
        m_firsts[translation->GetId()].emplace_back(language, translation->GetTranslation());
    }
}

const std::vector<std::pair<std::wstring, std::wstring>>& CProductTranslations::GetFirsts(
    const std::wstring& id) const {
    static const std::vector<std::pair<std::wstring, std::wstring>> none;
    const auto found = m_firsts.find(id);
    return found == m_firsts.end() ? none : found->second;
}

const std::wstring* CProductTranslations::Find(const std::wstring& id,
                                               const std::wstring& language) const {
    for (const auto& [in, text] : GetFirsts(id)) {
        if (in == language) return &text;
    }
    return nullptr;
}

std::vector<std::wstring> CProductTranslations::Translated(const std::wstring& id) const {
    std::vector<std::wstring> languages;
    for (const auto& [language, text] : GetFirsts(id)) {
        if (!text.empty()) languages.push_back(language);
    }
    return languages;
}

std::vector<std::wstring> CProductTranslations::Untranslated(const std::wstring& id,
                                                             std::size_t limit,
                                                             std::size_t& count) const {
    const std::vector<std::wstring> translated = Translated(id);
    const std::set<std::wstring> present(translated.begin(), translated.end());
    count = m_languages.size() - present.size();
    // Each step passes a translated language or names one: no more steps than both.
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < m_languages.size() && names.size() < std::min(limit, count); ++i) {
        if (present.count(m_languages[i]) == 0) names.push_back(m_languages[i]);
    }
    return names;
}

}  // namespace lumtool
