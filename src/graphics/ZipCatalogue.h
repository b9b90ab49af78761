#pragma once
// The entry index of a content archive (a ZIP file) and the resource store over it.

#include <wx/zipstrm.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Catalogue.h"

namespace graphics {

class CZipCatalogue : public CCatalogue {
public:
    // The stream is borrowed and must outlive the catalogue.
    explicit CZipCatalogue(wxZipInputStream& zip);
    ~CZipCatalogue() override;

    // The entry stored under name ("\" and a leading "./" are accepted), or null.
    wxZipEntry* FindEntry(const std::wstring& name);
    wxInputStream& GetStream() override { return m_zip; }
    std::size_t GetEntryCount() override;
    std::vector<wxString> GetEntryNames() override;

protected:
    bool Contains(const wxString& internalName) override;
    bool Open(const wxString& internalName) override;
    std::int64_t SizeOf(const wxString& internalName) override;

private:
    void BuildIndex();
    wxZipEntry* Find(const wxString& internalName);

    wxZipInputStream& m_zip;
    bool m_built = false;
    std::map<wxString, wxZipEntry*> m_byName;
    std::vector<std::unique_ptr<wxZipEntry>> m_entries;
};

}  // namespace graphics
