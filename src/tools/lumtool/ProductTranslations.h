#pragma once
// The product's translations indexed once, for checks that ask about every text id in every
// language: what the player finds for an id in a language, without reading the whole list
// for each question (a damaged menu may hold many thousands of languages and ids).

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lum/data/Product.h"

namespace lumtool {

class CProductTranslations {
public:
    explicit CProductTranslations(const lum::data::CProduct& product);

    // The languages the translations are written for, each once, in the order they first
    // appear (a translation without a language is for none the player can be in).
    const std::vector<std::wstring>& GetLanguages() const { return m_languages; }
    // For each language with a translation of id, the first one (the one the player finds,
    // empty or not), in the order of the file.
    const std::vector<std::pair<std::wstring, std::wstring>>& GetFirsts(
        const std::wstring& id) const;
    // The first translation of id in language, or null.
    const std::wstring* Find(const std::wstring& id, const std::wstring& language) const;
    // The languages in which the player shows a translation of id: a first one not empty.
    std::vector<std::wstring> Translated(const std::wstring& id) const;
    // Up to limit of the languages that lack such a translation of id, in the order of
    // GetLanguages(); count gets how many there are in all.
    std::vector<std::wstring> Untranslated(const std::wstring& id, std::size_t limit,
                                           std::size_t& count) const;

private:
    std::vector<std::wstring> m_languages;
    std::map<std::wstring, std::vector<std::pair<std::wstring, std::wstring>>> m_firsts;
};

}  // namespace lumtool
