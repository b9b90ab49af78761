#include "app/SystemLanguage.h"

#include <wx/intl.h>

#include "app/App.h"

std::wstring SystemProductLanguage() { return CApp::LanguageCode(wxLocale::GetSystemLanguage()); }
