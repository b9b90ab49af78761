#include "AttachmentRecorder.h"

#include <map>

#include "PictureCheck.h"
#include "graphics/XmlValues.h"
#include "tarn/win32/PictureHeader.h"

namespace lumtool {

namespace {

// Stands in for a shareable object while the catalogue loads it, so that the object reads
// itself through the recorder rather than straight from the catalogue.
class CRecordedResource : public tarn::CObject, public virtual graphics::IReusableResource {
public:
    CRecordedResource(tarn::P<graphics::IReusableResource> inner,
                      graphics::IResourceInputStore& recorder)
        : m_inner(std::move(inner)), m_recorder(recorder) {}

    const tarn::P<graphics::IReusableResource>& GetInner() const { return m_inner; }

    void ToXml(wxXmlNode& node, graphics::IResourceStore* store) const override {
        m_inner->ToXml(node, store);
    }
    void FromXml(const wxXmlNode& node, graphics::IResourceInputStore&) override {
        m_inner->FromXml(node, m_recorder);
    }
    std::int64_t GetResourceId() const override { return m_inner->GetResourceId(); }

private:
    tarn::P<graphics::IReusableResource> m_inner;
    graphics::IResourceInputStore& m_recorder;
};

bool IsNamed(const wxXmlNode* node, const char* name) {
    return node && node->GetType() == wxXML_ELEMENT_NODE && node->GetName().IsSameAs(name, false);
}

}  // namespace

std::wstring CAttachmentRecorder::DescribePlace(const wxXmlNode& node) {
    const wxXmlNode* element = nullptr;  // the innermost element of a page's document
    for (const wxXmlNode* at = &node; at; at = at->GetParent()) {
        const wxXmlNode* parent = at->GetParent();
        if (!element && IsNamed(parent, "document")) element = at;
        if (at->GetName() == "page" && IsNamed(parent, "pages")) {
            std::wstring place = L"page '" + at->GetAttribute("name").ToStdWstring() + L"'";
            if (element) {
                place += L", element '" + element->GetAttribute("name").ToStdWstring() + L"'";
            }
            return place;
        }
        const wxXmlNode* above = parent ? parent->GetParent() : nullptr;
        if (parent && (!above || above->GetType() == wxXML_DOCUMENT_NODE)) {
            // A child of the root: the product's own splash or music.
            if (IsNamed(at, "splash")) return L"splash";
            if (IsNamed(at, "music")) return L"music";
        }
    }
    return L"product";
}

EAttachmentOutcome CAttachmentRecorder::Outcome(const wxString& name, bool loaded) {
    if (loaded) return EAttachmentOutcome::Loaded;
    if (name.empty()) return EAttachmentOutcome::NoName;
    if (!m_catalogue.HasEntry(name.ToStdWstring())) return EAttachmentOutcome::Missing;
    return EAttachmentOutcome::Unreadable;
}

void CAttachmentRecorder::Note(EAttachmentKind kind, EAttachmentOutcome outcome,
                               const wxString& name, const wxXmlNode& node) {
    m_uses.push_back({kind, outcome, name.ToStdWstring(), DescribePlace(node)});
}

std::unique_ptr<wxRichTextBuffer> CAttachmentRecorder::LoadRichTextBuffer(const wxXmlNode& node,
                                                                          const std::wstring& tag) {
    auto buffer = m_catalogue.LoadRichTextBuffer(node, tag);
    if (const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag))) {
        const wxString name = child->GetAttribute("name");
        Note(EAttachmentKind::RichText, Outcome(name, buffer != nullptr), name, *child);
    }
    return buffer;
}

std::unique_ptr<wxBitmap> CAttachmentRecorder::LoadBitmap(const wxXmlNode& node,
                                                          const std::wstring& tag,
                                                          wxFileName& fileName) {
    auto bitmap = m_catalogue.LoadBitmap(node, tag, fileName);
    if (const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag))) {
        const wxString name = child->GetAttribute("name");
        Note(EAttachmentKind::Picture, PictureOutcome(name, bitmap && bitmap->IsOk()), name,
             *child);
    }
    return bitmap;
}

EAttachmentOutcome CAttachmentRecorder::PictureOutcome(const wxString& name, bool loaded) {
    const EAttachmentOutcome outcome = Outcome(name, loaded);
    if (outcome != EAttachmentOutcome::Loaded && !name.empty() &&
        graphics::CCatalogue::BitmapTypeOf(name) == wxBITMAP_TYPE_INVALID) {
        return EAttachmentOutcome::UnknownType;
    }
    return outcome;
}

