#include "chf/ChunkFile.h"

#include <algorithm>

#include "chf/DataIO.h"
#include "chf/TarnFileStream.h"
#include "tarn/Exception.h"

namespace chf {

CChunkFile::CChunkFile(tarn::P<IStream> stream, std::uint64_t bodySize, std::string_view type)
    : CChunkIterator(std::move(stream), kFileHeaderSize, bodySize) {
    std::copy_n(type.begin(), std::min(type.size(), kTypeLength), m_type.begin());
}

tarn::P<CChunkFile> CChunkFile::Open(tarn::P<IStream> stream) {
    if (!stream) throw tarn::CInvalidArgError(L"CChunkFile::Open", L"stream", nullptr);
    if (stream->GetSize() < kFileHeaderSize) throw tarn::CEndOfStreamError(stream->GetURI());
    std::array<char, kTypeLength> type{};
    stream->Seek(0);
    stream->Read(type.data(), type.size());
    const std::uint64_t bodySize = ReadU64(*stream);
    if (bodySize > stream->GetSize() - kFileHeaderSize) {
        throw tarn::CEndOfStreamError(stream->GetURI());
    }
    return tarn::New<CChunkFile>(std::move(stream), bodySize,
                                 std::string_view(type.data(), type.size()));
}

tarn::P<CChunkFile> CChunkFile::OpenFile(const std::wstring& path) {
    return Open(tarn::New<CTarnFileStream>(path, CTarnFileStream::EMode::Read));
}

tarn::P<CChunkFile> CChunkFile::Create(tarn::P<IStream> stream, std::string_view type) {
    if (!stream || stream->GetSize() != 0) {
        throw tarn::CInvalidArgError(L"CChunkFile::Create", L"stream", nullptr);
    }
    if (type.size() != kTypeLength) {
        throw tarn::CInvalidArgError(L"CChunkFile::Create", L"type", nullptr);
    }
    stream->Seek(0);
    stream->Write(type.data(), type.size());
    WriteU64(*stream, 0);
    return tarn::New<CChunkFile>(std::move(stream), 0, type);
}

}  // namespace chf
