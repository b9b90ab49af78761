#pragma once
// A menu's content opened for reading: a content file (a ZIP archive) or an unpacked folder
// holding product.xml and its files, both behind one catalogue.

#include <filesystem>
#include <memory>
#include <string>

#include "graphics/Catalogue.h"
#include "graphics/FolderCatalogue.h"
#include "graphics/ZipArchive.h"

namespace graphics {

class CContentSource {
public:
    // A folder is read as a folder, anything else as a content file.
    explicit CContentSource(const std::wstring& path);
    ~CContentSource();
    CContentSource(const CContentSource&) = delete;
    CContentSource& operator=(const CContentSource&) = delete;

    bool IsOk() const { return m_folder || (m_archive && m_archive->IsOk()); }
    bool IsFolder() const { return m_folder != nullptr; }
    // Valid while the source is open; do not keep it beyond.
    CCatalogue& GetCatalogue();
    // The folder's catalogue, or null for a content file.
    CFolderCatalogue* GetFolderCatalogue() { return m_folder.Get(); }

    // True when path names a folder (following links).
    static bool IsFolderPath(const std::wstring& path);

private:
    std::unique_ptr<CZipArchive> m_archive;
    tarn::P<CFolderCatalogue> m_folder;
};

}  // namespace graphics
