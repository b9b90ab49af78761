#include "chf/BaseStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "tarn/Exception.h"

namespace chf {

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

}  // namespace

void CBaseStream::Read(void* buffer, std::size_t count) {
    ReadAt(m_position, buffer, count);
    m_position += count;
}

void CBaseStream::Write(const void* data, std::size_t count) {
    if (count > kMaxU64 - m_position) throw tarn::CInvalidArgError(L"Write", L"count", this);
    WriteAt(m_position, data, count);
    m_position += count;
}

void CBaseStream::InsertSpace(std::uint64_t count) {
    if (count == 0) return;
    const std::uint64_t size = GetSize();
    const std::uint64_t at = m_position;
    const std::uint64_t end = std::max(size, at);
    if (count > kMaxU64 - end) throw tarn::CInvalidArgError(L"InsertSpace", L"count", this);
    SetStoreSize(end + count);
    if (at < size) {
        MoveBytes(at, at + count, size - at);
        // The opened space holds stale copies of the moved bytes; it reads as zeros instead.
        FillZeros(at, std::min(count, size - at));
    }
}

void CBaseStream::RemoveSpace(std::uint64_t count) {
    if (count == 0) return;
    const std::uint64_t size = GetSize();
    const std::uint64_t at = m_position;
    if (at > size || count > size - at) {
        throw tarn::CInvalidArgError(L"RemoveSpace", L"count", this);
    }
    MoveBytes(at + count, at, size - at - count);
    SetStoreSize(size - count);
}

std::byte* CBaseStream::MoveBuffer() {
    if (!m_buffer) m_buffer = std::make_unique<std::byte[]>(kMoveBlockSize);
    return m_buffer.get();
}

void CBaseStream::MoveBytes(std::uint64_t from, std::uint64_t to, std::uint64_t count) {
    if (count == 0 || from == to) return;
    std::byte* buffer = MoveBuffer();
    if (to > from) {
        // Moving up: start with the last block so that nothing is overwritten before it moved.
        std::uint64_t left = count;
        while (left > 0) {
            const auto block =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, kMoveBlockSize));
            left -= block;
            ReadAt(from + left, buffer, block);
            WriteAt(to + left, buffer, block);
        }
    } else {
        std::uint64_t done = 0;
        while (done < count) {
            const auto block =
                static_cast<std::size_t>(std::min<std::uint64_t>(count - done, kMoveBlockSize));
            ReadAt(from + done, buffer, block);
            WriteAt(to + done, buffer, block);
            done += block;
        }
    }
}

void CBaseStream::FillZeros(std::uint64_t position, std::uint64_t count) {
    std::byte* buffer = MoveBuffer();
    std::memset(buffer, 0, kMoveBlockSize);
    while (count > 0) {
        const auto block = static_cast<std::size_t>(std::min<std::uint64_t>(count, kMoveBlockSize));
        WriteAt(position, buffer, block);
        position += block;
        count -= block;
    }
}

}  // namespace chf
