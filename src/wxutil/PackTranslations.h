#pragma once
// Routes the toolkit's own translation requests to the texts of the chosen language pack.

#include <map>
#include <memory>
#include <string>

#include <wx/translation.h>

namespace wxutil {

// The catalogue domain under which the pack's toolkit texts are offered.
inline constexpr const wchar_t* kPackDomain = L"lumplayer-pack";

// A message catalogue (the toolkit's binary .mo form) holding the given translations.
std::string BuildMessageCatalogue(const std::map<std::wstring, std::wstring>& translations);

// Serves the pack's texts for kPackDomain and the toolkit's catalogue files for every other
// domain.
class CPackTranslationsLoader : public wxTranslationsLoader {
public:
    CPackTranslationsLoader(std::map<std::wstring, std::wstring> translations,
                            wxString language);

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& language) override;
    wxArrayString GetAvailableTranslations(const wxString& domain) const override;

private:
    std::map<std::wstring, std::wstring> m_translations;
    wxString m_language;  // the one language the pack's catalogue is offered in
    wxFileTranslationsLoader m_files;
};

}  // namespace wxutil
