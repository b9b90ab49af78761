#include "tarn/StreamFactory.h"

#include <utility>

#include "tarn/Exception.h"

namespace tarn {

namespace {

template <class S>
P<S> Found(P<S> stream, const P<CURI>& uri) {
    if (!stream) throw CFileNotFoundError(uri);
    return stream;
}

}  // namespace

P<IInStream> CStreamFactory::OpenInStream(const P<CURI>& uri, const CStreamMode& mode) {
    return Found(TryOpenInStream(uri, mode), uri);
}

P<IOutStream> CStreamFactory::OpenOutStream(const P<CURI>& uri, const CStreamMode& mode) {
    return Found(TryOpenOutStream(uri, mode), uri);
}

P<IIOStream> CStreamFactory::OpenIOStream(const P<CURI>& uri, const CStreamMode& mode) {
    return Found(TryOpenIOStream(uri, mode), uri);
}

P<IResetableInStream> CStreamFactory::OpenResetableInStream(const P<CURI>& uri,
                                                            const CStreamMode& mode) {
    return Found(TryOpenResetableInStream(uri, mode), uri);
}

P<IResetableOutStream> CStreamFactory::OpenResetableOutStream(const P<CURI>& uri,
                                                              const CStreamMode& mode) {
    return Found(TryOpenResetableOutStream(uri, mode), uri);
}

P<IResetableIOStream> CStreamFactory::OpenResetableIOStream(const P<CURI>& uri,
                                                            const CStreamMode& mode) {
    return Found(TryOpenResetableIOStream(uri, mode), uri);
}

P<ISeekableInStream> CStreamFactory::OpenSeekableInStream(const P<CURI>& uri,
                                                          const CStreamMode& mode) {
    return Found(TryOpenSeekableInStream(uri, mode), uri);
}

P<ISeekableOutStream> CStreamFactory::OpenSeekableOutStream(const P<CURI>& uri,
                                                            const CStreamMode& mode) {
    return Found(TryOpenSeekableOutStream(uri, mode), uri);
}

P<ISeekableIOStream> CStreamFactory::OpenSeekableIOStream(const P<CURI>& uri,
                                                          const CStreamMode& mode) {
    return Found(TryOpenSeekableIOStream(uri, mode), uri);
}

}  // namespace tarn
