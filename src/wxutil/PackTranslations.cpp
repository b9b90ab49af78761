#include "wxutil/PackTranslations.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tarn/Text.h"

namespace wxutil {

namespace {

constexpr std::uint32_t kCatalogueMagic = 0x950412de;
constexpr std::uint32_t kHeaderSize = 28;

void PutU32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

}  // namespace

std::string BuildMessageCatalogue(const std::map<std::wstring, std::wstring>& translations) {
    // The empty original carries the header that declares the texts' encoding.
    std::vector<std::pair<std::string, std::string>> entries;
    entries.emplace_back("", "Content-Type: text/plain; charset=UTF-8\n");
    for (const auto& [original, translation] : translations) {
        if (!original.empty()) entries.emplace_back(tarn::ToUtf8(original), tarn::ToUtf8(translation));
    }
    const auto count = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t originalsTable = kHeaderSize;
    const std::uint32_t translationsTable = originalsTable + 8 * count;
    std::string out(translationsTable + 8 * count, '\0');
    PutU32(out, 0, kCatalogueMagic);
    PutU32(out, 4, 0);  // revision
    PutU32(out, 8, count);
    PutU32(out, 12, originalsTable);
    PutU32(out, 16, translationsTable);
    PutU32(out, 20, 0);  // no hash table
    PutU32(out, 24, static_cast<std::uint32_t>(out.size()));
    // Originals are sorted (std::map order, with the header first), as readers may expect.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PutU32(out, originalsTable + 8 * i, static_cast<std::uint32_t>(entries[i].first.size()));
        PutU32(out, originalsTable + 8 * i + 4, static_cast<std::uint32_t>(out.size()));
        out += entries[i].first;
        out += '\0';
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PutU32(out, translationsTable + 8 * i, static_cast<std::uint32_t>(entries[i].second.size()));
        PutU32(out, translationsTable + 8 * i + 4, static_cast<std::uint32_t>(out.size()));
        out += entries[i].second;
        out += '\0';
    }
    return out;
}

CPackTranslationsLoader::CPackTranslationsLoader(std::map<std::wstring, std::wstring> translations,
                                                 wxString language)
    : m_translations(std::move(translations)), m_language(std::move(language)) {}

wxMsgCatalog* CPackTranslationsLoader::LoadCatalog(const wxString& domain,
                                                   const wxString& language) {
    if (domain != kPackDomain) return m_files.LoadCatalog(domain, language);
    const std::string data = BuildMessageCatalogue(m_translations);
    wxCharBuffer buffer(data.size());
    std::copy(data.begin(), data.end(), buffer.data());
    return wxMsgCatalog::CreateFromData(buffer, domain);
}

wxArrayString CPackTranslationsLoader::GetAvailableTranslations(const wxString& domain) const {
    if (domain != kPackDomain) return m_files.GetAvailableTranslations(domain);
    wxArrayString languages;
    languages.Add(m_language);
    return languages;
}

}  // namespace wxutil
