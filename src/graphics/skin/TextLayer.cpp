#include "graphics/skin/TextLayer.h"

#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicLabel.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/TextWrapper.h"
#include "graphics/XmlValues.h"

namespace graphics::skin {
namespace {

double Round(double value) { return std::floor(value + 0.5); }

std::vector<wxString> SplitLines(const wxString& text) {
    const wxArrayString parts = wxSplit(text, '\n', '\0');
    return std::vector<wxString>(parts.begin(), parts.end());
}

}  // namespace

CTextLayer::CTextLayer()
    : m_font(*wxNORMAL_FONT),
      m_colour(*wxBLACK),
      m_shadowColour(128, 128, 128),
      m_haloColour(*wxWHITE) {}

std::wstring CTextLayer::TextOf(const COwnerSources& sources) const {
    return sources.text ? sources.text->GetText(m_property) : std::wstring();
}

CDSize CTextLayer::Extent(wxDC& dc, const std::wstring& text, int width) const {
    wxString measured(text);
    if (width > 0) measured = CTextWrapper(m_font).Wrap(text, width);
    wxCoord w = 0, h = 0, lineHeight = 0;
    dc.GetMultiLineTextExtent(measured, &w, &h, &lineHeight, &m_font);
    return {double(w), double(h)};
}

CDSize CTextLayer::GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) {
    const CDSize base = CLayer::GetMinSize(dc, sources);
    wxCoord w = 0, h = 0;
    dc.GetDC().GetTextExtent(wxString(TextOf(sources)), &w, &h, nullptr, nullptr, &m_font);
    return {Round(base.width + w), Round(base.height + h)};
}

CDSize CTextLayer::GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                                   double width) {
    const CDSize base = CLayer::GetMinSize(dc, sources);
    const std::wstring text = TextOf(sources);
    CDSize extent;
    if (m_multiLine) {
        extent = Extent(dc.GetDC(), text, std::max(1, draw::Whole(width)));
    } else {
        wxCoord w = 0, h = 0;
        dc.GetDC().GetTextExtent(wxString(text), &w, &h, nullptr, nullptr, &m_font);
        extent = {double(w), double(h)};
    }
    return {Round(base.width + extent.width), Round(base.height + extent.height)};
}

void CTextLayer::DrawLines(wxGraphicsContext& context, const std::vector<wxString>& lines,
                           double x, double y, double lineHeight,
                           const wxColour& colour) const {
    context.SetFont(m_font, colour);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        context.DrawText(lines[i], x, y + lineHeight * static_cast<double>(i));
    }
}

STextBlock CTextLayer::LayOut(wxGraphicsContext& context, const CDRect& content,
                              const std::wstring& text) const {
    context.SetFont(m_font, m_colour);
    STextBlock block;
    block.lines = {wxString(text)};
    if (m_multiLine) {
        const int width = std::max(1, draw::Whole(content.width));
        block.lines = SplitLines(CTextWrapper(m_font).Wrap(text, width));
    }
    double blockWidth = 0;
    for (const wxString& line : block.lines) {
        double w = 0, h = 0;
        context.GetTextExtent(line.empty() ? wxString(" ") : line, &w, &h);
        if (!line.empty()) blockWidth = std::max(blockWidth, w);
        block.lineHeight = std::max(block.lineHeight, h);
    }
    block.size = {blockWidth, block.lineHeight * static_cast<double>(block.lines.size())};
    return block;
}

void CTextLayer::Paint(CPaintMatrixDC& dc, const CDRect& target, const COwnerSources& sources) {
    wxGraphicsContext* context = dc.GetGraphicsContext();
    if (!context || !sources.text) return;
    const CDRect content = ContentRect(target);
    const STextBlock block = LayOut(*context, content, TextOf(sources));
    const std::vector<wxString>& lines = block.lines;
    const double lineHeight = block.lineHeight;
    const wxPoint at = Align(content, block.size);

    context->Clip(content.x, content.y, content.width, content.height);
    if (m_halo) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                DrawLines(*context, lines, at.x + dx, at.y + dy, lineHeight, m_haloColour);
            }
        }
    }
    if (m_shadowOffset.x > 0 || m_shadowOffset.y > 0) {
        DrawLines(*context, lines, at.x + m_shadowOffset.x, at.y + m_shadowOffset.y,
                  lineHeight, m_shadowColour);
    }
    DrawLines(*context, lines, at.x, at.y, lineHeight, m_colour);
    context->SetFont(m_font, *wxBLACK);
    context->ResetClip();
}

void CTextLayer::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CLayer::ToXml(node, store);
    xml::WriteFont(node, "font", m_font);
    xml::WriteColour(node, "color", m_colour);
    xml::WriteColour(node, "shadow-color", m_shadowColour);
    xml::WritePoint(node, "shadow-rel-position", m_shadowOffset);
    xml::WriteBool(node, "halo-enabled", m_halo);
    xml::WriteBool(node, "multiline-enabled", m_multiLine);
    xml::WriteColour(node, "halo-color", m_haloColour);
    xml::WriteString(node, "prop", m_property);
}

void CTextLayer::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CLayer::FromXml(node, store);
    xml::ReadFont(node, "font", m_font);
    xml::ReadColour(node, "color", m_colour);
    xml::ReadColour(node, "shadow-color", m_shadowColour);
    xml::ReadPoint(node, "shadow-rel-position", m_shadowOffset);
    xml::ReadBool(node, "halo-enabled", m_halo);
    xml::ReadBool(node, "multiline-enabled", m_multiLine);
    xml::ReadColour(node, "halo-color", m_haloColour);
    xml::ReadString(node, "prop", m_property);
}

}  // namespace graphics::skin
