#pragma once
// The language packs of one application found in a folder.

#include <map>
#include <string>
#include <string_view>

#include "tarn/Arrays.h"
#include "tarn/Object.h"
#include "tarn/StringLocalizer.h"
#include "wxutil/LanguageInfo.h"

namespace wxutil {

// Keys of the toolkit's own texts: this prefix followed by the English text.
inline constexpr std::wstring_view kToolkitKeyPrefix = L"id:";

class CLocalePacks : public tarn::CObject {
public:
    // Lists the files named prefix + "*.zvtLang" in the folder (prefix and extension in any
    // letter case), in name order, and keeps those whose header reads and, when applicationId
    // is not empty, names exactly that application. Unreadable or foreign files are skipped
    // without a word.
    CLocalePacks(const std::wstring& folder, const std::wstring& prefix,
                 const std::wstring& applicationId);

    // The pack that best matches the language, or -1 when none shares a first subtag with it.
    int FindBest(const std::wstring& language) const;
    // Sets every text of the pack in the localizer. The toolkit's own texts (keys "id:" +
    // English text) are also gathered in toolkitTexts, by English text, when it is given.
    bool Load(int index, tarn::IStringLocalizer& localizer,
              std::map<std::wstring, std::wstring>* toolkitTexts = nullptr) const;

    const tarn::TCleaningSimpleArray<CLanguageInfo>& GetPacks() const { return m_packs; }
    const std::wstring& GetApplicationId() const { return m_applicationId; }

private:
    tarn::TCleaningSimpleArray<CLanguageInfo> m_packs;
    std::wstring m_applicationId;
};

}  // namespace wxutil
