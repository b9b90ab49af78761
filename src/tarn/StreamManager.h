#pragma once
// The stream manager: opens streams by URI through the factories registered with it.

#include <mutex>
#include <vector>

#include "tarn/StreamFactory.h"

namespace tarn {

// Opens like a factory, by asking its registered factories.
class IStreamManager : public virtual IStreamFactory {
public:
    // Adds a factory after those already registered; a factory registered already is not
    // added twice. The manager itself, or no factory, raises CInvalidArgError.
    virtual void AddFactory(P<IStreamFactory> factory) = 0;
    // Returns whether the factory was registered.
    virtual bool RemoveFactory(const P<IStreamFactory>& factory) = 0;
};

class CStreamManager : public CStreamFactory, public virtual IStreamManager {
public:
    void AddFactory(P<IStreamFactory> factory) override;
    bool RemoveFactory(const P<IStreamFactory>& factory) override;

    // Each asks the factories in the order of registration; the first stream wins. An error
    // raised by a factory ends the search: that factory serves the URI and has failed.
    P<IInStream> TryOpenInStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IOutStream> TryOpenOutStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IIOStream> TryOpenIOStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IResetableInStream> TryOpenResetableInStream(const P<CURI>& uri,
                                                   const CStreamMode& mode) override;
    P<IResetableOutStream> TryOpenResetableOutStream(const P<CURI>& uri,
                                                     const CStreamMode& mode) override;
    P<IResetableIOStream> TryOpenResetableIOStream(const P<CURI>& uri,
                                                   const CStreamMode& mode) override;
    P<ISeekableInStream> TryOpenSeekableInStream(const P<CURI>& uri,
                                                 const CStreamMode& mode) override;
    P<ISeekableOutStream> TryOpenSeekableOutStream(const P<CURI>& uri,
                                                   const CStreamMode& mode) override;
    P<ISeekableIOStream> TryOpenSeekableIOStream(const P<CURI>& uri,
                                                 const CStreamMode& mode) override;

private:
    template <class S>
    using TryOpenFunction = P<S> (IStreamFactory::*)(const P<CURI>&, const CStreamMode&);

    template <class S>
    P<S> AskFactories(TryOpenFunction<S> tryOpen, const P<CURI>& uri, const CStreamMode& mode);

    std::mutex m_mutex;
    std::vector<P<IStreamFactory>> m_factories;  // guarded by m_mutex
};

// The process-wide stream manager, created empty on first use.
P<IStreamManager> GetStreamManager();

}  // namespace tarn
