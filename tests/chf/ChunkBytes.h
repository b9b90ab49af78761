#pragma once
// Builds chunk-file images byte by byte, independently of the library's writers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chf/MemoryStream.h"

namespace chftest {

using Bytes = std::string;

inline Bytes LE(std::uint64_t value, int size) {
    Bytes bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}
inline Bytes U32(std::uint32_t value) { return LE(value, 4); }
inline Bytes U64(std::uint64_t value) { return LE(value, 8); }

// A counted string of ASCII text with its terminator.
inline Bytes Str(std::string_view text) {
    Bytes bytes = U32(static_cast<std::uint32_t>(text.size() + 1));
    for (const char c : text) bytes += LE(static_cast<unsigned char>(c), 2);
    return bytes + LE(0, 2);
}

inline Bytes Chunk(std::string_view id, const Bytes& data) {
    return Bytes(id) + U64(data.size()) + data;
}
inline Bytes File(std::string_view type, const Bytes& body) {
    return Bytes(type) + U64(body.size()) + body;
}

inline tarn::P<chf::CMemoryStream> Memory(const Bytes& bytes) {
    const auto* data = reinterpret_cast<const std::byte*>(bytes.data());
    return tarn::New<chf::CMemoryStream>(std::vector<std::byte>(data, data + bytes.size()));
}
inline Bytes Image(const chf::CMemoryStream& stream) {
    return Bytes(reinterpret_cast<const char*>(stream.GetBytes().data()), stream.GetBytes().size());
}

}  // namespace chftest
