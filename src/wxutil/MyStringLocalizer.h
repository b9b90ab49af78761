#pragma once
// The process-wide localizer: the chosen pack's texts, with the toolkit's own translations
// for "id:" keys.

#include <string>

#include "tarn/StringLocalizer.h"

namespace wxutil {

class CMyStringLocalizer : public tarn::CStringLocalizer {
public:
    // Makes this class the global localizer; call before anything asks for a text.
    // Returns false when the global localizer already existed.
    static bool Install();

    // Handed to the locale manager.
    std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) override;
    // The table lookup alone (with the fallback), without the manager's additions.
    std::wstring LocalizeOwn(const std::wstring& key, const std::wstring& defaultText);
};

}  // namespace wxutil
