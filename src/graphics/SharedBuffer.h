#pragma once
// A counted, growable byte buffer: what LoadBuffer hands out.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "tarn/Object.h"

namespace graphics {

class CSharedBuffer : public tarn::CObject {
public:
    static constexpr std::uint32_t kGrowth = 1024;

    CSharedBuffer() = default;

    // Room for n more bytes at the end: grows to length + n + 1024 when needed. Null when
    // the size would pass 32 bits.
    std::uint8_t* MakeRoom(std::uint32_t n);
    // Room for n more bytes: the capacity at least doubles (so that reading in chunks stays
    // linear) but never passes the ceiling unless length + n itself does; false past 32 bits.
    bool Reserve(std::uint32_t n, std::uint64_t ceiling);
    // Counts n bytes written at the end; never past the capacity.
    void AddLength(std::uint32_t n);

    const std::uint8_t* GetData() const { return m_data.get(); }
    std::uint8_t* GetData() { return m_data.get(); }
    std::uint32_t GetCapacity() const { return m_capacity; }
    std::uint32_t GetLength() const { return m_length; }

private:
    bool Grow(std::uint64_t capacity);

    std::unique_ptr<std::uint8_t[]> m_data;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_length = 0;
};

}  // namespace graphics
