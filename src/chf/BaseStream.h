#pragma once
// A stream over a byte store that can be resized: reading, writing and the space operations,
// which move the bytes after the change point through one block buffer.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "chf/Stream.h"

namespace chf {

class CBaseStream : public tarn::CObject, public virtual IStream {
public:
    static constexpr std::size_t kMoveBlockSize = 65536;

    std::uint64_t Tell() const override { return m_position; }
    void Seek(std::uint64_t position) override { m_position = position; }
    void Read(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    // Space opened beyond the end first fills the gap with zeros.
    void InsertSpace(std::uint64_t count) override;
    // Raises tarn::CInvalidArgError when fewer than count bytes follow the position.
    void RemoveSpace(std::uint64_t count) override;

protected:
    // Exactly count bytes at position, or tarn::CEndOfStreamError.
    virtual void ReadAt(std::uint64_t position, void* buffer, std::size_t count) = 0;
    // Writing past the end grows the store (the gap reads as zeros).
    virtual void WriteAt(std::uint64_t position, const void* data, std::size_t count) = 0;
    // Cuts the store or grows it with zeros.
    virtual void SetStoreSize(std::uint64_t size) = 0;

private:
    std::byte* MoveBuffer();
    // Copies count bytes from one position to another, block by block; the ranges may
    // overlap.
    void MoveBytes(std::uint64_t from, std::uint64_t to, std::uint64_t count);
    void FillZeros(std::uint64_t position, std::uint64_t count);

    std::uint64_t m_position = 0;
    std::unique_ptr<std::byte[]> m_buffer;  // allocated on the first move
};

}  // namespace chf
