#include "lum/data/GraphicActionButton.h"

#include "graphics/XmlValues.h"

namespace lum::data {

CGraphicActionButton::CGraphicActionButton() : m_action(tarn::New<CAction>()) {}

std::wstring CGraphicActionButton::GetHint() const { return m_action->GetDescription(); }

tarn::P<graphics::CGraphicElement> CGraphicActionButton::Clone() const {
    auto copy = tarn::New<CGraphicActionButton>();
    copy->CopyFrom(*this);
    return copy;
}

void CGraphicActionButton::CopyFrom(const graphics::CGraphicElement& other) {
    CGraphicSkinButton::CopyFrom(other);
    if (const auto* button = dynamic_cast<const CGraphicActionButton*>(&other)) {
        m_action->Assign(*button->m_action);
    }
}

void CGraphicActionButton::ToXml(wxXmlNode& node, graphics::IResourceStore* store) const {
    CGraphicSkinButton::ToXml(node, store);
    m_action->WriteXml(*graphics::xml::AddChild(node, "action"), store);
}

void CGraphicActionButton::FromXml(const wxXmlNode& node, graphics::IResourceInputStore& store) {
    CGraphicSkinButton::FromXml(node, store);
    if (const wxXmlNode* action = graphics::xml::FindChild(node, "action")) {
        m_action->ReadXml(*action, &store);
    }
}

}  // namespace lum::data
