#include "app/SystemLanguage.h"

#include <wx/intl.h>

#include <cstdlib>

#include "app/App.h"
#include "wxutil/LocaleVariables.h"

std::wstring SystemProductLanguage() {
    // The toolkit knows a language only when its locale is installed, and a menu has its own
    // texts for languages the computer may not have.
    const std::wstring language = wxutil::LanguageFromLocaleVariables([](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(value) : std::string();
    });
    return language.empty() ? CApp::LanguageCode(wxLocale::GetSystemLanguage()) : language;
}
