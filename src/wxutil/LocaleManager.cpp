#include "wxutil/LocaleManager.h"

#include <wx/intl.h>

#include <atomic>

#include "tarn/Exception.h"
#include "tarn/Singleton.h"
#include "tarn/Text.h"
#include "wxutil/MyStringLocalizer.h"

namespace wxutil {

namespace {

tarn::P<CLocaleManager> MakeManager() { return tarn::New<CLocaleManager>(); }

// The toolkit's language list is process-wide, and so are the numbers we register in it.
std::atomic<int> g_registeredLanguages{0};

}  // namespace

std::wstring ToolkitLocaleName(const std::wstring& tag) {
    std::wstring name = tarn::ReplaceAll(tag, L"-", L"_");
    const std::size_t underscore = name.find(L'_');
    if (underscore != std::wstring::npos) {
        for (std::size_t i = underscore + 1; i < name.size(); ++i) {
            if (name[i] >= L'a' && name[i] <= L'z') name[i] = name[i] - L'a' + L'A';
        }
    }
    return name;
}

tarn::P<CLocaleManager> CLocaleManager::Instance() {
    static tarn::TSingletonHolder<CLocaleManager> holder;
    return holder.Get(&MakeManager);
}

void CLocaleManager::AddPacks(const std::wstring& folder, const std::wstring& prefix,
                              const std::wstring& applicationId) {
    for (const auto& packs : m_packSets) {
        if (tarn::EqualsNoCase(packs->GetApplicationId(), applicationId)) return;
    }
    m_packSets.Add(tarn::New<CLocalePacks>(folder, prefix, applicationId));
}

bool CLocaleManager::SetLanguage(const std::wstring& language, bool switchToolkit) {
    m_language = language;
    const tarn::P<tarn::IStringLocalizer> global = tarn::GetGlobalLocalizer();
    const tarn::P<CMyStringLocalizer> localizer = tarn::Cast<CMyStringLocalizer>(global);
    if (!localizer) {
        throw tarn::CCastError(tarn::TypeName(typeid(*global)), L"wxutil::CMyStringLocalizer");
    }
    localizer->Clear();
    {
        std::lock_guard<std::mutex> lock(m_cacheLock);
        m_toolkitTexts.clear();
    }
    bool loaded = false;
    std::map<std::wstring, std::wstring> packTexts;
    for (const auto& packs : m_packSets) {
        const int best = packs->FindBest(language);
        if (best >= 0) loaded = packs->Load(best, *localizer, &packTexts) || loaded;
    }
    if (switchToolkit) SwitchToolkit(language, packTexts);
    return loaded;
}

void CLocaleManager::SwitchToolkit(const std::wstring& language,
                                   const std::map<std::wstring, std::wstring>& packTexts) {
    const wxLanguageInfo* info = wxLocale::FindLanguageInfo(ToolkitLocaleName(language));
    if (!info) info = wxLocale::GetLanguageInfo(wxLANGUAGE_DEFAULT);
    if (!info) info = wxLocale::GetLanguageInfo(wxLANGUAGE_ENGLISH_US);
    if (!info) return;

    // The previous locale goes first: the toolkit restores the one before it.
    m_locale.Reset();
    m_locale = tarn::New<CLocale>();

    // Each switch registers its own number: the toolkit finds a number's first registration,
    // so reusing one number would bring back the first language chosen.
    wxLanguageInfo copy = *info;
    copy.Language = kFirstLanguageNumber + g_registeredLanguages++;
    copy.LayoutDirection = wxLayout_LeftToRight;
    wxLocale::AddLanguage(copy);
    m_locale->Start(copy.Language, copy.CanonicalName, packTexts);
}

std::wstring CLocaleManager::Localize(CMyStringLocalizer& localizer, const std::wstring& key,
                                      const std::wstring& defaultText) {
    const std::wstring translated = localizer.LocalizeOwn(key, L"");
    if (!translated.empty()) return translated;
    const std::wstring_view rest = std::wstring_view(key).substr(std::min<std::size_t>(3, key.size()));
    if (key.rfind(kToolkitKeyPrefix, 0) == 0 && rest.substr(0, defaultText.size()) == defaultText) {
        return wxGetTranslation(defaultText).ToStdWstring();
    }
    return defaultText;
}

wxString CLocaleManager::GetToolkitString(const wxString& text, const wxString& domain) {
    const std::wstring key = std::wstring(kToolkitKeyPrefix) + text.ToStdWstring();
    const tarn::P<CMyStringLocalizer> localizer =
        tarn::Cast<CMyStringLocalizer>(tarn::GetGlobalLocalizer());
    const std::wstring translated = localizer ? localizer->LocalizeOwn(key, L"") : std::wstring();
    if (translated.empty()) return wxGetTranslation(text, domain);
    std::lock_guard<std::mutex> lock(m_cacheLock);
    return m_toolkitTexts.try_emplace(key, translated).first->second;
}

}  // namespace wxutil
