#include "graphics/GraphicElement.h"

#include <cmath>

#include "graphics/GraphicElementFactory.h"
#include "graphics/XmlValues.h"
#include "tarn/StringLocalizer.h"

namespace graphics {

std::wstring CGraphicElement::GetHint() const {
    if (m_hint.empty() && HasFlag(kFlagEditingHints) && IsContentEmpty()) {
        return tarn::Localize(L"graphics.CGraphicElement.ClickToEdit", L"Double click to edit");
    }
    return m_hint;
}

bool CGraphicElement::Contains(double x, double y) const {
    const CDPoint center = GetCenter();
    const CDSize size = GetSize();
    const CDPoint turned = RotatePoint({x, y}, center, -GetRotation());
    return std::abs(turned.x - center.x) <= size.width / 2 &&
           std::abs(turned.y - center.y) <= size.height / 2;
}

tarn::P<CGraphicElement> CGraphicElement::Clone() const {
    const std::wstring typeName = GetTypeName();
    tarn::P<CGraphicElement> copy =
        typeName.empty() ? NewInstance(GetType()) : NewInstance(typeName);
    copy->CopyFrom(*this);
    return copy;
}

void CGraphicElement::CopyFrom(const CGraphicElement& other) {
    CopyBaseFrom(other);
    m_groups = other.m_groups;
    m_coloured = other.m_coloured;
    m_modified = other.m_modified;
    m_contentId = other.m_contentId;
    m_contentIndex = other.m_contentIndex;
    m_textId = other.m_textId;
    m_hint = other.m_hint;
}

void CGraphicElement::SetGroups(const std::set<std::int32_t>& groups) {
    m_groups.clear();
    for (const std::int32_t group : groups) {
        if (group > 0) m_groups.insert(group);
    }
}

std::int64_t CGraphicElement::GetResourceId() const {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(this));
}

void CGraphicElement::ToXml(wxXmlNode& node, IResourceStore*) const {
    xml::WriteString(node, "name", GetName());
    xml::WritePoint(node, "center", GetCenter());
    xml::WriteSize(node, "size", GetSize());
    xml::WriteBool(node, "coloured", m_coloured);
    if (IsMirrored(0)) xml::WriteBool(node, "mirror-x", true);
    if (IsMirrored(1)) xml::WriteBool(node, "mirror-y", true);
    xml::WriteDouble(node, "rotation", GetRotation());
    xml::WriteBool(node, "visible", IsVisible());
    if (m_modified) xml::WriteBool(node, "modified", true);
    if (!m_contentId.empty()) xml::WriteString(node, "content-id", m_contentId);
    if (m_contentIndex > 0) xml::WriteInt(node, "content-index", m_contentIndex);
    if (!m_textId.empty()) xml::WriteString(node, "text-id", m_textId);
    if (!GetTags().empty()) {
        wxXmlNode* tags = xml::AddChild(node, "tags");
        for (const std::wstring& tag : GetTags()) xml::AddChild(*tags, wxString(tag));
    }
    if (!m_groups.empty()) {
        wxXmlNode* groups = xml::AddChild(node, "groups");
        for (const std::int32_t group : m_groups) {
            xml::WriteInt(*xml::AddChild(*groups, "group"), "nr", group);
        }
    }
}

void CGraphicElement::FromXml(const wxXmlNode& node, IResourceInputStore&) {
    std::wstring name = GetName();
    xml::ReadString(node, "name", name);
    CDPoint center = GetCenter();
    xml::ReadPoint(node, "center", center);
    CDSize size = GetSize();
    xml::ReadSize(node, "size", size);
    xml::ReadBool(node, "coloured", m_coloured);
    bool mirrorX = IsMirrored(0), mirrorY = IsMirrored(1);
    xml::ReadBool(node, "mirror-x", mirrorX);
    xml::ReadBool(node, "mirror-y", mirrorY);
    xml::ReadString(node, "content-id", m_contentId);
    xml::ReadInt(node, "content-index", m_contentIndex);
    xml::ReadString(node, "text-id", m_textId);
    double rotation = GetRotation();
    xml::ReadDouble(node, "rotation", rotation);
    bool visible = IsVisible();
    xml::ReadBool(node, "visible", visible);
    xml::ReadBool(node, "modified", m_modified);

    SetName(name);
    SetCenter(center);
    SetSize(size);
    SetMirror(0, mirrorX);
    SetMirror(1, mirrorY);
    StoreRotation(rotation);
    SetVisible(visible);

    if (const wxXmlNode* tags = xml::FindChild(node, "tags")) {
        std::set<std::wstring> read;
        for (const wxXmlNode* tag = tags->GetChildren(); tag; tag = tag->GetNext()) {
            if (tag->GetType() == wxXML_ELEMENT_NODE) read.insert(tag->GetName().ToStdWstring());
        }
        SetTags(std::move(read));
    }
    if (const wxXmlNode* groups = xml::FindChild(node, "groups")) {
        m_groups.clear();
        for (const wxXmlNode* group = groups->GetChildren(); group; group = group->GetNext()) {
            std::int32_t nr = 0;
            if (group->GetType() == wxXML_ELEMENT_NODE && xml::ReadInt(*group, "nr", nr) &&
                nr > 0) {
                m_groups.insert(nr);
            }
        }
    }
}

}  // namespace graphics
