#pragma once
// Chooses the user-interface language: scans folders for language packs, loads the best match
// into the global localizer and switches the toolkit's locale to it.

#include <wx/string.h>

#include <map>
#include <mutex>
#include <string>

#include "tarn/Arrays.h"
#include "tarn/Object.h"
#include "wxutil/Locale.h"
#include "wxutil/LocalePacks.h"

namespace wxutil {

class CMyStringLocalizer;

class CLocaleManager : public tarn::CObject {
public:
    // Toolkit language numbers from here on are ours: copies of known languages, left to right.
    static constexpr int kFirstLanguageNumber = 9999999;

    static tarn::P<CLocaleManager> Instance();

    // Scans the folder once per application id (compared without case).
    void AddPacks(const std::wstring& folder, const std::wstring& prefix,
                  const std::wstring& applicationId);
    // Loads the best pack of every pack set into the global localizer (a CMyStringLocalizer,
    // else CCastError); true when at least one pack was loaded.
    bool SetLanguage(const std::wstring& language, bool switchToolkit);
    const std::wstring& GetLanguage() const { return m_language; }

    // The lookup behind CMyStringLocalizer::Localize.
    std::wstring Localize(CMyStringLocalizer& localizer, const std::wstring& key,
                          const std::wstring& defaultText);
    // A toolkit text: the pack's "id:" text when there is one, else the toolkit's own.
    wxString GetToolkitString(const wxString& text, const wxString& domain);

    const tarn::TCleaningSimpleArray<CLocalePacks>& GetPackSets() const { return m_packSets; }

private:
    void SwitchToolkit(const std::wstring& language,
                       const std::map<std::wstring, std::wstring>& packTexts);

    tarn::TCleaningSimpleArray<CLocalePacks> m_packSets;
    tarn::P<CLocale> m_locale;
    std::wstring m_language;
    std::map<std::wstring, wxString> m_toolkitTexts;  // guarded by m_cacheLock
    std::mutex m_cacheLock;
};

// The toolkit's locale name for a tag: "en-us" gives "en_US".
std::wstring ToolkitLocaleName(const std::wstring& tag);

}  // namespace wxutil
