#include "graphics/FolderCatalogue.h"

#include <wx/log.h>

#include <cstdio>
#include <system_error>

#include "tarn/win32/NativeFiles.h"

namespace graphics {

namespace fs = std::filesystem;

CFolderCatalogue::CFolderCatalogue(fs::path folder) : m_folder(std::move(folder)) {}

CFolderCatalogue::~CFolderCatalogue() = default;

void CFolderCatalogue::BuildIndex() {
    if (m_built) return;
    m_files = ListContentFiles(m_folder, &m_leftOut);
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].name.empty()) continue;  // a name no entry can have
        // A later file of the same name replaces an earlier one, as in an archive.
        m_byName[StoredName(m_files[i].name)] = i;
    }
    m_built = true;
}

std::size_t CFolderCatalogue::GetEntryCount() {
    BuildIndex();
    return m_byName.empty() ? 0 : m_files.size();
}

std::vector<wxString> CFolderCatalogue::GetEntryNames() {
    BuildIndex();
    std::vector<wxString> names;
    for (const SContentFile& file : m_files) {
        if (!file.name.empty()) names.push_back(StoredName(file.name));
    }
    return names;
}

const std::vector<SLeftOut>& CFolderCatalogue::GetLeftOut() {
    BuildIndex();
    return m_leftOut;
}

fs::path CFolderCatalogue::FileOf(const wxString& internalName) {
    BuildIndex();
    const auto found = m_byName.find(internalName);
    return found == m_byName.end() ? fs::path() : m_files[found->second].path;
}

bool CFolderCatalogue::Contains(const wxString& internalName) {
    BuildIndex();
    return m_byName.count(internalName) != 0;
}

bool CFolderCatalogue::Open(const wxString& internalName) {
    m_open.reset();
    const fs::path file = FileOf(internalName);
    if (file.empty()) return false;
    // Opened by its bytes, whatever the locale's idea of file name encoding.
    FILE* handle = tarn::win32::OpenNativeFileForReading(file);
    if (!handle) return false;
    wxLogNull quiet;
    auto stream = std::make_unique<wxFFileInputStream>(handle);  // closes it
    if (!stream->IsOk()) return false;
    m_open = std::move(stream);
    return true;
}

std::int64_t CFolderCatalogue::SizeOf(const wxString& internalName) {
    const fs::path file = FileOf(internalName);
    if (file.empty()) return -1;
    std::error_code error;
    const auto size = fs::file_size(file, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

wxInputStream& CFolderCatalogue::GetStream() {
    if (m_open) return *m_open;
    return m_nothing;
}

}  // namespace graphics
