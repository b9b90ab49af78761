#include "chf/MemoryStream.h"

#include <cstring>
#include <limits>

#include "tarn/Exception.h"

namespace chf {

void CMemoryStream::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    if (position > m_bytes.size() || count > m_bytes.size() - position) {
        throw tarn::CEndOfStreamError();
    }
    if (count > 0) std::memcpy(buffer, m_bytes.data() + position, count);
}

void CMemoryStream::WriteAt(std::uint64_t position, const void* data, std::size_t count) {
    if (count == 0) return;
    if (position > std::numeric_limits<std::size_t>::max() - count) {
        throw tarn::CInvalidArgError(L"Write", L"position", this);
    }
    if (position + count > m_bytes.size()) SetStoreSize(position + count);
    std::memcpy(m_bytes.data() + position, data, count);
}

void CMemoryStream::SetStoreSize(std::uint64_t size) {
    if (size > m_bytes.max_size()) throw tarn::CInvalidArgError(L"SetSize", L"size", this);
    m_bytes.resize(static_cast<std::size_t>(size));
}

}  // namespace chf
