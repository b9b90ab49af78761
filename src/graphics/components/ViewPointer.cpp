// The pointer over the view: hit tests at window points, the hovered elements and the
// cursor, and the press and release hooks interactive subclasses build on.

#include "graphics/components/View.h"

#include <wx/dcclient.h>

#include <algorithm>

#include "graphics/skin/SkinManager.h"

namespace graphics::components {

namespace {

bool ContainsElement(const std::vector<tarn::P<CGraphicElement>>& list, const CGraphicElement* e) {
    return std::any_of(list.begin(), list.end(), [&](const auto& item) { return item.Get() == e; });
}

}  // namespace

bool CView::HitTest(CPaintMatrixDC& dc, double x, double y, tarn::P<CGraphicElement>& hit,
                    std::uint32_t flags) {
    hit = {};
    wxAffineMatrix2D inverse = dc.GetTransform();
    if (!inverse.Invert()) return false;
    const wxPoint2DDouble point = inverse.TransformPoint(wxPoint2DDouble(x, y));
    const auto accepts = [&](const tarn::P<CGraphicElement>& element) {
        return element && element->IsVisible() && (element->GetFlags() & flags) != 0 &&
               element->Contains(point.m_x, point.m_y);
    };
    for (auto record = m_overlays.rbegin(); record != m_overlays.rend(); ++record) {
        if (record->priority < 0) continue;
        if (accepts(record->element)) {
            hit = record->element;
            return true;
        }
    }
    if (!m_document) return false;
    for (std::size_t i = m_document->GetCount(); i-- > 0;) {
        const tarn::P<CGraphicElement> element = m_document->GetAt(i);
        if (accepts(element)) {
            hit = element;
            return true;
        }
    }
    return false;
}

tarn::P<CGraphicElement> CView::HitAt(wxPoint point) {
    if (!m_document) return {};
    UpdateViewMatrix();
    wxClientDC client(this);
    CPaintMatrixDC context(client, m_viewMatrix);
    InitPaintContext(context);
    tarn::P<CGraphicElement> hit;
    HitTest(context, client.DeviceToLogicalX(point.x), client.DeviceToLogicalY(point.y), hit,
            kHitFlags);
    return hit;
}

void CView::TrackHover(const tarn::P<CGraphicElement>& hit, CDPoint documentPoint,
                       wxMouseEvent* event) {
    bool changed = false;
    for (std::size_t i = m_hovered.size(); i-- > 0;) {
        const tarn::P<CGraphicElement> element = m_hovered[i];
        if (element.Get() == hit.Get()) continue;
        if (element->HasFlag(CGraphicBase::kFlagHovered)) {
            element->SetFlag(CGraphicBase::kFlagHovered, false);
            changed = true;
        }
        if (!element->Contains(documentPoint.x, documentPoint.y)) {
            m_hovered.erase(m_hovered.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (hit && !hit->HasFlag(CGraphicBase::kFlagHovered)) {
        hit->SetFlag(CGraphicBase::kFlagHovered, true);
        if (!ContainsElement(m_hovered, hit.Get())) m_hovered.push_back(hit);
        changed = true;
        OnMouseEnterElement(event, hit);
    }
    OnHoverChanged(event, hit);
    UpdateCursor(hit);
    if (changed) RequestRepaint();
}

void CView::SetHoverLook(const tarn::P<CGraphicElement>& element) {
    bool changed = false;
    for (const auto& hovered : m_hovered) {
        if (hovered.Get() == element.Get() || !hovered->HasFlag(CGraphicBase::kFlagHovered)) {
            continue;
        }
        hovered->SetFlag(CGraphicBase::kFlagHovered, false);
        changed = true;
    }
    m_hovered.clear();
    if (element) {
        if (!element->HasFlag(CGraphicBase::kFlagHovered)) {
            element->SetFlag(CGraphicBase::kFlagHovered, true);
            changed = true;
        }
        m_hovered.push_back(element);
    }
    if (changed) RequestRepaint();
}

void CView::OnMotion(wxMouseEvent& event) {
    const wxPoint position = event.GetPosition();
    const CDPoint documentPoint = ToDocument(position);
    TrackHover(HitAt(position), documentPoint, &event);
    m_lastMouse = CDPoint{static_cast<double>(position.x), static_cast<double>(position.y)};
    event.Skip();
}

void CView::OnLeaveWindow(wxMouseEvent& event) {
    bool changed = false;
    for (const auto& element : m_hovered) {
        if (element->HasFlag(CGraphicBase::kFlagHovered)) {
            element->SetFlag(CGraphicBase::kFlagHovered, false);
            changed = true;
        }
    }
    changed = changed || !m_hovered.empty();
    m_hovered.clear();
    m_lastMouse.reset();
    SetCursor(wxNullCursor);
    if (changed) RequestRepaint();
    event.Skip();
}

void CView::UpdateCursor(const tarn::P<CGraphicElement>& hit) {
    if (!hit || hit->GetCursorId() < 0) {
        SetCursor(wxNullCursor);
        return;
    }
    const wxCursor& cursor = GetSkinManager()->GetCursor(hit->GetCursorId());
    SetCursor(cursor.IsOk() ? cursor : wxNullCursor);
}

void CView::OnButtonDown(wxMouseEvent& event) {
    if (m_mouseListener != nullptr && m_mouseListener->OnMouse(event)) return;
    if (!m_document) {
        event.Skip();
        return;
    }
    const tarn::P<CGraphicElement> hit = HitAt(event.GetPosition());
    OnElementMouseDown(event, hit);
    event.Skip();
}

void CView::OnButtonUp(wxMouseEvent& event) {
    if (!m_document) {
        event.Skip();
        return;
    }
    const tarn::P<CGraphicElement> hit = HitAt(event.GetPosition());
    OnElementMouseUp(event, hit);
    event.Skip();
}

void CView::OnLeftDoubleClick(wxMouseEvent& event) {
    if (!m_document) return;
    const tarn::P<CGraphicElement> hit = HitAt(event.GetPosition());
    OnElementDoubleClick(event, hit);
}

}  // namespace graphics::components
