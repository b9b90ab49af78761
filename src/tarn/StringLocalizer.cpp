#include "tarn/StringLocalizer.h"

#include <atomic>

#include "tarn/Singleton.h"

namespace tarn {

namespace {

constexpr float kMaxLoad = 0.8f;  // the table doubles past this load

P<IStringLocalizer> MakePlainLocalizer() { return New<CStringLocalizer>(); }

std::atomic<LocalizerFactory> g_factory{&MakePlainLocalizer};
std::atomic<bool> g_created{false};

P<IStringLocalizer> MakeGlobalLocalizer() {
    g_created.store(true);
    return g_factory.load()();
}

}  // namespace

CStringLocalizer::CStringLocalizer() { m_texts.max_load_factor(kMaxLoad); }

void CStringLocalizer::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_texts.clear();
}

void CStringLocalizer::SetFallback(P<IStringLocalizer> fallback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fallback = std::move(fallback);
}

void CStringLocalizer::Set(const std::wstring& key, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_texts[key] = text;
}

std::wstring CStringLocalizer::Localize(const std::wstring& key,
                                        const std::wstring& defaultText) {
    P<IStringLocalizer> fallback;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_texts.find(key);
        if (found != m_texts.end() && !found->second.empty()) return found->second;
        fallback = m_fallback;
    }
    // Asked outside the lock: a fallback may well lead back to this localizer.
    if (fallback) return fallback->Localize(key, defaultText);
    return defaultText;
}

P<IStringLocalizer> GetGlobalLocalizer() {
    static TSingletonHolder<IStringLocalizer> holder;
    return holder.Get(&MakeGlobalLocalizer);
}

bool SetGlobalLocalizerFactory(LocalizerFactory factory) {
    std::lock_guard<std::mutex> lock(singleton::CreationLock());
    if (g_created.load() || factory == nullptr) return false;
    g_factory.store(factory);
    return true;
}

std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) {
    return GetGlobalLocalizer()->Localize(key, defaultText);
}

std::wstring Localize(const CMessage& message) {
    return Localize(message.key, message.defaultText);
}

}  // namespace tarn
