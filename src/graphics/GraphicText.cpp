#include "graphics/GraphicText.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/RichText.h"
#include "tarn/StringLocalizer.h"
#include "tarn/win32/DrawingSettings.h"

namespace graphics {

namespace {
constexpr const wchar_t* kAttachmentTag = L"attachment-richtextbuffer";
}  // namespace

void CGraphicText::SetSize(CDSize size) {
    CGraphicElement::SetSize(size);
    if (m_buffer) m_buffer->Invalidate(wxRICHTEXT_ALL);
}

void CGraphicText::SetBuffer(std::unique_ptr<wxRichTextBuffer> buffer) {
    m_buffer = std::move(buffer);
    m_layoutRect = wxRect();
    m_overflow = false;
    if (m_buffer) m_buffer->Invalidate(wxRICHTEXT_ALL);
}

std::wstring CGraphicText::GetHint() const {
    if (GetHintText().empty() && HasFlag(kFlagEditingHints)) {
        return tarn::Localize(L"graphics.CGraphicText.ClickToEditText",
                              L"Double click to edit text");
    }
    return GetHintText();
}

void CGraphicText::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* text = dynamic_cast<const CGraphicText*>(&other)) {
        SetBuffer(text->m_buffer ? CopyRichTextBuffer(*text->m_buffer) : nullptr);
    }
}

void CGraphicText::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    if (m_buffer && output) output->StoreRichTextBuffer(node, kAttachmentTag, *m_buffer);
}

void CGraphicText::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    SetBuffer(store.LoadRichTextBuffer(node, kAttachmentTag));
}

wxRealPoint CGraphicText::LayoutScale(const CPaintMatrixDC& dc) {
    switch (dc.GetUnitMode()) {
        case CPaintMatrixDC::kUnitMillimetre: {
            const wxSize ppi = dc.GetDC().GetPPI();
            if (ppi.x <= 0 || ppi.y <= 0) return {1, 1};
            return {ppi.x / 25.4, ppi.y / 25.4};
        }
        case CPaintMatrixDC::kUnitZoom:
            if (!(dc.GetZoom() > 0) || !std::isfinite(dc.GetZoom())) return {1, 1};
            return {dc.GetZoom(), dc.GetZoom()};
        default:
            return {1, 1};
    }
}

void CGraphicText::ApplyElementTransform(CEffectDC& effect, wxPoint2DDouble centre,
                                         bool turn) const {
    wxGraphicsContext* context = effect.GetGraphicsContext();
    wxAffineMatrix2D local;
    local.Translate(centre.m_x, centre.m_y);
    local.Scale(IsMirrored(0) ? -1 : 1, IsMirrored(1) ? -1 : 1);
    if (turn && std::abs(GetRotation()) > 0.001) local.Rotate(GetRotation() * kDegreesToRadians);
    local.Translate(-centre.m_x, -centre.m_y);
    context->ConcatTransform(draw::ToGraphics(*context, local));
}

void CGraphicText::LayoutIfNeeded(wxDC& dc, const wxRect& device, const wxRect& layout) {
    if (!m_buffer->IsDirty() && device == m_layoutRect) return;
    m_layoutRect = device;
    m_layoutSize = layout.GetSize();
    LayoutRichText(*m_buffer, dc, layout);
    m_overflow = layout.height < m_buffer->GetCachedSize().y;
    ++m_layoutCount;
}

void CGraphicText::Paint(CPaintMatrixDC& dc) {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const wxRect device(draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
                        draw::Whole(mapped.height));
    if (!m_buffer) {
        if (dc.IsEditing()) {
            PaintPlaceholder(
                dc, tarn::Localize(L"graphics.Text.ClickToEdit", L"Double click to edit!"));
        }
        return;
    }
    if (device.width < 1 || device.height < 1) return;
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    effect.SetGreyscale(!IsColoured());

    const wxRealPoint scale = LayoutScale(dc);
    const wxRect layout(0, 0, std::max(1, draw::Whole(device.width / scale.x)),
                        std::max(1, draw::Whole(device.height / scale.y)));
    tarn::win32::drawing::SetTextRenderingHint(*context, 4);
    const CDPoint centre = mapped.GetCenter();
    ApplyElementTransform(effect, {centre.x, centre.y}, true);
    context->Clip(device.x, device.y, device.width, device.height);
    context->Translate(device.x, device.y);
    context->Scale(scale.x, scale.y);

    LayoutIfNeeded(effect, device, layout);
    wxRichTextDrawingContext drawing(m_buffer.get());
    m_buffer->Draw(effect, drawing, m_buffer->GetOwnRange(), wxRichTextSelection(), layout, 0, 0);
    effect.Flush();
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
}

void CGraphicText::PaintPlaceholder(CPaintMatrixDC& dc, const std::wstring& text) const {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const wxRect rect(draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
                      draw::Whole(mapped.height));
    wxDC& target = dc.GetDC();
    target.SetPen(wxPen(*wxLIGHT_GREY, 1, wxPENSTYLE_DOT));
    target.SetBrush(*wxTRANSPARENT_BRUSH);
    target.DrawRectangle(rect);
    target.SetFont(*wxNORMAL_FONT);
    target.SetTextForeground(*wxBLACK);
    target.DrawLabel(wxString(text), rect, wxALIGN_CENTER);
}

}  // namespace graphics
