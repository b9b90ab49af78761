#include "tarn/win32/DiskStream.h"

#include <utility>

namespace tarn::win32 {

CDiskInStream::CDiskInStream(const P<CURI>& uri, const CStreamMode& mode) {
    m_file.Open(uri, mode, CStreamMode::kRead, this);
}

void CDiskInStream::Read(void* buffer, std::size_t count) { m_file.Read(buffer, count); }

std::size_t CDiskInStream::ReadSome(void* buffer, std::size_t count) {
    return m_file.ReadSome(buffer, count);
}

CDiskOutStream::CDiskOutStream(const P<CURI>& uri, const CStreamMode& mode) {
    m_file.Open(uri, mode, CStreamMode::kWrite, this);
}

void CDiskOutStream::Write(const void* data, std::size_t count) { m_file.Write(data, count); }
void CDiskOutStream::Flush() { m_file.Flush(); }
void CDiskOutStream::SetSize(std::uint64_t size) { m_file.SetSize(size); }

CDiskIOStream::CDiskIOStream(const P<CURI>& uri, const CStreamMode& mode) {
    m_file.Open(uri, mode, CStreamMode::kRead | CStreamMode::kWrite, this);
}

void CDiskIOStream::Read(void* buffer, std::size_t count) { m_file.Read(buffer, count); }

std::size_t CDiskIOStream::ReadSome(void* buffer, std::size_t count) {
    return m_file.ReadSome(buffer, count);
}

void CDiskIOStream::Write(const void* data, std::size_t count) { m_file.Write(data, count); }
void CDiskIOStream::Flush() { m_file.Flush(); }
void CDiskIOStream::SetSize(std::uint64_t size) { m_file.SetSize(size); }

P<IStreamMarker> CDiskIOStream::CreateMarker() {
    return New<CMarker>(P<CDiskIOStream>(this), m_file.GetPosition());
}

CDiskIOStream::CMarker::CMarker(P<CDiskIOStream> stream, std::uint64_t position)
    : m_stream(std::move(stream)), m_position(position) {}

void CDiskIOStream::CMarker::Restore() {
    m_stream->Seek(static_cast<std::int64_t>(m_position), ESeekOrigin::Begin);
}

}  // namespace tarn::win32
