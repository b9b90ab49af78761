#pragma once
// A window onto one region of an underlying stream: a chunk's data (or a whole file body).
// Writing past the end grows the region in place; the holder is told so that every
// enclosing chunk and every sibling opened after it stays in step, and the region's size
// field (the 8 bytes before it) is kept up to date.

#include <cstddef>
#include <cstdint>

#include "chf/ChunkHolder.h"
#include "chf/Stream.h"

namespace chf {

class CChunkStream : public tarn::CObject,
                     public virtual IStream,
                     public virtual IChunkSpaceListener {
public:
    // holder may be empty; a holder links the stream into its list of children itself.
    CChunkStream(tarn::P<IStream> stream, std::uint64_t start, std::uint64_t length,
                 tarn::P<IChunkHolder> holder = nullptr, bool hasSizeField = true);
    ~CChunkStream() override;
    CChunkStream(const CChunkStream&) = delete;
    CChunkStream& operator=(const CChunkStream&) = delete;

    std::uint64_t Tell() const override { return m_position; }
    std::uint64_t GetSize() const override { return m_length; }
    void Seek(std::uint64_t position) override { m_position = position; }
    // Grows the region first when the bytes reach past its end (a gap reads as zeros).
    void Write(const void* data, std::size_t count) override;
    // Never reads outside the region: raises tarn::CEndOfStreamError instead.
    void Read(void* buffer, std::size_t count) override;
    // Both raise tarn::CInvalidArgError for a change that would reach outside the region.
    void InsertSpace(std::uint64_t count) override;
    void RemoveSpace(std::uint64_t count) override;
    tarn::P<tarn::CURI> GetURI() const override;

    // A change made through another stream of the same underlying stream (a sibling, or a
    // stream opened on the same chunk).
    void SpaceInserted(IStream* source, std::uint64_t position, std::uint64_t count) override;
    void SpaceRemoved(IStream* source, std::uint64_t position, std::uint64_t count) override;

    // Absolute start of the region in the underlying stream.
    std::uint64_t GetRegionStart() const { return m_start; }

protected:
    // Called after the region itself changed through this stream (positions absolute).
    virtual void OnOwnSpaceInserted(std::uint64_t position, std::uint64_t count);
    virtual void OnOwnSpaceRemoved(std::uint64_t position, std::uint64_t count);
    // Whether source is another stream over exactly this region.
    bool IsSameRegion(const IStream* source) const;
    // Writes the length to the size field when it changed since it was last written.
    void UpdateSizeField();

private:
    friend class CChunkIterator;  // keeps the list of open children through the links below

    void Grow(std::uint64_t count);
    void InsertAt(std::uint64_t at, std::uint64_t count);

    tarn::P<IChunkHolder> m_holder;
    tarn::P<IStream> m_stream;
    std::uint64_t m_start;
    std::uint64_t m_length;
    std::uint64_t m_position = 0;
    std::uint64_t m_writtenLength;
    CChunkStream* m_next = nullptr;  // siblings among the holder's open children
    CChunkStream* m_previous = nullptr;
    bool m_noSizeField;
};

}  // namespace chf
