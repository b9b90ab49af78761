#include <string>

#include "tarn/Text.h"
#include "wxutil/IsoTables.h"

namespace wxutil {

namespace {

// Either code of a "bibliographic/terminology" pair.
bool HasThreeLetterCode(const CIsoLanguage& language, std::wstring_view code) {
    const std::wstring_view codes = language.codes;
    const std::size_t slash = codes.find(L'/');
    if (slash == std::wstring_view::npos) return tarn::EqualsNoCase(codes, code);
    return tarn::EqualsNoCase(codes.substr(0, slash), code) ||
           tarn::EqualsNoCase(codes.substr(slash + 1), code);
}

}  // namespace

std::wstring_view LanguageName(std::wstring_view subtag) {
    for (const CIsoLanguage& language : kIsoLanguages) {
        const bool found = subtag.size() == 2   ? tarn::EqualsNoCase(language.twoLetterCode, subtag)
                           : subtag.size() == 3 ? HasThreeLetterCode(language, subtag)
                                                : false;
        if (found) return language.name;
    }
    return {};
}

std::wstring_view CountryName(std::wstring_view subtag) {
    for (const CIsoCountry& country : kIsoCountries) {
        if (tarn::EqualsNoCase(country.code, subtag)) return country.name;
    }
    return {};
}

}  // namespace wxutil
