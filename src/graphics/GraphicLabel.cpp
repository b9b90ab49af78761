#include "graphics/GraphicLabel.h"

#include <wx/dc.h>

#include "graphics/DrawHelpers.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"

namespace graphics {

namespace {

constexpr int kSmallestPointSize = 4;

// Stored files carry the older weight codes 90 (normal), 91 (light) and 92 (bold).
wxFontWeight WeightFromCode(std::int32_t code) {
    switch (code) {
        case 90:
            return wxFONTWEIGHT_NORMAL;
        case 91:
            return wxFONTWEIGHT_LIGHT;
        case 92:
            return wxFONTWEIGHT_BOLD;
        default:
            break;
    }
    if (code >= wxFONTWEIGHT_THIN && code <= wxFONTWEIGHT_MAX) {
        return wxFontInfo::GetWeightClosestToNumericValue(code);
    }
    return wxFONTWEIGHT_NORMAL;
}

long CodeOfWeight(int numeric) {
    if (numeric == wxFONTWEIGHT_NORMAL) return 90;
    if (numeric == wxFONTWEIGHT_LIGHT) return 91;
    if (numeric == wxFONTWEIGHT_BOLD) return 92;
    return numeric;
}

wxFontStyle StyleFromCode(std::int32_t code) {
    switch (code) {
        case wxFONTSTYLE_ITALIC:
            return wxFONTSTYLE_ITALIC;
        case wxFONTSTYLE_SLANT:
            return wxFONTSTYLE_SLANT;
        default:
            return wxFONTSTYLE_NORMAL;
    }
}

}  // namespace

namespace xml {

void WriteFont(wxXmlNode& node, const wxString& child, const wxFont& value) {
    if (!value.IsOk()) return;
    wxXmlNode* font = AddChild(node, child);
    WriteString(*font, "name", value.GetFaceName().ToStdWstring());
    WriteInt(*font, "pointsize", value.GetPointSize());
    WriteInt(*font, "style", value.GetStyle());
    WriteInt(*font, "weight", CodeOfWeight(value.GetNumericWeight()));
    WriteBool(*font, "underlined", value.GetUnderlined());
}

void ReadFont(const wxXmlNode& node, const wxString& child, wxFont& value) {
    const wxXmlNode* font = FindChild(node, child);
    if (!font) return;
    if (!value.IsOk()) value = *wxNORMAL_FONT;
    std::wstring name;
    if (ReadString(*font, "name", name) && !name.empty()) value.SetFaceName(name);
    std::int32_t number = 0;
    if (ReadInt(*font, "pointsize", number) && number > 0 && number <= 1000) {
        value.SetPointSize(number);
    }
    if (ReadInt(*font, "style", number)) value.SetStyle(StyleFromCode(number));
    if (ReadInt(*font, "weight", number)) value.SetWeight(WeightFromCode(number));
    bool underlined = false;
    if (ReadBool(*font, "underlined", underlined)) value.SetUnderlined(underlined);
}

}  // namespace xml

CGraphicLabel::CGraphicLabel() : m_font(*wxNORMAL_FONT), m_colour(*wxBLACK) {}

std::wstring CGraphicLabel::GetName() const {
    const std::wstring name = CGraphicElement::GetName();
    return name.empty() ? m_text : name;
}

void CGraphicLabel::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* label = dynamic_cast<const CGraphicLabel*>(&other)) {
        m_text = label->m_text;
        m_font = label->m_font;
        m_colour = label->m_colour;
    }
}

void CGraphicLabel::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    xml::WriteString(node, "text", m_text);
    xml::WriteFont(node, "font", m_font);
    xml::WriteColour(node, "color", m_colour);
}

void CGraphicLabel::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    xml::ReadString(node, "text", m_text);
    xml::ReadFont(node, "font", m_font);
    xml::ReadColour(node, "color", m_colour);
}

wxRect CGraphicLabel::DeviceBox(const CPaintMatrixDC& dc) const {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    return {draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
            draw::Whole(mapped.height)};
}

bool CGraphicLabel::FitFont(wxDC& target, const wxSize& box) {
    const wxString text(m_text);
    target.SetFont(m_font);
    wxSize extent = target.GetMultiLineTextExtent(text);
    while ((extent.x > box.x || extent.y > box.y) && m_font.GetPointSize() > kSmallestPointSize) {
        m_font.SetPointSize(m_font.GetPointSize() - 1);
        target.SetFont(m_font);
        extent = target.GetMultiLineTextExtent(text);
    }
    return extent.x <= box.x && extent.y <= box.y;
}

void CGraphicLabel::Paint(CPaintMatrixDC& dc) {
    if (m_text.empty() || !m_font.IsOk()) return;
    const wxRect rect = DeviceBox(dc);
    wxDC& target = dc.GetDC();
    const wxString text(m_text);
    target.SetTextForeground(draw::Rules(IsColoured()).Apply(m_colour));
    if (FitFont(target, rect.GetSize())) {
        target.DrawLabel(text, rect, wxALIGN_CENTER);
    } else {
        target.DrawText(text, rect.GetTopLeft());
    }
    dc.AddPaintedArea(dc.Map(CDRect::FromCenter(GetCenter(), GetSize())));
}

}  // namespace graphics
