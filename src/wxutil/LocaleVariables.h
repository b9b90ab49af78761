#pragma once
// The language the POSIX locale variables ask for, read from their values alone, so that a
// language whose locale is not installed on the computer is still the one asked for.

#include <functional>
#include <string>

namespace wxutil {

// The value of an environment variable; empty when it is not set.
using FVariableLookup = std::function<std::string(const char* name)>;

// The language of the first of LC_ALL, LC_MESSAGES and LANG (the order in which POSIX lets
// them decide the language of messages) that names one, as a language tag: "de_DE.UTF-8" and
// "de_DE@euro" give "de-de", "pt" gives "pt". Empty values, "C" and "POSIX" (with or without
// a codeset) and values that are no language name are passed over. Empty when none names one.
std::wstring LanguageFromLocaleVariables(const FVariableLookup& lookup);

// The language part of one locale name ("de_DE.UTF-8" gives "de-de"); empty for "C",
// "POSIX" and anything that is not a language, optionally with a territory.
std::wstring LanguageOfLocaleName(const std::string& name);

}  // namespace wxutil
