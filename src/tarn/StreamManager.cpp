#include "tarn/StreamManager.h"

#include <algorithm>
#include <utility>

#include "tarn/Exception.h"
#include "tarn/Singleton.h"

namespace tarn {

void CStreamManager::AddFactory(P<IStreamFactory> factory) {
    // Registering the manager with itself would make every open recurse forever.
    if (!factory || static_cast<const IBase*>(factory.Get()) == static_cast<const IBase*>(this)) {
        throw CInvalidArgError(L"AddFactory", L"factory", this);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (std::find(m_factories.begin(), m_factories.end(), factory) != m_factories.end()) return;
    m_factories.push_back(std::move(factory));
}

bool CStreamManager::RemoveFactory(const P<IStreamFactory>& factory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = std::find(m_factories.begin(), m_factories.end(), factory);
    if (found == m_factories.end()) return false;
    m_factories.erase(found);
    return true;
}

template <class S>
P<S> CStreamManager::AskFactories(TryOpenFunction<S> tryOpen, const P<CURI>& uri,
                                  const CStreamMode& mode) {
    std::vector<P<IStreamFactory>> factories;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        factories = m_factories;
    }
    // Asked outside the lock: a factory may well open further streams through the manager.
    for (const P<IStreamFactory>& factory : factories) {
        if (P<S> stream = ((*factory).*tryOpen)(uri, mode)) return stream;
    }
    return nullptr;
}

P<IInStream> CStreamManager::TryOpenInStream(const P<CURI>& uri, const CStreamMode& mode) {
    return AskFactories<IInStream>(&IStreamFactory::TryOpenInStream, uri, mode);
}

P<IOutStream> CStreamManager::TryOpenOutStream(const P<CURI>& uri, const CStreamMode& mode) {
    return AskFactories<IOutStream>(&IStreamFactory::TryOpenOutStream, uri, mode);
}

P<IIOStream> CStreamManager::TryOpenIOStream(const P<CURI>& uri, const CStreamMode& mode) {
    return AskFactories<IIOStream>(&IStreamFactory::TryOpenIOStream, uri, mode);
}

P<IResetableInStream> CStreamManager::TryOpenResetableInStream(const P<CURI>& uri,
                                                               const CStreamMode& mode) {
    return AskFactories<IResetableInStream>(&IStreamFactory::TryOpenResetableInStream, uri, mode);
}

P<IResetableOutStream> CStreamManager::TryOpenResetableOutStream(const P<CURI>& uri,
                                                                 const CStreamMode& mode) {
    return AskFactories<IResetableOutStream>(&IStreamFactory::TryOpenResetableOutStream, uri, mode);
}

P<IResetableIOStream> CStreamManager::TryOpenResetableIOStream(const P<CURI>& uri,
                                                               const CStreamMode& mode) {
    return AskFactories<IResetableIOStream>(&IStreamFactory::TryOpenResetableIOStream, uri, mode);
}

P<ISeekableInStream> CStreamManager::TryOpenSeekableInStream(const P<CURI>& uri,
                                                             const CStreamMode& mode) {
    return AskFactories<ISeekableInStream>(&IStreamFactory::TryOpenSeekableInStream, uri, mode);
}

P<ISeekableOutStream> CStreamManager::TryOpenSeekableOutStream(const P<CURI>& uri,
                                                               const CStreamMode& mode) {
    return AskFactories<ISeekableOutStream>(&IStreamFactory::TryOpenSeekableOutStream, uri, mode);
}

P<ISeekableIOStream> CStreamManager::TryOpenSeekableIOStream(const P<CURI>& uri,
                                                             const CStreamMode& mode) {
    return AskFactories<ISeekableIOStream>(&IStreamFactory::TryOpenSeekableIOStream, uri, mode);
}

P<IStreamManager> GetStreamManager() {
    static TSingletonHolder<IStreamManager> holder;
    return holder.Get([]() -> P<IStreamManager> { return New<CStreamManager>(); });
}

}  // namespace tarn
