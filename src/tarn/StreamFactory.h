#pragma once
// Turning URIs into streams: one try-open and one open for each of the nine stream kinds.

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/Stream.h"
#include "tarn/StreamMode.h"
#include "tarn/URI.h"

namespace tarn {

class IStreamFactory : public virtual IBase {
public:
    // A try-open yields an empty reference when the factory does not serve the URI at all;
    // the matching open raises CFileNotFoundError for the URI then. A URI the factory does
    // serve but cannot open (a missing file, no permission, a bad mode) raises in both.
    virtual P<IInStream> TryOpenInStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IOutStream> TryOpenOutStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IIOStream> TryOpenIOStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IResetableInStream> TryOpenResetableInStream(const P<CURI>& uri,
                                                           const CStreamMode& mode) = 0;
    virtual P<IResetableOutStream> TryOpenResetableOutStream(const P<CURI>& uri,
                                                             const CStreamMode& mode) = 0;
    virtual P<IResetableIOStream> TryOpenResetableIOStream(const P<CURI>& uri,
                                                           const CStreamMode& mode) = 0;
    virtual P<ISeekableInStream> TryOpenSeekableInStream(const P<CURI>& uri,
                                                         const CStreamMode& mode) = 0;
    virtual P<ISeekableOutStream> TryOpenSeekableOutStream(const P<CURI>& uri,
                                                           const CStreamMode& mode) = 0;
    virtual P<ISeekableIOStream> TryOpenSeekableIOStream(const P<CURI>& uri,
                                                         const CStreamMode& mode) = 0;

    virtual P<IInStream> OpenInStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IOutStream> OpenOutStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IIOStream> OpenIOStream(const P<CURI>& uri, const CStreamMode& mode) = 0;
    virtual P<IResetableInStream> OpenResetableInStream(const P<CURI>& uri,
                                                        const CStreamMode& mode) = 0;
    virtual P<IResetableOutStream> OpenResetableOutStream(const P<CURI>& uri,
                                                          const CStreamMode& mode) = 0;
    virtual P<IResetableIOStream> OpenResetableIOStream(const P<CURI>& uri,
                                                        const CStreamMode& mode) = 0;
    virtual P<ISeekableInStream> OpenSeekableInStream(const P<CURI>& uri,
                                                      const CStreamMode& mode) = 0;
    virtual P<ISeekableOutStream> OpenSeekableOutStream(const P<CURI>& uri,
                                                        const CStreamMode& mode) = 0;
    virtual P<ISeekableIOStream> OpenSeekableIOStream(const P<CURI>& uri,
                                                      const CStreamMode& mode) = 0;
};

// Base of factories that only need to say which URIs they serve: each open is the matching
// try-open, with CFileNotFoundError when no stream results.
class CStreamFactory : public CObject, public virtual IStreamFactory {
public:
    P<IInStream> OpenInStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IOutStream> OpenOutStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IIOStream> OpenIOStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<IResetableInStream> OpenResetableInStream(const P<CURI>& uri,
                                                const CStreamMode& mode) override;
    P<IResetableOutStream> OpenResetableOutStream(const P<CURI>& uri,
                                                  const CStreamMode& mode) override;
    P<IResetableIOStream> OpenResetableIOStream(const P<CURI>& uri,
                                                const CStreamMode& mode) override;
    P<ISeekableInStream> OpenSeekableInStream(const P<CURI>& uri, const CStreamMode& mode) override;
    P<ISeekableOutStream> OpenSeekableOutStream(const P<CURI>& uri,
                                                const CStreamMode& mode) override;
    P<ISeekableIOStream> OpenSeekableIOStream(const P<CURI>& uri, const CStreamMode& mode) override;
};

}  // namespace tarn
