#pragma once
// The entries of an unpacked menu folder, read the way the content file packed from it would
// be read: the files are listed as the packer lists them (ListContentFiles) and named as the
// ZIP reader names the packed entries, so lookups find, and miss, the same names.
//
// A file whose link leads out of the folder is no entry: the player shows no file from
// outside a menu folder (a stranger's folder may link to the user's own files), and logs once
// that it is missing. Every read resolves the name's links again, checks that it still lies
// in the folder and opens it only as a regular file: a name may have become a FIFO, a device
// or an outward link since the listing, and reading those would block or leak.
//
// The listing happens when first needed and may raise CListingError; once it failed, the
// catalogue stays empty.

#include <wx/mstream.h>
#include <wx/wfstream.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Catalogue.h"
#include "graphics/ContentFolder.h"

namespace graphics {

class CFolderCatalogue : public CCatalogue {
public:
    explicit CFolderCatalogue(std::filesystem::path folder);
    ~CFolderCatalogue() override;

    wxInputStream& GetStream() override;
    void CloseEntry() override { m_open.reset(); }
    std::size_t GetEntryCount() override;
    std::vector<wxString> GetEntryNames() override;

    const std::filesystem::path& GetFolder() const { return m_folder; }
    // The file that holds the entry of that internal name, or an empty path.
    std::filesystem::path FileOf(const wxString& internalName);
    // The files listed, outward links included.
    const std::vector<SContentFile>& GetFiles();
    // What below the folder a content file packed from it would not hold.
    const std::vector<SLeftOut>& GetLeftOut();

protected:
    bool Contains(const wxString& internalName) override;
    bool Open(const wxString& internalName) override;
    std::int64_t SizeOf(const wxString& internalName) override;

private:
    void BuildIndex();
    // Once for each name: the entry asked for is a link out of the folder.
    void WarnOutside(const wxString& internalName);

    std::filesystem::path m_folder;
    std::filesystem::path m_root;  // m_folder with its links resolved
    bool m_built = false;
    std::vector<SContentFile> m_files;
    std::vector<SLeftOut> m_leftOut;
    std::map<wxString, std::size_t> m_byName;
    std::map<wxString, bool> m_outside;  // outward links by name; true once warned of
    std::unique_ptr<wxFFileInputStream> m_open;
    wxMemoryInputStream m_nothing{nullptr, 0};  // the stream while no entry is open
};

}  // namespace graphics
