#include "chf/ResourceFile.h"

#include <cstring>

#include "chf/ChunkFile.h"
#include "chf/ChunkId.h"
#include "chf/DataIO.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace chf {

namespace {

constexpr std::uint32_t kLang = MakeChunkId("lang");
constexpr std::uint32_t kResourceSetId = MakeChunkId("RSID");
constexpr std::uint32_t kApplication = MakeChunkId("apid");
constexpr std::uint32_t kComment = MakeChunkId("cmnt");
constexpr std::uint32_t kExtraData = MakeChunkId("xdid");
constexpr std::uint32_t kVersion = MakeChunkId("vers");
constexpr std::uint32_t kSection = MakeChunkId("STMP");
constexpr std::uint32_t kData = MakeChunkId("data");

// Smallest entry of a table: the value and four empty (absent) strings.
constexpr std::uint64_t kMinEntryBytes = 4 + 4 * 4;
// Smallest name and value pair of the extra data.
constexpr std::uint64_t kMinPairBytes = 2 * 4;

const CResourceFile::CSelection kEverySection{};

// From the first chunk on, "RSID" chunks are passed over; the first other must be "lang".
bool FindLanguageChunk(CChunkIterator& chunks) {
    chunks.Reset();
    while (chunks.Next()) {
        if (chunks.GetChunkId() != kResourceSetId) return chunks.GetChunkId() == kLang;
    }
    return false;
}

tarn::P<CChunkStream> OpenFirst(CChunkIterator& chunks, std::uint32_t id) {
    chunks.Reset();
    return chunks.FindNext(id) ? chunks.OpenChunkStream() : nullptr;
}

void LoadTable(IStream& stream, CResourceStringTable& table) {
    const std::uint32_t count = ReadU32(stream);
    CheckCount(stream, count, kMinEntryBytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        CResourceStringTable::CEntry entry;
        entry.value = ReadU32(stream);
        entry.key = ReadResourceString(stream);
        entry.text = ReadResourceString(stream);
        entry.third = ReadResourceString(stream);
        entry.fourth = ReadResourceString(stream);
        table.Add(std::move(entry));
    }
}

}  // namespace

void CResourceFile::Open(const std::wstring& path) { Read(path, &kEverySection); }

void CResourceFile::Open(const std::wstring& path, const CSelection& selection) {
    Read(path, &selection);
}

void CResourceFile::OpenHeader(const std::wstring& path) { Read(path, nullptr); }

const std::wstring& CResourceFile::GetLanguageString(int index) const {
    static const std::wstring kEmpty;
    if (index < 0 || index >= static_cast<int>(m_data.languageStrings.size())) return kEmpty;
    return m_data.languageStrings[static_cast<std::size_t>(index)];
}

void CResourceFile::Read(const std::wstring& path, const CSelection* selection) {
    const tarn::P<CChunkFile> file = CChunkFile::OpenFile(path);
    if (std::memcmp(file->GetType(), kFileType, sizeof kFileType) != 0) {
        throw tarn::CError(
            tarn::SetPlaceholder(tarn::Localize(L"chf.CResourceFile.WrongType",
                                                L"The file '%FILE%' is not a resource file."),
                                 L"FILE", path));
    }
    CData data;
    ReadHeader(*file, data);
    if (selection) ReadStrings(*file, *selection, data);
    m_data = std::move(data);
}

void CResourceFile::ReadHeader(CChunkFile& file, CData& data) {
    if (FindLanguageChunk(file)) {
        const tarn::P<CChunkStream> stream = file.OpenChunkStream();
        for (std::wstring& text : data.languageStrings) text = ReadResourceString(*stream);
        data.languageTag = CLanguageTag(data.languageStrings[0]);
    }
    if (const tarn::P<CChunkStream> stream = OpenFirst(file, kApplication)) {
        data.applicationId = ReadResourceString(*stream);
        data.applicationString = ReadResourceString(*stream);
    }
    if (const tarn::P<CChunkStream> stream = OpenFirst(file, kComment)) {
        data.comment = ReadResourceString(*stream);
    }
    if (const tarn::P<CChunkStream> stream = OpenFirst(file, kExtraData)) {
        const std::uint32_t count = ReadU32(*stream);
        CheckCount(*stream, count, kMinPairBytes);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::wstring name = ReadResourceString(*stream);
            std::wstring value = ReadResourceString(*stream);
            data.extraData.emplace(std::move(name), std::move(value));
        }
    }
    if (const tarn::P<CChunkStream> stream = OpenFirst(file, kVersion)) {
        data.version = ReadU32(*stream);
    }
}

void CResourceFile::ReadStrings(CChunkFile& file, const CSelection& selection, CData& data) {
    file.Reset();
    while (file.FindNext(kSection)) {
        const tarn::P<CChunkIterator> section = file.OpenChunkIterator();
        if (!IsSelected(*section, selection)) continue;
        if (const tarn::P<CChunkStream> stream = OpenFirst(*section, kData)) {
            LoadTable(*stream, data.strings);
        }
    }
}

bool CResourceFile::IsSelected(CChunkIterator& section, const CSelection& selection) {
    if (selection.language) {
        const tarn::P<CChunkStream> stream = OpenFirst(section, kLang);
        if (!stream) return false;
        const CLanguageTag tag(ReadResourceString(*stream));
        if (!selection.language->Matches(tag, selection.matchMode)) return false;
    }
    if (selection.resourceSetId) {
        section.Reset();
        bool named = false;
        while (!named && section.FindNext(kResourceSetId)) {
            const tarn::P<CChunkStream> stream = section.OpenChunkStream();
            named = tarn::EqualsNoCase(ReadResourceString(*stream), *selection.resourceSetId);
        }
        if (!named) return false;
    }
    return true;
}

}  // namespace chf
