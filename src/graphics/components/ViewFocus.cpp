// The keyboard focus of the interactive view: which button has it, moving it in reading order
// and by direction, pressing the focused button with a key, and the focus ring drawn over the
// page. The pointer and the keyboard share the focus: the pointer moving onto a button takes
// it there, and the look follows whichever was used last.

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>

#include "graphics/components/ViewControl.h"

namespace graphics::components {

namespace {

// The ring, in window pixels: its distance from the button, the bright band and the dark
// edges on both sides of it.
constexpr double kRingGap = 2;
constexpr double kRingBand = 3;
constexpr double kRingEdge = 1;
constexpr double kRingRadius = 5;
const wxColour kRingColour(255, 196, 0);
const wxColour kRingEdgeColour(0, 0, 0);

}  // namespace

bool CViewControl::InDocument(const tarn::P<CGraphicElement>& element,
                              const tarn::P<CGraphicDocument>& document) const {
    if (!element || !document) return false;
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        if (document->GetAt(i).Get() == element.Get()) return true;
    }
    return false;
}

tarn::P<CGraphicDocument> CViewControl::GetFocusDocument() const {
    if (const tarn::P<CGraphicDocument> pending = GetPendingDocument()) return pending;
    return GetDocument();
}

void CViewControl::SetFocused(const tarn::P<CGraphicElement>& element) {
    if (!element || !CFocusOrder::TakesFocus(*element) ||
        !InDocument(element, GetFocusDocument())) {
        ClearFocus();
        return;
    }
    if (m_keyPressed && m_keyPressed.Get() != element.Get()) {
        // Leaving a button held down by a key: it looks normal again, and will not click.
        m_keyPressed->SetFlag(CGraphicBase::kFlagPressed, false);
        m_pressed.erase(
            std::remove_if(m_pressed.begin(), m_pressed.end(),
                           [&](const auto& item) { return item.Get() == m_keyPressed.Get(); }),
            m_pressed.end());
        m_keyPressed = {};
    }
    m_focus = element;
    m_focusShown = true;
    ApplyFocusLook();
    RequestRepaint();
}

void CViewControl::ClearFocus() {
    if (m_keyPressed) {
        m_keyPressed->SetFlag(CGraphicBase::kFlagPressed, false);
        m_pressed.erase(
            std::remove_if(m_pressed.begin(), m_pressed.end(),
                           [&](const auto& item) { return item.Get() == m_keyPressed.Get(); }),
            m_pressed.end());
        m_keyPressed = {};
    }
    if (!m_focus) return;
    if (m_focusShown) {
        // The look the keyboard gave goes with the focus.
        SetHoverLook({});
        ShowHint({});
        RequestRepaint();
    }
    m_focus = {};
    m_focusShown = false;
}

bool CViewControl::MoveFocus(bool backward) {
    const tarn::P<CGraphicDocument> document = GetFocusDocument();
    if (!document) return false;
    const tarn::P<CGraphicElement> next = CFocusOrder::Next(*document, m_focus, backward);
    if (!next) return false;
    SetFocused(next);
    return true;
}

bool CViewControl::MoveFocus(EFocusDirection direction) {
    const tarn::P<CGraphicDocument> document = GetFocusDocument();
    if (!document) return false;
    const tarn::P<CGraphicElement> next = CFocusOrder::Nearest(*document, m_focus, direction);
    if (!next) {
        // Nothing that way: the focus stays, and shows where it is.
        if (m_focus && !m_focusShown) SetFocused(m_focus);
        return false;
    }
    SetFocused(next);
    return true;
}

bool CViewControl::PressFocused() {
    if (m_keyHeld) return false;
    if (!m_focus || !InDocument(m_focus, GetFocusDocument())) return false;
    if (!m_focusShown) SetFocused(m_focus);
    m_keyHeld = true;
    m_keyPressed = m_focus;
    ShowPressed(m_focus);
    return true;
}

bool CViewControl::ReleaseFocused() {
    if (!m_keyHeld) return false;
    m_keyHeld = false;
    const tarn::P<CGraphicElement> pressed = m_keyPressed;
    m_keyPressed = {};
    if (!pressed) return true;
    const bool clicked =
        pressed.Get() == m_focus.Get() && pressed->HasFlag(CGraphicBase::kFlagPressed);
    pressed->SetFlag(CGraphicBase::kFlagPressed, false);
    m_pressed.erase(std::remove_if(m_pressed.begin(), m_pressed.end(),
                                   [&](const auto& item) { return item.Get() == pressed.Get(); }),
                    m_pressed.end());
    RequestRepaint();
    if (clicked && m_clickHandler != nullptr) {
        // The handler may change the page: the button stays alive while it runs.
        m_clickHandler->OnClick(*dynamic_cast<CGraphicStateButton*>(pressed.Get()));
    }
    return true;
}

void CViewControl::ApplyFocusLook() {
    if (!m_focus) return;
    SetHoverLook(m_focus);
    ShowHint(m_focus);
}

void CViewControl::OnLeaveWindow(wxMouseEvent& event) {
    CView::OnLeaveWindow(event);
    // The pointer leaving takes its own hover look away, not the keyboard's.
    if (IsFocusShown()) ApplyFocusLook();
    event.Skip(false);
}

wxRect CViewControl::GetFocusRingRect() const {
    if (!IsFocusShown()) return {};
    std::vector<CDPoint> corners;
    for (const CDPoint& point : m_focus->GetOutline()) {
        corners.push_back(MapPoint(GetPageMatrix(), point));
    }
    const CDRect box = BoundsOf(corners);
    return wxRect(static_cast<int>(std::floor(box.x)), static_cast<int>(std::floor(box.y)),
                  static_cast<int>(std::ceil(box.x + box.width) - std::floor(box.x)),
                  static_cast<int>(std::ceil(box.y + box.height) - std::floor(box.y)));
}

void CViewControl::PaintPageOverlay(wxDC& dc) {
    const wxRect button = GetFocusRingRect();
    if (button.IsEmpty()) return;
    auto* memory = dynamic_cast<wxMemoryDC*>(&dc);
    std::unique_ptr<wxGraphicsContext> context(
        memory != nullptr ? wxGraphicsContext::Create(*memory) : nullptr);
    if (!context) return;
    context->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    // The ring grows with the page's pixels (full screen, high-density screens).
    const double unit = std::max(1.0, GetPixelScale());
    const double middle = (kRingGap + kRingEdge + kRingBand / 2) * unit;
    const double x = button.x - middle, y = button.y - middle;
    const double width = button.width + 2 * middle, height = button.height + 2 * middle;
    const double radius = kRingRadius * unit;
    context->SetBrush(*wxTRANSPARENT_BRUSH);
    context->SetPen(context->CreatePen(
        wxGraphicsPenInfo(kRingEdgeColour).Width((kRingBand + 2 * kRingEdge) * unit)));
    context->DrawRoundedRectangle(x, y, width, height, radius);
    context->SetPen(context->CreatePen(wxGraphicsPenInfo(kRingColour).Width(kRingBand * unit)));
    context->DrawRoundedRectangle(x, y, width, height, radius);
}

}  // namespace graphics::components
