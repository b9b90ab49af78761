#include "graphics/ContentSource.h"

#include <wx/string.h>

#include <system_error>

namespace graphics {

namespace {

// The toolkit's file names: converted bytes on some systems, wide characters on others.
[[maybe_unused]] const char* Chars(const wxCharBuffer& name) { return name.data(); }
[[maybe_unused]] const wchar_t* Chars(const wchar_t* name) { return name; }

std::filesystem::path PathOf(const std::wstring& path) {
    // As the toolkit's own file functions turn the name into a file name.
    const wxString text(path);
    const auto name = text.fn_str();
    if (!Chars(name)) return {};
    return std::filesystem::path(Chars(name));
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
