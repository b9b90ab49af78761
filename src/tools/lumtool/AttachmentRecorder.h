#pragma once
// A resource store that hands every request on to the content's catalogue and notes
// what became of each attachment the loader asked for. Only what the loader really reads is
// noted: an element it skips, or a skin it shares instead of reading again, leaves no note.

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/ResourceStore.h"
#include "graphics/Catalogue.h"
#include "tarn/Object.h"

namespace lumtool {

enum class EAttachmentKind { Picture, RichText, Data };

enum class EAttachmentOutcome {
    Loaded,
    NoName,       // the reference names no entry
    Missing,      // no entry of that name in the content
    UnknownType,  // a picture whose extension the loader does not read
    NoSize,       // a data reference without a positive size
    Unreadable,   // the entry is there, but its content does not load
    TooLarge,     // what the reference asks for is more than the player reads of it
};

struct SAttachmentUse {
    EAttachmentKind kind = EAttachmentKind::Picture;
    EAttachmentOutcome outcome = EAttachmentOutcome::Loaded;
    std::wstring name;   // the entry name as written in product.xml
    std::wstring where;  // the page and element, "splash" or "music"
    std::uint64_t limit = 0;  // for TooLarge: the most the player reads, in bytes
};

class CAttachmentRecorder : public tarn::CObject, public virtual graphics::IResourceInputStore {
public:
    // The catalogue must outlive the recorder's use.
    explicit CAttachmentRecorder(graphics::CCatalogue& catalogue) : m_catalogue(catalogue) {}

    const std::vector<SAttachmentUse>& GetUses() const { return m_uses; }

    std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode& node,
                                                         const std::wstring& tag) override;
    std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                         wxFileName& fileName) override;
    std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode& node, const std::wstring& name,
                                               wxBitmapType type, wxFileName& fileName) override;
    // Notes the picture as loaded for now: DecodePictures gives the verdict.
    tarn::P<graphics::CStoredPicture> LoadPicture(const wxXmlNode& node, const std::wstring& tag,
                                                  wxFileName& fileName) override;
    // Decodes each picture LoadPicture handed out once, on every core, and notes those that do
    // not decode.
    void DecodePictures();
    // The pictures DecodePictures found not to decode, each once, and why.
    const std::vector<std::pair<std::wstring, std::string>>& GetMissingPictures() const {
        return m_missingPictures;
    }
    tarn::P<graphics::CSharedBuffer> LoadBuffer(const wxXmlNode& node, const std::wstring& tag,
                                                std::uint64_t limit) override;
    std::wstring GetResourceType(const wxXmlNode& node) override;
    // Sharing stays the catalogue's business; the object it hands back reads itself through
    // this recorder, so that the attachments below it are noted too.
    tarn::P<graphics::IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<graphics::IReusableResource>& fresh) override;

    // Where a node of product.xml sits, for a menu author: "page 'main', element 'logo'",
    // "splash", "music" or "product".
    static std::wstring DescribePlace(const wxXmlNode& node);

private:
    // The outcome of a request that found its reference element and got result (or none).
    EAttachmentOutcome Outcome(const wxString& name, bool loaded);
    void Note(EAttachmentKind kind, EAttachmentOutcome outcome, const wxString& name,
              const wxXmlNode& node);

    EAttachmentOutcome PictureOutcome(const wxString& name, bool loaded);

    graphics::CCatalogue& m_catalogue;
    std::vector<SAttachmentUse> m_uses;
    // Uses whose picture is still to be decoded: the index into m_uses and the picture.
    std::vector<std::pair<std::size_t, tarn::P<graphics::CStoredPicture>>> m_undecided;
    std::vector<std::pair<std::wstring, std::string>> m_missingPictures;
};

}  // namespace lumtool
