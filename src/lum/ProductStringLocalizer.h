#pragma once
// Answers text requests from the product's own translations for one current language.

#include <mutex>
#include <string>

#include "lum/data/Product.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/StringLocalizer.h"

namespace lum {

class CProductStringLocalizer : public tarn::CObject, public virtual tarn::IStringLocalizer {
public:
    CProductStringLocalizer(tarn::P<lum::data::CProduct> product, std::wstring language);

    // Nothing is re-translated here: the caller hands the localizer to the product again.
    void SetLanguage(const std::wstring& language);
    std::wstring GetLanguage() const;

    // The product's texts are fixed: these change nothing.
    void Clear() override {}
    void SetFallback(tarn::P<tarn::IStringLocalizer>) override {}
    void Set(const std::wstring&, const std::wstring&) override {}

    // The translation for the current language, else for "en-us", else the default; an
    // empty translation counts as missing. Keys and languages compare exactly.
    std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) override;

private:
    tarn::P<lum::data::CProduct> m_product;
    mutable std::mutex m_mutex;  // the global localizer may ask from any thread
    std::wstring m_language;     // guarded by m_mutex
};

}  // namespace lum
