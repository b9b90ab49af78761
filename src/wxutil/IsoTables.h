#pragma once
// The language (ISO 639-2) and country (ISO 3166-1) tables that name a pack's language.

#include <array>
#include <string_view>

namespace wxutil {

struct CIsoLanguage {
    // Three-letter code; "bibliographic/terminology" for the languages that have both.
    const wchar_t* codes;
    const wchar_t* twoLetterCode;  // empty when the language has none
    const wchar_t* name;
};

struct CIsoCountry {
    const wchar_t* code;
    const wchar_t* name;
};

extern const std::array<CIsoLanguage, 485> kIsoLanguages;
extern const std::array<CIsoCountry, 247> kIsoCountries;

// English names, looked up without regard to letter case; empty when unknown.
std::wstring_view LanguageName(std::wstring_view subtag);
std::wstring_view CountryName(std::wstring_view subtag);

}  // namespace wxutil
