#include "wxutil/Locale.h"

#include <wx/log.h>
#include <wx/translation.h>

#include "wxutil/PackTranslations.h"

namespace wxutil {

namespace {

// Load the toolkit's default catalogue and convert encodings.
constexpr int kLocaleFlags = 3;

}  // namespace

bool CLocale::Start(int language, const std::map<std::wstring, std::wstring>& packTexts) {
    bool started = false;
    {
        // The toolkit complains about locales the system lacks; a menu must not show that.
        wxLogNull quiet;
        started = Init(language, kLocaleFlags);
    }
    wxTranslations* translations = wxTranslations::Get();
    if (!translations) {
        translations = new wxTranslations();
        wxTranslations::Set(translations);
    }
    translations->SetLoader(new CPackTranslationsLoader(packTexts));
    {
        wxLogNull quiet;
        // Added last, so searched first.
        translations->AddCatalog(kPackDomain);
    }
    return started;
}

}  // namespace wxutil
