#include "chf/ResourceFileWriter.h"

#include <limits>

#include "chf/ChunkFile.h"
#include "chf/ChunkId.h"
#include "chf/DataIO.h"
#include "chf/MemoryStream.h"
#include "chf/ResourceFile.h"
#include "chf/TarnFileStream.h"
#include "tarn/Exception.h"

namespace chf {

namespace {

// Adds a chunk at the end of the iterator's region and writes its data in one piece, so the
// chunk grows in place once.
void AppendChunk(CChunkIterator& chunks, std::uint32_t id, const CMemoryStream& data) {
    chunks.AppendChunk(id);
    const tarn::P<CChunkStream> stream = chunks.OpenChunkStream();
    const std::vector<std::byte>& bytes = data.GetBytes();
    stream->Write(bytes.data(), bytes.size());
}

}  // namespace

void CResourceFileWriter::SetLanguage(const std::wstring& tag, const std::wstring& second,
                                      const std::wstring& third) {
    m_language[0] = tag;
    m_language[1] = second;
    m_language[2] = third;
}

void CResourceFileWriter::SetApplication(const std::wstring& id, const std::wstring& second) {
    m_applicationId = id;
    m_applicationString = second;
}

void CResourceFileWriter::SetComment(const std::wstring& comment) { m_comment = comment; }

void CResourceFileWriter::SetExtraData(const std::map<std::wstring, std::wstring>& data) {
    m_extraData = data;
}

void CResourceFileWriter::SetVersion(std::uint32_t version) { m_version = version; }

void CResourceFileWriter::AddEntry(const std::wstring& key, const std::wstring& text) {
    m_entries.emplace_back(key, text);
}

void CResourceFileWriter::Write(const std::wstring& path) const {
    const auto stream = tarn::New<CTarnFileStream>(path, CTarnFileStream::EMode::Create);
    WriteTo(stream);
    stream->Flush();
}

std::vector<std::byte> CResourceFileWriter::ToBytes() const {
    const auto memory = tarn::New<CMemoryStream>();
    WriteTo(memory);
    return memory->GetBytes();
}

void CResourceFileWriter::WriteTo(const tarn::P<IStream>& stream) const {
    const tarn::P<CChunkFile> file = CChunkFile::Create(stream, CResourceFile::kFileType);

    const auto language = tarn::New<CMemoryStream>();
    for (const std::wstring& text : m_language) WriteResourceString(*language, text);
    AppendChunk(*file, MakeChunkId("lang"), *language);

    const auto application = tarn::New<CMemoryStream>();
    WriteResourceString(*application, m_applicationId);
    WriteResourceString(*application, m_applicationString);
    AppendChunk(*file, MakeChunkId("apid"), *application);

    const auto comment = tarn::New<CMemoryStream>();
    WriteResourceString(*comment, m_comment);
    AppendChunk(*file, MakeChunkId("cmnt"), *comment);

    const auto extraData = tarn::New<CMemoryStream>();
    WriteU32(*extraData, static_cast<std::uint32_t>(m_extraData.size()));
    for (const auto& [name, value] : m_extraData) {
        WriteResourceString(*extraData, name);
        WriteResourceString(*extraData, value);
    }
    AppendChunk(*file, MakeChunkId("xdid"), *extraData);

    const auto version = tarn::New<CMemoryStream>();
    WriteU32(*version, m_version);
    AppendChunk(*file, MakeChunkId("vers"), *version);

    file->AppendChunk(MakeChunkId("STMP"));
    const tarn::P<CChunkIterator> section = file->OpenChunkIterator();
    const auto table = tarn::New<CMemoryStream>();
    if (m_entries.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw tarn::CInvalidArgError(L"Write", L"entries", nullptr);
    }
    WriteU32(*table, static_cast<std::uint32_t>(m_entries.size()));
    for (const auto& [key, text] : m_entries) {
        WriteU32(*table, 0);
        WriteResourceString(*table, key);
        WriteResourceString(*table, text);
        WriteResourceString(*table, {});
        WriteResourceString(*table, {});
    }
    AppendChunk(*section, MakeChunkId("data"), *table);
}

}  // namespace chf
