#pragma once
// One plain string in one font and colour; the font shrinks until the string fits.

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

#include <string>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

class wxDC;

namespace graphics {

class CGraphicLabel : public CGraphicElement {
public:
    CGraphicLabel();

    int GetType() const override { return GRAPHIC_LABEL; }
    // The name; the text when the element has none.
    std::wstring GetName() const override;
    void Paint(CPaintMatrixDC& dc) override;
    bool IsContentEmpty() const override { return m_text.empty(); }
    void ClearContent() override { m_text.clear(); }
    void CopyFrom(const CGraphicElement& other) override;

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    const std::wstring& GetText() const { return m_text; }
    void SetText(std::wstring text) { m_text = std::move(text); }
    const wxFont& GetFont() const { return m_font; }
    void SetFont(const wxFont& font) { m_font = font; }
    const wxColour& GetColour() const { return m_colour; }
    void SetColour(const wxColour& colour) { m_colour = colour; }
    // The box the text is fitted into, in device pixels.
    wxRect DeviceBox(const CPaintMatrixDC& dc) const;
    // Shrinks the font, a point at a time down to 4 points, until the text fits box on target;
    // true when it fits. The smaller size is kept: the next paint starts from it.
    bool FitFont(wxDC& target, const wxSize& box);

private:
    std::wstring m_text;
    wxFont m_font;
    wxColour m_colour;
};

namespace xml {
// The font form: child with "name", "pointsize", "style", "weight" and "underlined".
void WriteFont(wxXmlNode& node, const wxString& child, const wxFont& value);
// Changes only what is present; an absent child leaves the font as it is.
void ReadFont(const wxXmlNode& node, const wxString& child, wxFont& value);
}  // namespace xml

}  // namespace graphics
