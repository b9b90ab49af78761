#pragma once
// The language the system asks the menu's texts to be in.

#include <string>

// The product language of the system as a tag such as "de-de"; "en-us" when it names none.
// On Linux the locale variables decide (LC_ALL, then LC_MESSAGES, then LANG), whether or not
// that locale is installed; on Windows the user's display language does.
std::wstring SystemProductLanguage();
