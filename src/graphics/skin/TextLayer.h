#pragma once
// The text layer: the owner's text in one font and colour, with optional halo and shadow,
// on one line or wrapped to the content width.

#include <wx/colour.h>
#include <wx/font.h>

#include <vector>

#include "graphics/skin/Layer.h"

namespace graphics::skin {

// The lines a text layer draws its text in, and the block they fill, in the context's units.
struct STextBlock {
    std::vector<wxString> lines;
    double lineHeight = 0;
    CDSize size;
};

class CTextLayer : public CLayer {
public:
    CTextLayer();

    // The owner's text laid out as Paint draws it into content (the layer's content rectangle),
    // measured through context. What lies outside content is cut off.
    STextBlock LayOut(wxGraphicsContext& context, const CDRect& content,
                      const std::wstring& text) const;

    void Paint(CPaintMatrixDC& dc, const CDRect& target, const COwnerSources& sources) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::wstring GetKindName() const override { return L"text"; }
    bool IsTextLayer() const override { return true; }
    CDSize GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) override;
    CDSize GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                           double width) override;
    int GetKindBit() const override { return kBitText; }

    const wxFont& GetFont() const { return m_font; }
    void SetFont(const wxFont& font) { m_font = font; }
    void SetColours(const wxColour& text, const wxColour& shadow, const wxColour& halo) {
        m_colour = text;
        m_shadowColour = shadow;
        m_haloColour = halo;
    }
    const wxColour& GetColour() const { return m_colour; }
    const wxColour& GetShadowColour() const { return m_shadowColour; }
    const wxColour& GetHaloColour() const { return m_haloColour; }
    bool IsHaloEnabled() const { return m_halo; }
    bool IsMultiLine() const { return m_multiLine; }
    CDPoint GetShadowOffset() const { return m_shadowOffset; }
    void SetShadowOffset(CDPoint offset) { m_shadowOffset = offset; }
    void SetHalo(bool enabled) { m_halo = enabled; }
    void SetMultiLine(bool enabled) { m_multiLine = enabled; }
    const std::wstring& GetProperty() const { return m_property; }
    void SetProperty(std::wstring property) { m_property = std::move(property); }

private:
    std::wstring TextOf(const COwnerSources& sources) const;
    // The text's extent on the device context, wrapped to width when width > 0.
    CDSize Extent(wxDC& dc, const std::wstring& text, int width) const;
    void DrawLines(wxGraphicsContext& context, const std::vector<wxString>& lines, double x,
                   double y, double lineHeight, const wxColour& colour) const;

    wxFont m_font;
    wxColour m_colour;
    wxColour m_shadowColour;
    CDPoint m_shadowOffset;
    bool m_halo = false;
    bool m_multiLine = false;
    wxColour m_haloColour;
    std::wstring m_property;
};

}  // namespace graphics::skin
