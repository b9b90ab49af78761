#pragma once
// Reads a resource file (a chunk file of type "URESFILE"): its header chunks and its tables
// of keyed texts.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "chf/LanguageTag.h"
#include "chf/ResourceStringTable.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace chf {

class CChunkFile;
class CChunkIterator;

class CResourceFile : public tarn::CObject {
public:
    static constexpr char kFileType[] = "URESFILE";

    // Which "STMP" sections of the file to load; an empty selection loads every one. A
    // language requires the section's own "lang" chunk to match it in the given mode (the
    // requested tag as the first of the two tags compared); a resource-set id requires one
    // of the section's "RSID" chunks to name it, compared without regard to case.
    struct CSelection {
        std::optional<CLanguageTag> language;
        int matchMode = 0;
        std::optional<std::wstring> resourceSetId;
    };

    // The header and every section's texts. A file of another type raises tarn::CError;
    // a damaged file raises tarn::CEndOfStreamError; the object is left unchanged then.
    void Open(const std::wstring& path);
    void Open(const std::wstring& path, const CSelection& selection);
    // The header only.
    void OpenHeader(const std::wstring& path);

    const CLanguageTag& GetLanguageTag() const { return m_data.languageTag; }
    // The three strings of the "lang" chunk, 0..2; any other index gives an empty string.
    const std::wstring& GetLanguageString(int index) const;
    const std::wstring& GetApplicationId() const { return m_data.applicationId; }
    const std::wstring& GetApplicationString() const { return m_data.applicationString; }
    const std::wstring& GetComment() const { return m_data.comment; }
    const std::map<std::wstring, std::wstring>& GetExtraData() const { return m_data.extraData; }
    std::uint32_t GetVersion() const { return m_data.version; }
    const CResourceStringTable& GetStrings() const { return m_data.strings; }

private:
    struct CData {
        CLanguageTag languageTag;
        std::array<std::wstring, 3> languageStrings;
        std::wstring applicationId;
        std::wstring applicationString;
        std::wstring comment;
        std::map<std::wstring, std::wstring> extraData;
        std::uint32_t version = 0;
        CResourceStringTable strings;
    };

    void Read(const std::wstring& path, const CSelection* selection);
    static void ReadHeader(CChunkFile& file, CData& data);
    static void ReadStrings(CChunkFile& file, const CSelection& selection, CData& data);
    static bool IsSelected(CChunkIterator& section, const CSelection& selection);

    CData m_data;
};

}  // namespace chf
