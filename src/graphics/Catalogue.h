#pragma once
// The entries of a menu's content, by name, and the resource store over them. A content file
// (a ZIP archive, CZipCatalogue) and an unpacked folder (CFolderCatalogue) sit behind the same
// interface and follow the same rules for names, so that what works unpacked works packed:
// names compare with letter case, "\" and a leading "./" or "/" in a requested name are read
// as the packed form writes them, and of two entries with one name the later counts.

#include <wx/stream.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "graphics/PictureReader.h"
#include "graphics/ResourceStore.h"
#include "graphics/StoredPicture.h"
#include "tarn/Object.h"

namespace graphics {

class CCatalogue : public tarn::CObject,
                   public virtual IResourceInputStore,
                   private IPictureSource {
public:
    ~CCatalogue() override;

    // True when an entry is stored under name.
    bool HasEntry(const std::wstring& name);
    // Positions the stream on the entry; false when it is missing or cannot be opened.
    bool OpenEntry(const std::wstring& name);
    // Delivers the bytes of the entry last opened.
    virtual wxInputStream& GetStream() = 0;
    // Lets the entry last opened go once it has been read, so that an editor may replace its
    // file meanwhile (Windows refuses that while the file is open).
    virtual void CloseEntry() {}
    // Every entry in the order the content holds them (duplicates included).
    virtual std::size_t GetEntryCount() = 0;
    // The internal name of every entry, in that order.
    virtual std::vector<wxString> GetEntryNames() = 0;
    // The internal names asked for so far, found or not, in the order first asked.
    const std::vector<wxString>& GetRequestedNames() const { return m_requested; }

    std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode& node,
                                                         const std::wstring& tag) override;
    std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                         wxFileName& fileName) override;
    std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode& node, const std::wstring& name,
                                               wxBitmapType type, wxFileName& fileName) override;
    // Checks only that the entry is there; it is decoded when first shown. Every request for
    // one entry gets the same picture.
    tarn::P<CStoredPicture> LoadPicture(const wxXmlNode& node, const std::wstring& tag,
                                        wxFileName& fileName) override;
    tarn::P<CSharedBuffer> LoadBuffer(const wxXmlNode& node, const std::wstring& tag,
                                      std::uint64_t limit) override;
    std::wstring GetResourceType(const wxXmlNode& node) override;
    tarn::P<IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<IReusableResource>& fresh) override;

    // The entry's bytes, at most limit of them; none when it is missing or cannot be opened.
    tarn::P<CSharedBuffer> ReadEntry(const std::wstring& name, std::uint64_t limit);
    // The bytes of a picture entry; none, with the reason in error, when the entry is larger
    // than a picture may be (known before it is read), missing or unreadable.
    tarn::P<CSharedBuffer> ReadPictureEntry(const std::wstring& name, std::string& error);
    // The size the entry is stored with, in bytes; -1 when it is missing or not known.
    std::int64_t GetEntrySize(const std::wstring& name) { return SizeOf(NormalName(name)); }
    // How many bytes LoadBuffer reads for a reference that asks for declared of an entry of
    // stored bytes (-1: not known): the lesser of the two.
    static std::uint64_t BytesToRead(std::int64_t declared, std::int64_t stored);
    // Pictures decoded so far (a picture given back and shown again counts twice).
    std::int64_t GetDecodeCount() const { return m_pictures.GetDecodeCount(); }
    // The content closes: the pictures handed out keep what they decoded and decode no more.
    void DetachPictures();

    // The internal form of a requested name: forward slashes, no leading "/" or "./".
    static wxString NormalName(const std::wstring& name);
    // The internal name of an entry stored under name (as a packer writes it).
    static wxString StoredName(const wxString& name);
    // The bitmap type of a file name's extension, or wxBITMAP_TYPE_INVALID.
    static wxBitmapType BitmapTypeOf(const wxString& name);

protected:
    // Whether an entry has this internal name; opening it; its size in bytes (-1 unknown).
    virtual bool Contains(const wxString& internalName) = 0;
    virtual bool Open(const wxString& internalName) = 0;
    virtual std::int64_t SizeOf(const wxString& internalName) = 0;

private:
    std::unique_ptr<wxBitmap> DecodeEntry(const wxString& name, const std::wstring& written,
                                          wxBitmapType type) override;
    void Forget(const wxBitmap& bitmap) override { m_pictures.Forget(bitmap); }
    void NoteRequest(const wxString& internalName);
    // Reads what the open entry delivers, at most limit bytes, and lets the entry go.
    tarn::P<CSharedBuffer> ReadOpenEntry(std::uint64_t limit);

    std::vector<wxString> m_requested;
    std::set<wxString> m_requestedSet;
    std::map<std::int64_t, std::wstring> m_reusableTypes;
    std::set<std::int64_t> m_reading;  // ids whose objects are being read right now
    std::map<std::int64_t, tarn::P<IReusableResource>> m_reusableResources;
    CPictureReader m_pictures;  // every picture of the content shares one budget
    std::map<std::pair<wxString, int>, tarn::P<CStoredPicture>> m_stored;
};

}  // namespace graphics
