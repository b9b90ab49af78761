#include "wxutil/MyStringLocalizer.h"

#include "wxutil/LocaleManager.h"

namespace wxutil {

bool CMyStringLocalizer::Install() {
    return tarn::SetGlobalLocalizerFactory(
        [] { return tarn::P<tarn::IStringLocalizer>(tarn::New<CMyStringLocalizer>()); });
}

std::wstring CMyStringLocalizer::Localize(const std::wstring& key,
                                          const std::wstring& defaultText) {
    return CLocaleManager::Instance()->Localize(*this, key, defaultText);
}

std::wstring CMyStringLocalizer::LocalizeOwn(const std::wstring& key,
                                             const std::wstring& defaultText) {
    return CStringLocalizer::Localize(key, defaultText);
}

}  // namespace wxutil
