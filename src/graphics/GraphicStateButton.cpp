#include "graphics/GraphicStateButton.h"

#include <wx/dc.h>

#include "graphics/DrawHelpers.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"

namespace graphics {
namespace {

struct CPlainColours {
    wxColour brush;
    wxColour pen;
};

CPlainColours ColoursFor(const CPaintMatrixDC& dc, bool hovered, bool pressed) {
    if (dc.IsEditing() || (!hovered && !pressed)) return {wxColour(200, 200, 200), *wxBLACK};
    if (pressed) return {hovered ? wxColour(0, 0, 255) : wxColour(0, 255, 0), *wxWHITE};
    return {wxColour(255, 0, 0), *wxWHITE};
}

}  // namespace

CGraphicStateButton::CGraphicStateButton() {
    SetSize({60, 20});
    SetFlags(GetFlags() | kButtonFlags);
}

void CGraphicStateButton::Paint(CPaintMatrixDC& dc) { PaintPlain(dc); }

void CGraphicStateButton::PaintPlain(CPaintMatrixDC& dc) const {
    const CPlainColours colours = ColoursFor(dc, HasFlag(kFlagHovered), HasFlag(kFlagPressed));
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    wxDC& target = dc.GetDC();
    target.SetPen(wxPen(colours.pen, 1));
    target.SetBrush(wxBrush(colours.brush));
    target.DrawRoundedRectangle(draw::Whole(mapped.x), draw::Whole(mapped.y),
                                draw::Whole(mapped.width), draw::Whole(mapped.height), 5);
    if (m_label.empty()) return;
    target.SetFont(wxFont(8, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false,
                          "Arial"));
    target.SetTextForeground(colours.pen);
    const wxSize extent = target.GetTextExtent(wxString(m_label));
    target.DrawText(wxString(m_label),
                    draw::Whole(mapped.x + mapped.width * 0.5 - extent.x / 2),
                    draw::Whole(mapped.y + mapped.height * 0.5 - extent.y / 2));
}

void CGraphicStateButton::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* button = dynamic_cast<const CGraphicStateButton*>(&other)) {
        m_label = button->m_label;
        SetHint(button->GetHintText());
    }
}

void CGraphicStateButton::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    xml::WriteString(node, "label", m_label);
    xml::WriteString(node, "hint", GetHintText());
}

void CGraphicStateButton::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    xml::ReadString(node, "label", m_label);
    std::wstring hint = GetHintText();
    if (xml::ReadString(node, "hint", hint)) SetHint(hint);
}

}  // namespace graphics
