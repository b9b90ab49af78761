#pragma once
// A chunk file: an 8-character type, the body size and the body, a sequence of chunks. The
// file itself is the outermost iterator; its size field is the body size.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chf/ChunkIterator.h"

namespace chf {

class CChunkFile : public CChunkIterator {
public:
    static constexpr std::size_t kTypeLength = 8;
    static constexpr std::uint64_t kFileHeaderSize = kTypeLength + 8;

    // Over a body of bodySize bytes right after the file header.
    CChunkFile(tarn::P<IStream> stream, std::uint64_t bodySize, std::string_view type);

    // Reads the file header at the start of the stream. A stream too short for the header,
    // or for the body size it gives, raises tarn::CEndOfStreamError.
    static tarn::P<CChunkFile> Open(tarn::P<IStream> stream);
    // Opens a file on disk for reading.
    static tarn::P<CChunkFile> OpenFile(const std::wstring& path);
    // Writes the header of an empty chunk file into an empty stream; type has 8 characters.
    static tarn::P<CChunkFile> Create(tarn::P<IStream> stream, std::string_view type);

    // The 8 type characters followed by a NUL.
    const char* GetType() const { return m_type.data(); }

private:
    std::array<char, kTypeLength + 1> m_type{};
};

}  // namespace chf
