#include "graphics/SharedBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace graphics {

bool CSharedBuffer::Grow(std::uint64_t capacity) {
    if (capacity > std::numeric_limits<std::uint32_t>::max()) return false;
    // Not zeroed first: only the bytes below the length are ever read.
    auto data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    if (m_length > 0) std::memcpy(data.get(), m_data.get(), m_length);
    m_data = std::move(data);
    m_capacity = static_cast<std::uint32_t>(capacity);
    return true;
}

std::uint8_t* CSharedBuffer::MakeRoom(std::uint32_t n) {
    const std::uint64_t needed = std::uint64_t{m_length} + n;
    if (needed > m_capacity && !Grow(needed + kGrowth)) return nullptr;
    return m_data.get() + m_length;
}

bool CSharedBuffer::Reserve(std::uint32_t n, std::uint64_t ceiling) {
    const std::uint64_t needed = std::uint64_t{m_length} + n;
    if (needed <= m_capacity) return true;
    const std::uint64_t doubled = std::min<std::uint64_t>(std::uint64_t{m_capacity} * 2, ceiling);
    return Grow(std::max(needed, doubled));
}

void CSharedBuffer::AddLength(std::uint32_t n) {
    m_length += std::min(n, m_capacity - m_length);
}

}  // namespace graphics
