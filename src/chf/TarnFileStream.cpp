#include "chf/TarnFileStream.h"

#include <limits>

#include "tarn/Exception.h"
#include "tarn/StreamManager.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/Pathes.h"

namespace chf {

namespace {

constexpr std::uint64_t kMaxOffset =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

}  // namespace

CTarnFileStream::CTarnFileStream(const std::wstring& path, EMode mode)
    : m_uri(tarn::win32::CPathes::LocalPathToURI(path)) {
    tarn::win32::CDiskStreamFactory::RegisterWithStreamManager();
    const tarn::P<tarn::IStreamManager> manager = tarn::GetStreamManager();
    if (mode == EMode::Read) {
        tarn::P<tarn::ISeekableInStream> in =
            manager->OpenSeekableInStream(m_uri, tarn::CStreamMode::Reading());
        m_seekable = in;
        m_in = in;
        return;
    }
    tarn::CStreamMode streamMode =
        mode == EMode::Create ? tarn::CStreamMode::Creating() : tarn::CStreamMode::Updating();
    // Growing a chunk in place moves bytes, so a writer always reads as well.
    streamMode.access |= tarn::CStreamMode::kRead;
    tarn::P<tarn::ISeekableIOStream> io = manager->OpenSeekableIOStream(m_uri, streamMode);
    m_seekable = io;
    m_in = io;
    m_out = io;
}

std::uint64_t CTarnFileStream::GetSize() const { return m_seekable->GetSize(); }

void CTarnFileStream::Flush() { Writable().Flush(); }

void CTarnFileStream::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    const std::uint64_t size = GetSize();
    if (position > size || count > size - position) throw tarn::CEndOfStreamError(m_uri);
    if (count == 0) return;
    SeekTo(position, L"Read");
    m_in->Read(buffer, count);
}

void CTarnFileStream::WriteAt(std::uint64_t position, const void* data, std::size_t count) {
    tarn::ISeekableOutStream& out = Writable();
    if (count == 0) return;
    if (position > kMaxOffset || count > kMaxOffset - position) {
        throw tarn::CInvalidArgError(L"Write", L"position", this);
    }
    SeekTo(position, L"Write");
    out.Write(data, count);
}

void CTarnFileStream::SetStoreSize(std::uint64_t size) { Writable().SetSize(size); }

tarn::ISeekableOutStream& CTarnFileStream::Writable() const {
    if (!m_out) {
        throw tarn::CInvalidObjectStateError(L"the file is open for reading only", this);
    }
    return *m_out;
}

void CTarnFileStream::SeekTo(std::uint64_t position, const wchar_t* method) const {
    if (position > kMaxOffset) throw tarn::CInvalidArgError(method, L"position", this);
    m_seekable->Seek(static_cast<std::int64_t>(position), tarn::ESeekOrigin::Begin);
}

}  // namespace chf
