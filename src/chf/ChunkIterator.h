#pragma once
// Walks the chunks of a region and opens streams or nested iterators on their data. It holds
// the streams it opened: when one of them grows or shrinks, the iterator moves what lies
// after the change, grows or shrinks itself and passes the change on to its own holder.

#include <cstdint>

#include "chf/ChunkHolder.h"
#include "chf/ChunkStream.h"

namespace chf {

class CChunkIterator : public CChunkStream, public virtual IChunkHolder {
public:
    static constexpr std::uint64_t kHeaderSize = 12;  // id and data size

    using CChunkStream::CChunkStream;

    // Moves to the next chunk; false when fewer than a header's bytes are left. A data size
    // that runs past the region raises tarn::CEndOfStreamError.
    bool Next();
    // Back before the first chunk.
    void Reset();
    // Repeats Next until a chunk with this id is current.
    bool FindNext(std::uint32_t id);

    bool IsOnChunk() const { return m_onChunk; }
    std::uint32_t GetChunkId() const { return m_chunkId; }
    std::uint64_t GetChunkSize() const { return m_chunkSize; }

    // Over the current chunk's data; tarn::CInvalidObjectStateError when there is none.
    tarn::P<CChunkStream> OpenChunkStream();
    tarn::P<CChunkIterator> OpenChunkIterator();

    // Adds an empty chunk at the end of the region and makes it the current one.
    void AppendChunk(std::uint32_t id);

    void SpaceInserted(IStream* source, std::uint64_t position, std::uint64_t count) override;
    void SpaceRemoved(IStream* source, std::uint64_t position, std::uint64_t count) override;
    void LinkChild(CChunkStream* child) override;
    void UnlinkChild(CChunkStream* child) override;

protected:
    void OnOwnSpaceInserted(std::uint64_t position, std::uint64_t count) override;
    void OnOwnSpaceRemoved(std::uint64_t position, std::uint64_t count) override;

private:
    template <class T>
    tarn::P<T> OpenChild();
    CChunkStream* FindChild(const IStream* stream) const;
    void NotifyChildren(IStream* source, std::uint64_t position, std::uint64_t count, bool inserted,
                        const CChunkStream* except);
    // Keeps the current chunk and the cursor on their bytes. fromInside: the change came
    // through a stream on one of the chunks, so it may lie inside the current chunk's data
    // or at the very end of the chunk before it.
    void FollowInsert(std::uint64_t offset, std::uint64_t count, bool fromInside);
    void FollowRemove(std::uint64_t offset, std::uint64_t count, bool fromInside);
    void ClearChunk();

    CChunkStream* m_firstChild = nullptr;
    std::uint32_t m_chunkId = 0;
    std::uint64_t m_chunkSize = 0;
    std::uint64_t m_header = 0;  // relative to the region; where Next goes on when not on one
    bool m_onChunk = false;
};

}  // namespace chf
