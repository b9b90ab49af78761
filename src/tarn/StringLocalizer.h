#pragma once
// Keyed texts: every text the program shows is asked for by a dotted key with its English
// default, so the program is complete in English without any translation loaded.

#include <mutex>
#include <string>
#include <unordered_map>

#include "tarn/Messages.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace tarn {

class IStringLocalizer : public virtual IBase {
public:
    // Drops every translation.
    virtual void Clear() = 0;
    // The localizer asked when a key has no translation (may be empty).
    virtual void SetFallback(P<IStringLocalizer> fallback) = 0;
    // Stores or replaces the text of a key.
    virtual void Set(const std::wstring& key, const std::wstring& text) = 0;
    virtual std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) = 0;
};

class CStringLocalizer : public CObject, public virtual IStringLocalizer {
public:
    CStringLocalizer();

    void Clear() override;
    void SetFallback(P<IStringLocalizer> fallback) override;
    void Set(const std::wstring& key, const std::wstring& text) override;
    // The stored text when it is not empty; else the fallback's answer; else the default.
    std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) override;

private:
    std::mutex m_mutex;
    std::unordered_map<std::wstring, std::wstring> m_texts;  // keys compared exactly
    P<IStringLocalizer> m_fallback;
};

// The process-wide localizer, created on first use.
P<IStringLocalizer> GetGlobalLocalizer();

// A higher layer supplies the global localizer's class by installing its factory before
// first use. Returns false (and changes nothing) once the global localizer exists.
using LocalizerFactory = P<IStringLocalizer> (*)();
bool SetGlobalLocalizerFactory(LocalizerFactory factory);

// Shorthand for GetGlobalLocalizer()->Localize(key, defaultText).
std::wstring Localize(const std::wstring& key, const std::wstring& defaultText);
std::wstring Localize(const CMessage& message);

}  // namespace tarn
