#pragma once
// Chunk ids: four ASCII characters, taken as the little-endian value of their bytes.

#include <cstdint>
#include <string>

namespace chf {

constexpr std::uint32_t MakeChunkId(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

// The four characters of an id, for messages and dumps.
inline std::string ChunkIdText(std::uint32_t id) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) text[i] = static_cast<char>((id >> (8 * i)) & 0xFF);
    return text;
}

}  // namespace chf
