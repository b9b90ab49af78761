#include "wxutil/LocaleVariables.h"

#include <algorithm>

namespace wxutil {

namespace {

bool IsLetters(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

bool IsDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::wstring Lower(const std::string& text) {
    std::wstring lower;
    for (const char c : text)
        lower += static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower;
}

}  // namespace

std::wstring LanguageOfLocaleName(const std::string& name) {
    // language[_territory][.codeset][@modifier]
    const std::string locale = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = locale.find('_');
    const std::string language = locale.substr(0, separator);
    // An ISO 639 code of two or three letters; "C" and "POSIX" are none.
    if (language.size() < 2 || language.size() > 3 || !IsLetters(language)) return {};
    if (separator == std::string::npos) return Lower(language);
    // An ISO 3166 code of two letters, or a UN M.49 area of three digits.
    const std::string territory = locale.substr(separator + 1);
    const bool known = (territory.size() == 2 && IsLetters(territory)) ||
                       (territory.size() == 3 && IsDigits(territory));
    if (!known) return {};
    return Lower(language) + L"-" + Lower(territory);
}

std::wstring LanguageFromLocaleVariables(const FVariableLookup& lookup) {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::wstring language = LanguageOfLocaleName(lookup(variable));
        if (!language.empty()) return language;
    }
    return {};
}

}  // namespace wxutil
