#pragma once
// The entry index of a content archive and the resource store over it.

#include <wx/zipstrm.h>

#include <cstdint>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "graphics/PictureReader.h"
#include "graphics/ResourceStore.h"
#include "tarn/Object.h"

namespace graphics {

class CZipCatalogue : public tarn::CObject, public virtual IResourceInputStore {
public:
    // The stream is borrowed and must outlive the catalogue.
    explicit CZipCatalogue(wxZipInputStream& zip);
    ~CZipCatalogue() override;

    // The entry stored under name ("\" and a leading "./" are accepted), or null.
    wxZipEntry* FindEntry(const std::wstring& name);
    // Positions the stream on the entry; false when it is missing or cannot be opened.
    bool OpenEntry(const std::wstring& name);
    wxInputStream& GetStream() { return m_zip; }
    // Every entry in archive order (duplicates included).
    std::size_t GetEntryCount();

    std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode& node,
                                                         const std::wstring& tag) override;
    std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                         wxFileName& fileName) override;
    std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode& node, const std::wstring& name,
                                               wxBitmapType type, wxFileName& fileName) override;
    tarn::P<CSharedBuffer> LoadBuffer(const wxXmlNode& node, const std::wstring& tag) override;
    std::wstring GetResourceType(const wxXmlNode& node) override;
    tarn::P<IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<IReusableResource>& fresh) override;

    // The internal form of a requested name: forward slashes, no leading "/" or "./".
    static wxString NormalName(const std::wstring& name);
    // The bitmap type of a file name's extension, or wxBITMAP_TYPE_INVALID.
    static wxBitmapType BitmapTypeOf(const wxString& name);

private:
    void BuildIndex();
    // Reads what the open entry delivers, at most limit bytes.
    tarn::P<CSharedBuffer> ReadOpenEntry(std::uint64_t limit);

    wxZipInputStream& m_zip;
    bool m_built = false;
    std::map<wxString, wxZipEntry*> m_byName;
    std::vector<std::unique_ptr<wxZipEntry>> m_entries;
    std::map<std::int64_t, std::wstring> m_reusableTypes;
    std::set<std::int64_t> m_reading;  // ids whose objects are being read right now
    std::map<std::int64_t, const wxXmlNode*> m_reusableNodes;
    std::map<std::int64_t, tarn::P<IReusableResource>> m_reusableResources;
    CPictureReader m_pictures;  // every picture of the archive shares one budget
};

}  // namespace graphics
