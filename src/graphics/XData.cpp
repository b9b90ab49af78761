#include "graphics/XData.h"

#include "graphics/XmlValues.h"

namespace graphics {

void CStringXData::ToXml(wxXmlNode& node, IResourceStore*) const {
    xml::WriteString(node, "value", m_value);
}

void CStringXData::FromXml(const wxXmlNode& node, IResourceInputStore*) {
    xml::ReadString(node, "value", m_value);
}

void CIntXData::ToXml(wxXmlNode& node, IResourceStore*) const {
    xml::WriteInt(node, "value", m_value);
}

void CIntXData::FromXml(const wxXmlNode& node, IResourceInputStore*) {
    xml::ReadInt(node, "value", m_value);
}

void CRectXData::ToXml(wxXmlNode& node, IResourceStore*) const {
    xml::WriteRect(node, "value", m_value);
}

void CRectXData::FromXml(const wxXmlNode& node, IResourceInputStore*) {
    xml::ReadRect(node, "value", m_value);
}

bool CRectXData::IsEmpty() const {
    return m_value.x == 0 || m_value.y == 0 || m_value.width == 0 || m_value.height == 0;
}

void CXDatas::ToXml(wxXmlNode& node, IResourceStore* store) const {
    for (const auto& [name, value] : m_values) {
        if (!value) continue;
        wxXmlNode* child = xml::AddChild(node, wxString(name));
        xml::WriteString(*child, "type", value->GetTypeName());
        value->ToXml(*child, store);
    }
}

void CXDatas::FromXml(const wxXmlNode& node, IResourceInputStore* store) {
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        const wxString type = xml::GetAttribute(*child, "type");
        tarn::P<CXData> value;
        if (type == "string") {
            value = tarn::New<CStringXData>();
        } else if (type == "rect") {
            value = tarn::New<CRectXData>();
        } else if (type == "int") {
            value = tarn::New<CIntXData>();
        } else {
            continue;
        }
        value->FromXml(*child, store);
        m_values[child->GetName().ToStdWstring()] = value;
    }
}

bool CXDatas::IsEmpty() const {
    for (const auto& entry : m_values) {
        if (entry.second) return false;
    }
    return true;
}

tarn::P<CXData> CXDatas::Get(const std::wstring& name) const {
    const auto found = m_values.find(name);
    return found == m_values.end() ? nullptr : found->second;
}

void CXDatas::Set(const std::wstring& name, tarn::P<CXData> value) {
    m_values[name] = std::move(value);
}

tarn::P<CXDatas> CXDatas::Copy() const {
    auto copy = tarn::New<CXDatas>();
    for (const auto& [name, value] : m_values) copy->Set(name, value ? value->Copy() : nullptr);
    return copy;
}

}  // namespace graphics
