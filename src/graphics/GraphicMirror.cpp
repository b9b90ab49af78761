#include "graphics/GraphicMirror.h"

#include <wx/dcgraph.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "graphics/DrawHelpers.h"
#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"
#include "tarn/ScopeExit.h"

namespace graphics {

int CGraphicMirror::GetType() const { return GRAPHIC_MIRROR; }

void CGraphicMirror::Fade(wxImage& image) {
    if (!image.IsOk()) return;
    const int width = image.GetWidth(), height = image.GetHeight();
    if (width < 1 || height < 1) return;
    if (!image.HasAlpha()) image.InitAlpha();
    unsigned char* alpha = image.GetAlpha();
    for (int row = 0; row < height; ++row) {
        const double limit = std::max(0.0, 100.0 - row * 100.0 / height);
        const auto cap = static_cast<unsigned char>(std::clamp<long>(std::lround(limit), 0, 255));
        unsigned char* line = alpha + static_cast<std::size_t>(row) * width;
        for (int x = 0; x < width; ++x) line[x] = std::min(line[x], cap);
    }
}

void CGraphicMirror::Paint(CPaintMatrixDC& dc) {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const int width = draw::Whole(mapped.width), height = draw::Whole(mapped.height);
    wxDC& target = dc.GetDC();
    if (m_document && draw::FitsOffscreen(width, height) && !m_painting) {
        // A document that (through shared objects) holds this mirror paints it once.
        m_painting = true;
        const auto reset = tarn::MakeScopeExit([this] { m_painting = false; });
        wxImage canvas(width, height, true);
        if (!canvas.IsOk()) return;
        canvas.InitAlpha();
        std::memset(canvas.GetAlpha(), 0, static_cast<std::size_t>(width) * height);
        {
            wxGCDC offscreen(wxGraphicsContext::Create(canvas));
            wxAffineMatrix2D transform;
            transform.Translate(-mapped.x, -mapped.y);
            transform.Concat(dc.GetTransform());
            CPaintMatrixDC inner(offscreen, transform);
            inner.SetPaintMode(dc.GetPaintMode());
            inner.SetUnitMode(dc.GetUnitMode());
            inner.SetZoom(dc.GetZoom());
            inner.SetZoomMode(dc.GetZoomMode());
            m_document->Paint(inner);
            dc.RequestRedraw(inner.GetRedrawDelay());
        }
        wxImage reflection = canvas.Mirror(false);
        Fade(reflection);
        target.DrawBitmap(wxBitmap(reflection, 32), draw::Whole(mapped.x), draw::Whole(mapped.y),
                          true);
        dc.AddPaintedArea(mapped);
    }
    if (dc.IsEditing()) {
        target.SetPen(wxPen(wxColour(128, 128, 128), 1, wxPENSTYLE_DOT));
        target.SetBrush(*wxTRANSPARENT_BRUSH);
        target.DrawRectangle(draw::Whole(mapped.x), draw::Whole(mapped.y), width, height);
    }
}

void CGraphicMirror::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    const auto* mirror = dynamic_cast<const CGraphicMirror*>(&other);
    if (!mirror) return;
    m_document = nullptr;
    if (!mirror->m_document) return;
    m_document = tarn::New<CGraphicDocument>();
    for (std::size_t i = 0; i < mirror->m_document->GetCount(); ++i) {
        m_document->Add(mirror->m_document->GetAt(i)->Clone());
    }
}

void CGraphicMirror::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    if (m_document) m_document->ToXml(*xml::AddChild(node, "graphic-document"), store);
}

void CGraphicMirror::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    if (const wxXmlNode* child = xml::FindChild(node, "graphic-document")) {
        auto document = tarn::New<CGraphicDocument>();
        document->FromXml(*child, store);
        m_document = document;
    }
}

}  // namespace graphics
