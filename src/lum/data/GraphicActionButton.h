#pragma once
// A skinned button that carries the action to carry out when it is clicked.

#include "graphics/skin/GraphicSkinButton.h"
#include "lum/data/Action.h"

namespace lum::data {

class CGraphicActionButton : public graphics::skin::CGraphicSkinButton {
public:
    static constexpr const wchar_t* kTypeName = L"lum-state-button-action";

    CGraphicActionButton();

    tarn::P<CAction> GetAction() const { return m_action; }

    std::wstring GetTypeName() const override { return kTypeName; }
    // The action's description.
    std::wstring GetHint() const override;
    tarn::P<graphics::CGraphicElement> Clone() const override;
    // Takes a copy of another action button's action; the two never share one.
    void CopyFrom(const graphics::CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, graphics::IResourceStore* store) const override;
    // Errors of the action (an unknown change-page kind) pass out.
    void FromXml(const wxXmlNode& node, graphics::IResourceInputStore& store) override;

private:
    tarn::P<CAction> m_action;
};

}  // namespace lum::data
