#include "wxutil/LocalePacks.h"

#include <wx/dir.h>
#include <wx/filename.h>

#include <algorithm>
#include <exception>
#include <string_view>
#include <vector>

#include "chf/ResourceFile.h"
#include "tarn/Text.h"

namespace wxutil {

namespace {

constexpr std::wstring_view kPackExtension = L".zvtLang";

// Pack files are found as Windows finds them: prefix and extension in any letter case.
bool IsPackName(const std::wstring& name, const std::wstring& prefix) {
    if (name.size() < prefix.size() + kPackExtension.size()) return false;
    return tarn::EqualsNoCase(std::wstring_view(name).substr(0, prefix.size()), prefix) &&
           tarn::EqualsNoCase(std::wstring_view(name).substr(name.size() - kPackExtension.size()),
                              kPackExtension);
}

// The pack files of the folder, in name order.
std::vector<std::wstring> PackFiles(const std::wstring& folder, const std::wstring& prefix) {
    std::vector<std::wstring> names;
    wxDir directory;
    if (!wxDir::Exists(folder) || !directory.Open(folder)) return names;
    wxString name;
    for (bool more = directory.GetFirst(&name, wxString(), wxDIR_FILES); more;
         more = directory.GetNext(&name)) {
        if (IsPackName(name.ToStdWstring(), prefix)) names.push_back(name.ToStdWstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

CLocalePacks::CLocalePacks(const std::wstring& folder, const std::wstring& prefix,
                           const std::wstring& applicationId)
    : m_applicationId(applicationId) {
    for (const std::wstring& name : PackFiles(folder, prefix)) {
        const std::wstring path = wxFileName(folder, name).GetFullPath().ToStdWstring();
        try {
            chf::CResourceFile header;
            header.OpenHeader(path);
            if (!applicationId.empty() && header.GetApplicationId() != applicationId) continue;
            m_packs.Add(tarn::New<CLanguageInfo>(path, header));
        } catch (const std::exception&) {
            // Not a pack of ours, or damaged: it is simply not offered.
        }
    }
}

int CLocalePacks::FindBest(const std::wstring& language) const {
    const chf::CLanguageTag wanted(language);
    int best = -1;
    std::size_t bestScore = 0;
    for (std::size_t i = 0; i < m_packs.Size(); ++i) {
        const chf::CLanguageTag& tag = m_packs[i]->GetTag();
        const std::size_t score = wanted.Score(tag);
        if (score == 0) continue;
        // On a tie the more general pack (fewer subtags) wins; otherwise the earlier stays.
        const bool better = score > bestScore ||
                            (score == bestScore &&
                             tag.GetSubtagCount() < m_packs[best]->GetTag().GetSubtagCount());
        if (better) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

bool CLocalePacks::Load(int index, tarn::IStringLocalizer& localizer,
                        std::map<std::wstring, std::wstring>* toolkitTexts) const {
    chf::CResourceFile pack;
    pack.Open(m_packs[static_cast<std::size_t>(index)]->GetPath());
    pack.GetStrings().ForEach([&](const chf::CResourceStringTable::CEntry& entry) {
        localizer.Set(entry.key, entry.text);
        // An empty text is no translation, in the toolkit's catalogue as in the localizer.
        if (toolkitTexts && entry.key.rfind(kToolkitKeyPrefix, 0) == 0) {
            const std::wstring original = entry.key.substr(kToolkitKeyPrefix.size());
            if (entry.text.empty()) {
                toolkitTexts->erase(original);
            } else {
                (*toolkitTexts)[original] = entry.text;
            }
        }
    });
    return true;
}

}  // namespace wxutil
