#pragma once
// The toolkit locale of the chosen user-interface language, whose own texts come from the
// language pack ("id:" keys) before the toolkit's catalogue files.

#include <wx/intl.h>

#include <map>
#include <string>

#include "tarn/Object.h"

namespace wxutil {

class CLocale : public wxLocale, public tarn::CObject {
public:
    CLocale() = default;
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

    // Initialises the locale for a registered language quietly and routes the toolkit's
    // translations through the pack's texts; false when the system lacks that locale (the
    // pack's texts are routed all the same).
    bool Start(int language, const wxString& languageName,
               const std::map<std::wstring, std::wstring>& packTexts);
};

}  // namespace wxutil
