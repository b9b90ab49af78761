#include "graphics/skin/Layer.h"

#include "graphics/DrawHelpers.h"
#include "graphics/XmlValues.h"
#include "graphics/skin/AnimationLayer.h"
#include "graphics/skin/CustomLayer.h"
#include "graphics/skin/TextLayer.h"

namespace graphics::skin {
namespace {

constexpr struct {
    const char* name;
    MarginIndex index;
} kMarginAttributes[] = {
    {"left", kMarginLeft},
    {"top", kMarginTop},
    {"right", kMarginRight},
    {"bottom", kMarginBottom},
    {"left-factor", kMarginLeftFactor},
    {"top-factor", kMarginTopFactor},
    {"right-factor", kMarginRightFactor},
    {"bottom-factor", kMarginBottomFactor},
};

}  // namespace

namespace margins {

void Write(wxXmlNode& node, const wxString& child, const CLayerMargins& value) {
    wxXmlNode* margins = xml::AddChild(node, child);
    for (const auto& attribute : kMarginAttributes) {
        xml::WriteDouble(*margins, attribute.name, value[attribute.index]);
    }
}

void Read(const wxXmlNode& node, const wxString& child, CLayerMargins& value) {
    const wxXmlNode* margins = xml::FindChild(node, child);
    if (!margins) return;
    for (const auto& attribute : kMarginAttributes) {
        xml::ReadDouble(*margins, attribute.name, value[attribute.index]);
    }
}

}  // namespace margins

void CLayer::ToXml(wxXmlNode& node, IResourceStore*) const {
    margins::Write(node, "content-margins", m_margins);
    xml::WriteDouble(node, "horzalign", m_horzAlign);
    xml::WriteDouble(node, "vertalign", m_vertAlign);
}

void CLayer::FromXml(const wxXmlNode& node, IResourceInputStore&) {
    margins::Read(node, "content-margins", m_margins);
    xml::ReadDouble(node, "horzalign", m_horzAlign);
    xml::ReadDouble(node, "vertalign", m_vertAlign);
}

CDSize CLayer::GetMinSize(CPaintMatrixDC&, const COwnerSources&) {
    return {m_margins[kMarginLeft] + m_margins[kMarginRight],
            m_margins[kMarginTop] + m_margins[kMarginBottom]};
}

CDSize CLayer::GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources, double width) {
    return {width, CLayer::GetMinSize(dc, sources).height};
}

CDRect CLayer::ContentRect(const CDRect& target) const {
    const double freeWidth = target.width - m_margins[kMarginLeft] - m_margins[kMarginRight];
    const double freeHeight = target.height - m_margins[kMarginTop] - m_margins[kMarginBottom];
    const double left = m_margins[kMarginLeft] + m_margins[kMarginLeftFactor] * freeWidth;
    const double top = m_margins[kMarginTop] + m_margins[kMarginTopFactor] * freeHeight;
    const double right = m_margins[kMarginRight] + m_margins[kMarginRightFactor] * freeWidth;
    const double bottom =
        m_margins[kMarginBottom] + m_margins[kMarginBottomFactor] * freeHeight;
    return {target.x + left, target.y + top, target.width - left - right,
            target.height - top - bottom};
}

wxPoint CLayer::Align(const CDRect& content, CDSize size) const {
    return {draw::Whole(content.x + (content.width - size.width) * m_horzAlign),
            draw::Whole(content.y + (content.height - size.height) * m_vertAlign)};
}

tarn::P<CLayer> CreateLayer(const std::wstring& name) {
    if (name == L"animation") return tarn::New<CAnimationLayer>();
    if (name == L"text") return tarn::New<CTextLayer>();
    if (name == L"custom") return tarn::New<CCustomLayer>();
    return nullptr;
}

}  // namespace graphics::skin
