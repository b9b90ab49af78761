#include "graphics/FolderCatalogue.h"

#include <wx/log.h>

#include <cstdio>
#include <system_error>

#include "graphics/PictureReader.h"
#include "tarn/win32/RegularFile.h"

namespace graphics {

namespace fs = std::filesystem;

CFolderCatalogue::CFolderCatalogue(fs::path folder) : m_folder(std::move(folder)) {}

CFolderCatalogue::~CFolderCatalogue() = default;

void CFolderCatalogue::BuildIndex() {
    if (m_built) return;
    m_built = true;  // a failed listing is not retried by every later question
    std::error_code error;
    m_root = fs::canonical(m_folder, error);
    m_files = ListContentFiles(m_folder, &m_leftOut);
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].name.empty()) continue;  // a name no entry can have
        const wxString name = StoredName(m_files[i].name);
        if (m_files[i].leavesFolder) {
            m_outside.emplace(name, false);
            m_byName.erase(name);
            continue;
        }
        // A later file of the same name replaces an earlier one, as in an archive.
        m_byName[name] = i;
        m_outside.erase(name);
    }
}

const std::vector<SContentFile>& CFolderCatalogue::GetFiles() {
    BuildIndex();
    return m_files;
}

void CFolderCatalogue::WarnOutside(const wxString& internalName) {
    const auto found = m_outside.find(internalName);
    if (found == m_outside.end() || found->second) return;
    found->second = true;
    const std::string reason = "is a link that leads out of the menu folder";
    if (BitmapTypeOf(internalName) != wxBITMAP_TYPE_INVALID) {
        CPictureReader::WarnMissing(internalName.ToStdWstring(), reason);
    } else {
        wxLogWarning("File '%s' %s; it is not read.", internalName, wxString(reason));
    }
}

std::size_t CFolderCatalogue::GetEntryCount() {
    BuildIndex();
    return m_byName.empty() ? 0 : m_files.size();
}

std::vector<wxString> CFolderCatalogue::GetEntryNames() {
    BuildIndex();
    std::vector<wxString> names;
    for (const SContentFile& file : m_files) {
        if (!file.name.empty() && !file.leavesFolder) names.push_back(StoredName(file.name));
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
    if (m_byName.count(internalName) != 0) return true;
    WarnOutside(internalName);
    return false;
}

bool CFolderCatalogue::Open(const wxString& internalName) {
    m_open.reset();
    const fs::path file = FileOf(internalName);
    if (file.empty()) return false;
    // Where the name leads now, which need not be where it led when listed.
    const fs::path resolved = ResolveBelow(m_root, file);
    if (resolved.empty()) return false;
    std::string reason;
    FILE* handle = tarn::win32::OpenRegularFileForReading(resolved, reason);
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
