#include "graphics/components/ViewControl.h"

#include <wx/tooltip.h>

#include <algorithm>

#include "graphics/GraphicElementTextReplacer.h"
#include "tarn/ScopeExit.h"
#include "tarn/Text.h"

namespace graphics::components {

wxBEGIN_EVENT_TABLE(CViewControl, CView)
    EVT_MOUSE_CAPTURE_LOST(CViewControl::OnCaptureLost)
    EVT_LEAVE_WINDOW(CViewControl::OnLeaveWindow)
wxEND_EVENT_TABLE()

namespace {

CGraphicStateButton* AsButton(const tarn::P<CGraphicElement>& element) {
    return dynamic_cast<CGraphicStateButton*>(element.Get());
}

}  // namespace

CViewControl::CViewControl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                           const wxSize& size, long style)
    : CView(parent, id, pos, size, style | wxWANTS_CHARS) {
    SetToolTip(wxString());
}

CViewControl::~CViewControl() {
    if (HasCapture()) ReleaseMouse();
}

void CViewControl::SetDocument(const tarn::P<CGraphicDocument>& document) {
    // A focus given during the fade to this document stays; any other goes.
    const bool keepFocus = m_focus && InDocument(m_focus, document);
    if (!keepFocus) ClearFocus();
    CView::SetDocument(document);
    SetToolTip(wxString());
    RefreshHintTexts({});
    if (keepFocus && m_focusShown) ApplyFocusLook();
}

void CViewControl::ChangeDocument(const tarn::P<CGraphicDocument>& document,
                                  const tarn::P<CTransitionController>& controller) {
    ClearFocus();
    CView::ChangeDocument(document, controller);
}

void CViewControl::InitPaintContext(CPaintMatrixDC& dc) {
    CView::InitPaintContext(dc);
    dc.SetPaintMode(CPaintMatrixDC::kModeInteractive);
}

bool CViewControl::ShowPressed(const tarn::P<CGraphicElement>& element) {
    if (AsButton(element) == nullptr) return false;
    element->SetFlag(CGraphicBase::kFlagPressed, true);
    m_pressed.push_back(element);
    RequestRepaint();
    return true;
}

void CViewControl::OnElementMouseDown(wxMouseEvent&, const tarn::P<CGraphicElement>& hit) {
    if (!ShowPressed(hit)) return;
    if (!HasCapture()) CaptureMouse();
}

void CViewControl::OnElementMouseUp(wxMouseEvent&, const tarn::P<CGraphicElement>& hit) {
    const bool clicked =
        hit && std::any_of(m_pressed.begin(), m_pressed.end(),
                           [&](const auto& element) { return element.Get() == hit.Get(); });
    ClearPressed();
    // The capture goes after the click, also when the click handler throws.
    const auto release = tarn::MakeScopeExit([this] {
        if (HasCapture()) ReleaseMouse();
    });
    if (clicked && m_clickHandler != nullptr) {
        // The handler may change the page: keep the button alive while it runs.
        const tarn::P<CGraphicElement> keep = hit;
        m_clickHandler->OnClick(*AsButton(keep));
    }
}

void CViewControl::ClearPressed() {
    for (const auto& element : m_pressed) element->SetFlag(CGraphicBase::kFlagPressed, false);
    m_pressed.clear();
    RequestRepaint();
}

void CViewControl::OnCaptureLost(wxMouseCaptureLostEvent&) {
    ClearPressed();
    if (HasCapture()) ReleaseMouse();
}

void CViewControl::OnHoverChanged(wxMouseEvent* event, const tarn::P<CGraphicElement>& hit) {
    if (event != nullptr) {
        const std::optional<CDPoint>& last = GetLastMouse();
        const wxPoint now = event->GetPosition();
        const bool moved = !last || last->x != now.x || last->y != now.y;
        if (moved) {
            // The pointer is in use: it takes the focus onto a button, and the look is its.
            if (hit && CFocusOrder::TakesFocus(*hit)) m_focus = hit;
            if (m_focusShown) {
                m_focusShown = false;
                RequestRepaint();
            }
        } else if (IsFocusShown()) {
            // A motion report without a move leaves the keyboard's look alone.
            ApplyFocusLook();
            return;
        }
    }
    ShowHint(hit);
}

void CViewControl::ShowHint(const tarn::P<CGraphicElement>& hit) {
    const CGraphicStateButton* button = AsButton(hit);
    const std::wstring hint = button != nullptr ? button->GetHint() : std::wstring();
    if (wxString(hint).IsSameAs(GetToolTipText(), false)) return;
    wxToolTip::Enable(false);
    SetToolTip(hint);
    wxToolTip::SetDelay(kTooltipDelay);
    if (!hint.empty()) wxToolTip::Enable(true);
    RefreshHintTexts(hint);
}

void CViewControl::RefreshHintTexts(const std::wstring& hint) {
    const tarn::P<CGraphicDocument> document = GetDocument();
    if (!document) return;
    const auto replacer = tarn::New<CGraphicElementTextReplacer>();
    replacer->AddReplacement(L"*", hint.empty() ? std::wstring(L"...") : hint);
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        const tarn::P<CGraphicElement> element = document->GetAt(i);
        if (element->GetTags().count(L"hint") == 0) continue;
        replacer->Apply(*element);
        RequestRepaint();
    }
}

}  // namespace graphics::components
