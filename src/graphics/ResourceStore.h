#pragma once
// Where element readers load their attachments from, and writers store them.

#include <wx/bitmap.h>
#include <wx/filename.h>
#include <wx/richtext/richtextbuffer.h>
#include <wx/xml/xml.h>

#include <memory>
#include <string>

#include "graphics/ReusableResource.h"
#include "graphics/SharedBuffer.h"
#include "graphics/StoredPicture.h"
#include "tarn/Pointer.h"

namespace graphics {

class IResourceStore : public virtual tarn::IBase {};

class IResourceInputStore : public virtual IResourceStore {
public:
    // Each loader reads the attachment named by the first child of node called tag
    // (compared without case); none when anything is missing or unreadable.
    virtual std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode& node,
                                                                 const std::wstring& tag) = 0;
    virtual std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                                 wxFileName& fileName) = 0;
    virtual std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode& node,
                                                       const std::wstring& name,
                                                       wxBitmapType type,
                                                       wxFileName& fileName) = 0;
    // The picture LoadBitmap would give, decoded when it is first needed; a store that cannot
    // wait decodes it at once.
    virtual tarn::P<CStoredPicture> LoadPicture(const wxXmlNode& node, const std::wstring& tag,
                                                wxFileName& fileName) {
        std::unique_ptr<wxBitmap> bitmap = LoadBitmap(node, tag, fileName);
        return bitmap ? tarn::New<CStoredPicture>(std::move(bitmap)) : nullptr;
    }
    // The bytes of the entry the tag names, as many as its "size" says (no more than it holds);
    // none when that is more than limit, which is checked before anything is read.
    virtual tarn::P<CSharedBuffer> LoadBuffer(const wxXmlNode& node, const std::wstring& tag,
                                              std::uint64_t limit) = 0;
    // The node's "type" attribute, or empty.
    virtual std::wstring GetResourceType(const wxXmlNode& node) = 0;
    // The object to use for node: one already loaded under the same "unique" id, or fresh
    // after it has read itself from node.
    virtual tarn::P<IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<IReusableResource>& fresh) = 0;
};

// The writing side; the player itself only reads.
class IResourceOutputStore : public virtual IResourceStore {
public:
    // Stores the bitmap and appends a child called tag that names it.
    virtual void StoreBitmap(wxXmlNode& node, const std::wstring& tag, const wxBitmap& bitmap) = 0;
    // Stores the buffer in the rich-text XML form and appends a child called tag that names it.
    virtual void StoreRichTextBuffer(wxXmlNode& node, const std::wstring& tag,
                                     wxRichTextBuffer& buffer) = 0;
};

}  // namespace graphics
