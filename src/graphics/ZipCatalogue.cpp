#include "graphics/ZipCatalogue.h"

#include <wx/log.h>

namespace graphics {

CZipCatalogue::CZipCatalogue(wxZipInputStream& zip) : m_zip(zip) {}

CZipCatalogue::~CZipCatalogue() = default;

void CZipCatalogue::BuildIndex() {
    if (m_built) return;
    wxLogNull quiet;
    while (wxZipEntry* entry = m_zip.GetNextEntry()) {
        m_entries.emplace_back(entry);
        m_byName[entry->GetInternalName()] = entry;
    }
    m_built = true;
}

std::size_t CZipCatalogue::GetEntryCount() {
    BuildIndex();
    return m_entries.size();
}

std::vector<wxString> CZipCatalogue::GetEntryNames() {
    BuildIndex();
    std::vector<wxString> names;
    names.reserve(m_entries.size());
    for (const auto& entry : m_entries) names.push_back(entry->GetInternalName());
    return names;
}

wxZipEntry* CZipCatalogue::Find(const wxString& internalName) {
    BuildIndex();
    const auto found = m_byName.find(internalName);
    return found == m_byName.end() ? nullptr : found->second;
}

wxZipEntry* CZipCatalogue::FindEntry(const std::wstring& name) {
    return HasEntry(name) ? Find(NormalName(name)) : nullptr;
}

bool CZipCatalogue::Contains(const wxString& internalName) { return Find(internalName) != nullptr; }

bool CZipCatalogue::Open(const wxString& internalName) {
    wxZipEntry* entry = Find(internalName);
    return entry && m_zip.OpenEntry(*entry);
}

std::int64_t CZipCatalogue::SizeOf(const wxString& internalName) {
    const wxZipEntry* entry = Find(internalName);
    return entry ? static_cast<std::int64_t>(entry->GetSize()) : -1;
}

}  // namespace graphics
