#include "graphics/ContentSource.h"

#include <wx/string.h>

#include <system_error>

namespace graphics {

namespace {

std::filesystem::path PathOf(const std::wstring& path) {
    // As the toolkit's own file functions turn the name into bytes.
    const wxCharBuffer bytes = wxString(path).fn_str();
    return std::filesystem::path(bytes.data() ? bytes.data() : "");
}

}  // namespace

bool CContentSource::IsFolderPath(const std::wstring& path) {
    std::error_code error;
    return std::filesystem::is_directory(PathOf(path), error);
}

CContentSource::CContentSource(const std::wstring& path) {
    if (IsFolderPath(path)) {
        m_folder = tarn::New<CFolderCatalogue>(PathOf(path));
    } else {
        m_archive = std::make_unique<CZipArchive>(path);
    }
}

CContentSource::~CContentSource() = default;

CCatalogue& CContentSource::GetCatalogue() {
    if (m_folder) return *m_folder;
    return m_archive->GetCatalogue();
}

}  // namespace graphics
