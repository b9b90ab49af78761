#include "chf/ChunkStream.h"

#include <algorithm>
#include <limits>

#include "chf/DataIO.h"
#include "tarn/Exception.h"

namespace chf {

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kSizeFieldBytes = 8;

}  // namespace

CChunkStream::CChunkStream(tarn::P<IStream> stream, std::uint64_t start, std::uint64_t length,
                           tarn::P<IChunkHolder> holder, bool hasSizeField)
    : m_holder(std::move(holder)),
      m_stream(std::move(stream)),
      m_start(start),
      m_length(length),
      m_writtenLength(length),
      m_noSizeField(!hasSizeField) {
    if (!m_stream) throw tarn::CInvalidArgError(L"CChunkStream", L"stream", nullptr);
    if (length > kMaxU64 - start || (hasSizeField && start < kSizeFieldBytes)) {
        throw tarn::CInvalidArgError(L"CChunkStream", L"start", nullptr);
    }
}

CChunkStream::~CChunkStream() {
    if (m_holder) m_holder->UnlinkChild(this);
}

tarn::P<tarn::CURI> CChunkStream::GetURI() const { return m_stream->GetURI(); }

void CChunkStream::Read(void* buffer, std::size_t count) {
    if (m_position > m_length || count > m_length - m_position) {
        throw tarn::CEndOfStreamError(GetURI());
    }
    m_stream->Seek(m_start + m_position);
    m_stream->Read(buffer, count);
    m_position += count;
}

void CChunkStream::Write(const void* data, std::size_t count) {
    if (count > kMaxU64 - m_position || m_position + count > kMaxU64 - m_start) {
        throw tarn::CInvalidArgError(L"Write", L"count", this);
    }
    if (m_position + count > m_length) Grow(m_position + count - m_length);
    m_stream->Seek(m_start + m_position);
    m_stream->Write(data, count);
    m_position += count;
}

void CChunkStream::Grow(std::uint64_t count) { InsertAt(m_start + m_length, count); }

// Inserts count bytes at the absolute position at, which lies within or at the end of this
// region, and tells everyone whose region moves or grows.
void CChunkStream::InsertAt(std::uint64_t at, std::uint64_t count) {
    m_stream->Seek(at);
    m_stream->InsertSpace(count);
    if (m_holder) m_holder->SpaceInserted(this, at, count);
    m_length += count;
    OnOwnSpaceInserted(at, count);
    UpdateSizeField();
}

void CChunkStream::InsertSpace(std::uint64_t count) {
    if (count == 0) return;
    if (m_position > m_length) throw tarn::CInvalidArgError(L"InsertSpace", L"position", this);
    if (count > kMaxU64 - m_start - m_length) {
        throw tarn::CInvalidArgError(L"InsertSpace", L"count", this);
    }
    InsertAt(m_start + m_position, count);
}

void CChunkStream::RemoveSpace(std::uint64_t count) {
    if (count == 0) return;
    if (m_position > m_length || count > m_length - m_position) {
        throw tarn::CInvalidArgError(L"RemoveSpace", L"count", this);
    }
    const std::uint64_t at = m_start + m_position;
    m_stream->Seek(at);
    m_stream->RemoveSpace(count);
    if (m_holder) m_holder->SpaceRemoved(this, at, count);
    m_length -= count;
    OnOwnSpaceRemoved(at, count);
    UpdateSizeField();
}

bool CChunkStream::IsSameRegion(const IStream* source) const {
    const auto* other = dynamic_cast<const CChunkStream*>(source);
    return other != nullptr && other != this && other->m_start == m_start &&
           other->m_stream == m_stream;
}

void CChunkStream::SpaceInserted(IStream* source, std::uint64_t position, std::uint64_t count) {
    if (IsSameRegion(source)) {
        // Another stream on this very chunk grew it (and wrote the size field).
        if (m_position > position - m_start) m_position += count;
        m_length += count;
        m_writtenLength = m_length;
    } else if (position < m_start) {
        m_start += count;
    }
}

void CChunkStream::SpaceRemoved(IStream* source, std::uint64_t position, std::uint64_t count) {
    if (IsSameRegion(source)) {
        const std::uint64_t at = position - m_start;
        const std::uint64_t cut = at < m_length ? std::min(count, m_length - at) : 0;
        if (m_position > at) m_position -= std::min(cut, m_position - at);
        m_length -= cut;
        m_writtenLength = m_length;
    } else if (position < m_start) {
        if (count <= m_start - position) {
            m_start -= count;
        } else {
            // The removal reached into this region: what it covered is gone.
            const std::uint64_t covered = std::min(count - (m_start - position), m_length);
            m_length -= covered;
            m_position = m_position > covered ? m_position - covered : 0;
            m_start = position;
        }
    }
}

void CChunkStream::OnOwnSpaceInserted(std::uint64_t, std::uint64_t) {}

void CChunkStream::OnOwnSpaceRemoved(std::uint64_t, std::uint64_t) {}

void CChunkStream::UpdateSizeField() {
    if (m_noSizeField || m_length == m_writtenLength) return;
    m_stream->Seek(m_start - kSizeFieldBytes);
    WriteU64(*m_stream, m_length);
    m_writtenLength = m_length;
}

}  // namespace chf
