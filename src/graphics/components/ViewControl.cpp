#include "graphics/components/ViewControl.h"

#include <wx/tooltip.h>

#include <algorithm>

#include "graphics/GraphicElementTextReplacer.h"
#include "tarn/Text.h"

namespace graphics::components {

wxBEGIN_EVENT_TABLE(CViewControl, CView)
    EVT_MOUSE_CAPTURE_LOST(CViewControl::OnCaptureLost)
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
    CView::SetDocument(document);
    SetToolTip(wxString());
    RefreshHintTexts({});
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
    struct CReleaseCapture {
        wxWindow& window;
        ~CReleaseCapture() {
            if (window.HasCapture()) window.ReleaseMouse();
        }
    } release{*this};
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

void CViewControl::OnHoverChanged(wxMouseEvent*, const tarn::P<CGraphicElement>& hit) {
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