tarn::P<graphics::CStoredPicture> CAttachmentRecorder::LoadPicture(const wxXmlNode& node,
                                                                   const std::wstring& tag,
                                                                   wxFileName& fileName) {
    auto picture = m_catalogue.LoadPicture(node, tag, fileName);
    if (const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag))) {
        const wxString name = child->GetAttribute("name");
        Note(EAttachmentKind::Picture, PictureOutcome(name, picture != nullptr), name, *child);
        if (picture) m_undecided.emplace_back(m_uses.size() - 1, picture);
    }
    return picture;
}

void CAttachmentRecorder::DecodePictures() {
    // Each picture once, however many elements show it.
    std::vector<tarn::P<graphics::CStoredPicture>> pictures;
    std::map<const graphics::CStoredPicture*, std::size_t> indexOf;
    std::vector<std::size_t> pictureOf;
    for (const auto& [use, picture] : m_undecided) {
        const auto [known, added] = indexOf.emplace(picture.Get(), pictures.size());
        if (added) pictures.push_back(picture);
        pictureOf.push_back(known->second);
    }
    const std::vector<std::string> verdicts =
        lumtool::DecodePictures(pictures.size(), [&](std::size_t index) {
            const graphics::CStoredPicture& picture = *pictures[index];
            SPictureBytes bytes;
            bytes.bytes = m_catalogue.ReadPictureEntry(picture.GetName(), bytes.refusal);
            bytes.type = picture.GetType();
            return bytes;
        });
    for (std::size_t i = 0; i < m_undecided.size(); ++i) {
        if (verdicts[pictureOf[i]].empty()) continue;
        m_uses[m_undecided[i].first].outcome = EAttachmentOutcome::Unreadable;
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (!verdicts[i].empty()) m_missingPictures.push_back({pictures[i]->GetName(), verdicts[i]});
    }
    m_undecided.clear();
}

std::unique_ptr<wxBitmap> CAttachmentRecorder::LoadBitmapByName(const wxXmlNode& node,
                                                                const std::wstring& name,
                                                                wxBitmapType type,
                                                                wxFileName& fileName) {
    auto bitmap = m_catalogue.LoadBitmapByName(node, name, type, fileName);
    Note(EAttachmentKind::Picture, Outcome(name, bitmap && bitmap->IsOk()), name, node);
    return bitmap;
}

tarn::P<graphics::CSharedBuffer> CAttachmentRecorder::LoadBuffer(const wxXmlNode& node,
                                                                 const std::wstring& tag,
                                                                 std::uint64_t limit) {
    auto buffer = m_catalogue.LoadBuffer(node, tag, limit);
    if (const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag))) {
        const wxString name = child->GetAttribute("name");
        EAttachmentOutcome outcome = Outcome(name, buffer != nullptr);
        std::int64_t size = 0;
        graphics::xml::ReadInt64(*child, "size", size);
        if (outcome == EAttachmentOutcome::Unreadable && size < 1) {
            outcome = EAttachmentOutcome::NoSize;
        } else if (const std::int64_t stored = m_catalogue.GetEntrySize(name.ToStdWstring());
                   outcome == EAttachmentOutcome::Unreadable && stored >= 0 &&
                   graphics::CCatalogue::BytesToRead(size, stored) > limit) {
            outcome = EAttachmentOutcome::TooLarge;
        }
        Note(EAttachmentKind::Data, outcome, name, *child);
        if (outcome == EAttachmentOutcome::TooLarge) m_uses.back().limit = limit;
    }
    return buffer;
}

std::wstring CAttachmentRecorder::GetResourceType(const wxXmlNode& node) {
    return m_catalogue.GetResourceType(node);
}

tarn::P<graphics::IReusableResource> CAttachmentRecorder::GetReusableResource(
    const wxXmlNode& node, const std::wstring& typeName,
    const tarn::P<graphics::IReusableResource>& fresh) {
    // Every object the catalogue keeps for sharing went through here, so it is a stand-in.
    const auto used =
        m_catalogue.GetReusableResource(node, typeName, tarn::New<CRecordedResource>(fresh, *this));
    const auto* recorded = dynamic_cast<const CRecordedResource*>(used.Get());
    return recorded ? recorded->GetInner() : used;
}

}  // namespace lumtool
