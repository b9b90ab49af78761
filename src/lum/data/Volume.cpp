#include "lum/data/Volume.h"

#include <algorithm>

#include "graphics/XmlValues.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"

namespace lum::data {

// ---- CVolumeItem ----

void CVolumeItem::WriteXml(wxXmlNode& node, graphics::IResourceStore*) const {
    graphics::xml::WriteString(node, "name", m_name);
    if (m_origin.IsOk()) graphics::xml::SetAttribute(node, "origin", m_origin.GetFullPath());
}

void CVolumeItem::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore*) {
    graphics::xml::ReadString(node, "name", m_name);
    wxString origin;
    if (graphics::xml::GetAttribute(node, "origin", origin) && !origin.empty()) {
        m_origin = OriginFromPath(origin);
    }
}

void CVolumeItem::CopyFrom(const CVolumeItem& other) {
    m_name = other.m_name;
    m_origin = other.m_origin;
}

// ---- CVolumeFolder ----

CVolumeFolder::~CVolumeFolder() {
    // Children held elsewhere must not point back at a folder that is gone.
    for (const auto& child : m_children) {
        if (child->m_parent == this) child->m_parent = nullptr;
    }
}

tarn::P<CVolumeItem> CVolumeFolder::Clone() const {
    auto copy = tarn::New<CVolumeFolder>();
    copy->CopyFrom(*this);
    return copy;
}

void CVolumeFolder::WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const {
    CVolumeItem::WriteXml(node, store);
    for (const auto& child : m_children) {
        wxXmlNode* element = graphics::xml::AddChild(node, child->IsFolder() ? "folder" : "file");
        child->WriteXml(*element, store);
    }
}

void CVolumeFolder::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store) {
    ReadLevel(node, store, 0);
}

void CVolumeFolder::ReadLevel(const wxXmlNode& node, graphics::IResourceInputStore* store,
                              int depth) {
    CVolumeItem::ReadXml(node, store);
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        if (child->GetName().IsSameAs("folder", false)) {
            // A listing from a stranger's medium must not exhaust the stack.
            if (depth >= kMaxDepth) continue;
            auto folder = tarn::New<CVolumeFolder>();
            folder->ReadLevel(*child, store, depth + 1);
            AddChild(folder);
        } else if (child->GetName().IsSameAs("file", false)) {
            auto file = tarn::New<CVolumeFile>();
            file->ReadXml(*child, store);
            AddChild(file);
        }
    }
}

void CVolumeFolder::CopyFrom(const CVolumeItem& other) {
    if (&other == this) return;
    const auto* folder = dynamic_cast<const CVolumeFolder*>(&other);
    if (!folder) {
        throw tarn::CCastError(tarn::TypeName(typeid(other)), L"lum::data::CVolumeFolder");
    }
    CVolumeItem::CopyFrom(other);
    RemoveAllChildren();
    for (const auto& child : folder->m_children) AddChild(child->Clone());
}

void CVolumeFolder::AddChild(const tarn::P<CVolumeItem>& child) {
    if (!child) throw tarn::CInvalidArgError(L"AddChild", L"child", this);
    for (const CVolumeItem* up = this; up; up = up->m_parent) {
        if (up == child.Get()) throw tarn::CInvalidArgError(L"AddChild", L"child", this);
    }
    m_children.push_back(child);
    child->m_parent = this;
}

void CVolumeFolder::RemoveChild(const tarn::P<CVolumeItem>& child) {
    if (!child) return;
    const auto removed = std::remove(m_children.begin(), m_children.end(), child);
    if (removed == m_children.end()) return;
    m_children.erase(removed, m_children.end());
    Orphan(*child);
}

void CVolumeFolder::RemoveAllChildren() {
    std::vector<tarn::P<CVolumeItem>> children;
    children.swap(m_children);
    for (const auto& child : children) Orphan(*child);
}

void CVolumeFolder::Orphan(CVolumeItem& child) {
    if (child.m_parent == this) child.m_parent = nullptr;
}

wxFileName CVolumeFolder::OriginFromPath(const wxString& path) const {
    return wxFileName::DirName(path);
}

// ---- CVolumeFile ----

tarn::P<CVolumeItem> CVolumeFile::Clone() const {
    auto copy = tarn::New<CVolumeFile>();
    copy->CopyFrom(*this);
    return copy;
}

void CVolumeFile::WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const {
    CVolumeItem::WriteXml(node, store);
    graphics::xml::SetAttribute(node, "size", wxString::Format("%lld",
                                                               static_cast<long long>(m_size)));
}

void CVolumeFile::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store) {
    CVolumeItem::ReadXml(node, store);
    graphics::xml::ReadInt64(node, "size", m_size);
}

void CVolumeFile::CopyFrom(const CVolumeItem& other) {
    CVolumeItem::CopyFrom(other);
    if (const auto* file = dynamic_cast<const CVolumeFile*>(&other)) m_size = file->m_size;
}

wxFileName CVolumeFile::OriginFromPath(const wxString& path) const { return wxFileName(path); }

// ---- CVolume ----

CVolume::CVolume() { SetName(tarn::Localize(L"lum.CVolume.Root", L"Root")); }

tarn::P<CVolumeItem> CVolume::Clone() const {
    auto copy = tarn::New<CVolume>();
    copy->CopyFrom(*this);
    return copy;
}

}  // namespace lum::data
