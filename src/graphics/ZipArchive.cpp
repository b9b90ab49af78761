#include "graphics/ZipArchive.h"

#include <wx/log.h>

namespace graphics {

CZipArchive::CZipArchive(const std::wstring& path) {
    wxLogNull quiet;
    m_file = std::make_unique<wxFFileInputStream>(wxString(path));
    if (!m_file->IsOk()) return;
    m_zip = std::make_unique<wxZipInputStream>(*m_file, m_names);
    if (!m_zip->IsOk()) return;
    m_catalogue = tarn::New<CZipCatalogue>(*m_zip);
}

CZipArchive::~CZipArchive() {
    // Pictures handed out may outlive the catalogue; they must not read the closed stream.
    if (m_catalogue) m_catalogue->DetachPictures();
    m_catalogue.Reset();
    m_zip.reset();
    m_file.reset();
}

}  // namespace graphics
