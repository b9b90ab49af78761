#pragma once
// A stream over bytes held in memory: chunk files built or taken apart without a file.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "chf/BaseStream.h"

namespace chf {

class CMemoryStream : public CBaseStream {
public:
    CMemoryStream() = default;
    explicit CMemoryStream(std::vector<std::byte> bytes) : m_bytes(std::move(bytes)) {}

    std::uint64_t GetSize() const override { return m_bytes.size(); }
    tarn::P<tarn::CURI> GetURI() const override { return nullptr; }

    const std::vector<std::byte>& GetBytes() const { return m_bytes; }

protected:
    void ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;
    void WriteAt(std::uint64_t position, const void* data, std::size_t count) override;
    void SetStoreSize(std::uint64_t size) override;

private:
    std::vector<std::byte> m_bytes;
};

}  // namespace chf
