#include "graphics/skin/State.h"

#include <algorithm>

#include "graphics/XmlValues.h"

namespace graphics::skin {
namespace {

// The first layer's size, raised per dimension by every further layer.
template <class Measure>
CDSize Largest(const std::vector<tarn::P<CLayer>>& layers, Measure measure) {
    if (layers.empty()) return {};
    CDSize result = measure(*layers.front());
    for (std::size_t i = 1; i < layers.size(); ++i) {
        const CDSize size = measure(*layers[i]);
        result.width = std::max(result.width, size.width);
        result.height = std::max(result.height, size.height);
    }
    return result;
}

}  // namespace

CDSize CState::GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) const {
    return Largest(m_layers, [&](CLayer& layer) { return layer.GetMinSize(dc, sources); });
}

CDSize CState::GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                               double width) const {
    return Largest(m_layers,
                   [&](CLayer& layer) { return layer.GetSizeForWidth(dc, sources, width); });
}

void CState::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteString(node, "name", m_name);
    wxXmlNode* layers = xml::AddChild(node, "layers");
    for (const auto& layer : m_layers) {
        layer->ToXml(*xml::AddChild(*layers, wxString(layer->GetKindName())), store);
    }
}

void CState::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    xml::ReadString(node, "name", m_name);
    const wxXmlNode* layers = xml::FindChild(node, "layers");
    if (!layers) return;
    for (const wxXmlNode* child = layers->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        tarn::P<CLayer> layer = CreateLayer(child->GetName().ToStdWstring());
        if (!layer) continue;
        layer->FromXml(*child, store);
        m_layers.push_back(layer);
    }
}

}  // namespace graphics::skin
