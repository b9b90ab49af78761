#pragma once
// An open content archive: the file, the ZIP stream over it and the catalogue of its
// entries, closed together in the right order.

#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <memory>
#include <string>

#include "graphics/ZipCatalogue.h"
#include "graphics/ZipNameConv.h"

namespace graphics {

class CZipArchive {
public:
    explicit CZipArchive(const std::wstring& path);
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    bool IsOk() const { return m_catalogue != nullptr; }
    // Valid while the archive is open; do not keep it beyond.
    CZipCatalogue& GetCatalogue() { return *m_catalogue; }

private:
    std::unique_ptr<wxFFileInputStream> m_file;
    CZipNameConv m_names;
    std::unique_ptr<wxZipInputStream> m_zip;
    tarn::P<CZipCatalogue> m_catalogue;
};

}  // namespace graphics
