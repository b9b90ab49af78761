#include "chf/ChunkIterator.h"

#include <algorithm>

#include "chf/DataIO.h"
#include "tarn/Exception.h"

namespace chf {

bool CChunkIterator::Next() {
    const std::uint64_t at = m_onChunk ? m_header + kHeaderSize + m_chunkSize : m_header;
    if (at > m_length || m_length - at < kHeaderSize) {
        ClearChunk();
        m_header = at;
        m_position = at;
        return false;
    }
    Seek(at);
    const std::uint32_t id = ReadU32(*this);
    // Streams open on chunks write their size fields as they change, so the field is current.
    const std::uint64_t size = ReadU64(*this);
    if (size > m_length - at - kHeaderSize) throw tarn::CEndOfStreamError(GetURI());
    m_header = at;
    m_chunkId = id;
    m_chunkSize = size;
    m_onChunk = true;
    return true;
}

void CChunkIterator::Reset() {
    m_position = 0;
    ClearChunk();
    m_header = 0;
}

bool CChunkIterator::FindNext(std::uint32_t id) {
    while (Next()) {
        if (m_chunkId == id) return true;
    }
    return false;
}

void CChunkIterator::ClearChunk() {
    m_chunkId = 0;
    m_chunkSize = 0;
    m_onChunk = false;
}

tarn::P<CChunkStream> CChunkIterator::OpenChunkStream() { return OpenChild<CChunkStream>(); }

tarn::P<CChunkIterator> CChunkIterator::OpenChunkIterator() { return OpenChild<CChunkIterator>(); }

template <class T>
tarn::P<T> CChunkIterator::OpenChild() {
    if (!m_onChunk) throw tarn::CInvalidObjectStateError(L"the iterator is on no chunk", this);
    tarn::P<T> child = tarn::New<T>(m_stream, m_start + m_header + kHeaderSize, m_chunkSize,
                                    tarn::P<IChunkHolder>(this));
    LinkChild(child.Get());
    return child;
}

void CChunkIterator::AppendChunk(std::uint32_t id) {
    const std::uint64_t at = m_length;
    unsigned char header[kHeaderSize] = {};
    for (int i = 0; i < 4; ++i) header[i] = static_cast<unsigned char>(id >> (8 * i));
    Seek(at);
    Write(header, sizeof header);
    m_header = at;
    m_chunkId = id;
    m_chunkSize = 0;
    m_onChunk = true;
}

void CChunkIterator::LinkChild(CChunkStream* child) {
    child->m_previous = nullptr;
    child->m_next = m_firstChild;
    if (m_firstChild) m_firstChild->m_previous = child;
    m_firstChild = child;
}

void CChunkIterator::UnlinkChild(CChunkStream* child) {
    if (child->m_previous) {
        child->m_previous->m_next = child->m_next;
    } else if (m_firstChild == child) {
        m_firstChild = child->m_next;
    }
    if (child->m_next) child->m_next->m_previous = child->m_previous;
    child->m_next = child->m_previous = nullptr;
}

CChunkStream* CChunkIterator::FindChild(const IStream* stream) const {
    for (CChunkStream* child = m_firstChild; child; child = child->m_next) {
        if (static_cast<const IStream*>(child) == stream) return child;
    }
    return nullptr;
}

void CChunkIterator::NotifyChildren(IStream* source, std::uint64_t position, std::uint64_t count,
                                    bool inserted, const CChunkStream* except) {
    for (CChunkStream* child = m_firstChild; child; child = child->m_next) {
        if (child == except) continue;
        if (inserted) {
            child->SpaceInserted(source, position, count);
        } else {
            child->SpaceRemoved(source, position, count);
        }
    }
}

void CChunkIterator::SpaceInserted(IStream* source, std::uint64_t position, std::uint64_t count) {
    if (CChunkStream* child = FindChild(source)) {
        // One of the chunks grew: so does this region, and all behind the change moves up.
        const std::uint64_t offset = position - m_start;
        m_length += count;
        FollowInsert(offset, count, true);
        if (offset < m_position) m_position += count;
        NotifyChildren(child, position, count, true, child);
        UpdateSizeField();
        if (m_holder) m_holder->SpaceInserted(this, position, count);
        return;
    }
    const bool sameRegion = IsSameRegion(source);
    CChunkStream::SpaceInserted(source, position, count);
    if (sameRegion) FollowInsert(position - m_start, count, true);
    NotifyChildren(source, position, count, true, nullptr);
}

void CChunkIterator::SpaceRemoved(IStream* source, std::uint64_t position, std::uint64_t count) {
    if (CChunkStream* child = FindChild(source)) {
        const std::uint64_t offset = position - m_start;
        const std::uint64_t cut = offset < m_length ? std::min(count, m_length - offset) : 0;
        m_length -= cut;
        FollowRemove(offset, cut, true);
        if (offset < m_position) m_position -= std::min(cut, m_position - offset);
        NotifyChildren(child, position, cut, false, child);
        UpdateSizeField();
        if (m_holder) m_holder->SpaceRemoved(this, position, cut);
        return;
    }
    const bool sameRegion = IsSameRegion(source);
    CChunkStream::SpaceRemoved(source, position, count);
    if (sameRegion) FollowRemove(position - m_start, count, true);
    NotifyChildren(source, position, count, false, nullptr);
}

void CChunkIterator::OnOwnSpaceInserted(std::uint64_t position, std::uint64_t count) {
    FollowInsert(position - m_start, count, false);
    NotifyChildren(this, position, count, true, nullptr);
}

void CChunkIterator::OnOwnSpaceRemoved(std::uint64_t position, std::uint64_t count) {
    FollowRemove(position - m_start, count, false);
    NotifyChildren(this, position, count, false, nullptr);
}

void CChunkIterator::FollowInsert(std::uint64_t offset, std::uint64_t count, bool fromInside) {
    if (m_onChunk) {
        const std::uint64_t data = m_header + kHeaderSize;
        if (offset <= m_header) {
            m_header += count;
        } else if (fromInside && offset >= data && offset <= data + m_chunkSize) {
            m_chunkSize += count;
        }
    } else if (offset < m_header || (fromInside && offset == m_header)) {
        // Bytes a chunk gained at the end stay in front of where iteration goes on; a chunk
        // added to the region there is still to come.
        m_header += count;
    }
}

void CChunkIterator::FollowRemove(std::uint64_t offset, std::uint64_t count, bool fromInside) {
    const std::uint64_t end = offset + count;
    if (m_onChunk) {
        const std::uint64_t data = m_header + kHeaderSize;
        if (end <= m_header) {
            m_header -= count;
        } else if (offset <= m_header) {
            // The current chunk's header went: iteration goes on with what followed it.
            ClearChunk();
            m_header = offset;
        } else if (fromInside && offset >= data && end <= data + m_chunkSize) {
            m_chunkSize -= count;
        }
    } else if (end <= m_header) {
        m_header -= count;
    } else if (offset < m_header) {
        m_header = offset;
    }
}

}  // namespace chf
