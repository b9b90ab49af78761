#include "wxutil/Locale.h"

#include <wx/log.h>
#include <wx/translation.h>

#include "wxutil/PackTranslations.h"

namespace wxutil {

namespace {

// Load the toolkit's default catalogue and convert encodings.
constexpr int kLocaleFlags = 3;

}  // namespace

bool CLocale::Start(int language, const wxString& languageName,
                    const std::map<std::wstring, std::wstring>& packTexts) {
    bool started = false;
    {
        // The toolkit complains about locales the system lacks; a menu must not show that.
        wxLogNull quiet;
        started = Init(language, kLocaleFlags);
    }
    // Every switch starts from fresh translations, so nothing of the previous language's
    // pack shows through where the new pack says nothing.
    wxTranslations* translations = wxTranslations::Get();
    if (!translations || !started) {
        translations = new wxTranslations();
        translations->SetLanguage(languageName);
        wxTranslations::Set(translations);
    }
    translations->SetLoader(new CPackTranslationsLoader(packTexts, languageName));
    {
        wxLogNull quiet;
        // Added last, so searched first.
        translations->AddCatalog(kPackDomain);
    }
    return started;
}

}  // namespace wxutil
