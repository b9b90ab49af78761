#pragma once
// Writes a resource file: the header chunks ("lang", "apid", "cmnt", "xdid", "vers") and one
// "STMP" section whose "data" chunk holds the keyed texts.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chf/Stream.h"
#include "tarn/Pointer.h"

namespace chf {

class CResourceFileWriter {
public:
    void SetLanguage(const std::wstring& tag, const std::wstring& second = {},
                     const std::wstring& third = {});
    void SetApplication(const std::wstring& id, const std::wstring& second = {});
    void SetComment(const std::wstring& comment);
    void SetExtraData(const std::map<std::wstring, std::wstring>& data);
    void SetVersion(std::uint32_t version);
    // Entries are written in the order added; a key added twice is written twice.
    void AddEntry(const std::wstring& key, const std::wstring& text);

    // Creates or replaces the file; raises the stream errors on failure.
    void Write(const std::wstring& path) const;
    // The file's bytes, for a writer that puts them in place itself.
    std::vector<std::byte> ToBytes() const;

private:
    void WriteTo(const tarn::P<IStream>& stream) const;

    std::wstring m_language[3];
    std::wstring m_applicationId;
    std::wstring m_applicationString;
    std::wstring m_comment;
    std::map<std::wstring, std::wstring> m_extraData;
    std::uint32_t m_version = 0;
    std::vector<std::pair<std::wstring, std::wstring>> m_entries;
};

}  // namespace chf
