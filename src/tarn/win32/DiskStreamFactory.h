#pragma once
// The factory of disk streams: serves local "file" URIs (and URIs without a scheme).

#include "tarn/StreamFactory.h"

namespace tarn::win32 {

class CDiskStreamFactory : public CStreamFactory {
public:
    // Each yields no stream for a URI that is not a local file (another scheme, or a host);
    // for a local file it opens a disk stream or raises its error.
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

    // Registers one disk factory with the process-wide stream manager; later calls do
    // nothing. Whoever opens files through the manager calls it first.
    static void RegisterWithStreamManager();
};

}  // namespace tarn::win32
