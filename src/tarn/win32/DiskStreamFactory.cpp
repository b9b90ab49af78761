#include "tarn/win32/DiskStreamFactory.h"

#include <mutex>

#include "tarn/StreamManager.h"
#include "tarn/win32/DiskFile.h"
#include "tarn/win32/DiskStream.h"

namespace tarn::win32 {

namespace {

template <class Stream>
P<Stream> OpenLocal(const P<CURI>& uri, const CStreamMode& mode) {
    if (!CDiskFile::IsLocalFileURI(uri)) return nullptr;
    return New<Stream>(uri, mode);
}

}  // namespace

P<IInStream> CDiskStreamFactory::TryOpenInStream(const P<CURI>& uri, const CStreamMode& mode) {
    return OpenLocal<CDiskInStream>(uri, mode);
}

P<IOutStream> CDiskStreamFactory::TryOpenOutStream(const P<CURI>& uri, const CStreamMode& mode) {
    return OpenLocal<CDiskOutStream>(uri, mode);
}

P<IIOStream> CDiskStreamFactory::TryOpenIOStream(const P<CURI>& uri, const CStreamMode& mode) {
    return OpenLocal<CDiskIOStream>(uri, mode);
}

P<IResetableInStream> CDiskStreamFactory::TryOpenResetableInStream(const P<CURI>& uri,
                                                                   const CStreamMode& mode) {
    return OpenLocal<CDiskInStream>(uri, mode);
}

P<IResetableOutStream> CDiskStreamFactory::TryOpenResetableOutStream(const P<CURI>& uri,
                                                                     const CStreamMode& mode) {
    return OpenLocal<CDiskOutStream>(uri, mode);
}

P<IResetableIOStream> CDiskStreamFactory::TryOpenResetableIOStream(const P<CURI>& uri,
                                                                   const CStreamMode& mode) {
    return OpenLocal<CDiskIOStream>(uri, mode);
}

P<ISeekableInStream> CDiskStreamFactory::TryOpenSeekableInStream(const P<CURI>& uri,
                                                                 const CStreamMode& mode) {
    return OpenLocal<CDiskInStream>(uri, mode);
}

P<ISeekableOutStream> CDiskStreamFactory::TryOpenSeekableOutStream(const P<CURI>& uri,
                                                                   const CStreamMode& mode) {
    return OpenLocal<CDiskOutStream>(uri, mode);
}

P<ISeekableIOStream> CDiskStreamFactory::TryOpenSeekableIOStream(const P<CURI>& uri,
                                                                 const CStreamMode& mode) {
    return OpenLocal<CDiskIOStream>(uri, mode);
}

void CDiskStreamFactory::RegisterWithStreamManager() {
    static std::once_flag once;
    std::call_once(once, [] { GetStreamManager()->AddFactory(New<CDiskStreamFactory>()); });
}

}  // namespace tarn::win32
