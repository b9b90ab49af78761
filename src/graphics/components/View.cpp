// The view's life: construction, the event table, the shown and the pending document with the
// page transition between them, overlays and the background style. Painting, the pointer,
// zoom and the text bands have files of their own.

#include "graphics/components/View.h"

#include <wx/dcmemory.h>

#include <memory>

namespace graphics::components {

wxIMPLEMENT_DYNAMIC_CLASS(CView, wxWindow);

wxBEGIN_EVENT_TABLE(CView, wxWindow) EVT_PAINT(CView::OnPaint) EVT_TIMER(CView::kIdTransitionTimer,
                                                                         CView::OnTransitionTimer)
    EVT_TIMER(CView::kIdRefreshTimer, CView::OnRefreshTimer) EVT_TIMER(CView::kIdBlinkTimer,
                                                                       CView::OnBlinkTimer)
        EVT_MOTION(CView::OnMotion) EVT_LEFT_DOWN(CView::OnButtonDown)
            EVT_RIGHT_DOWN(CView::OnButtonDown) EVT_LEFT_UP(CView::OnButtonUp)
                EVT_RIGHT_UP(CView::OnButtonUp) EVT_LEFT_DCLICK(CView::OnLeftDoubleClick)
                    EVT_MIDDLE_DCLICK(CView::OnMiddleDoubleClick)
                        EVT_LEAVE_WINDOW(CView::OnLeaveWindow)
                            EVT_ERASE_BACKGROUND(CView::OnEraseBackground)
                                EVT_COMMAND_SCROLL(CView::kIdHorizontalScrollbar, CView::OnScroll)
                                    EVT_COMMAND_SCROLL(CView::kIdVerticalScrollbar, CView::OnScroll)
                                        EVT_SIZE(CView::OnSize) EVT_MOUSE_EVENTS(CView::OnAnyMouse)
                                            EVT_MENU(CView::kIdZoomIn, CView::OnZoomIn)
                                                EVT_MENU(CView::kIdZoomAll, CView::OnZoomAll)
                                                    EVT_MENU(CView::kIdZoomOut, CView::OnZoomOut)
                                                        wxEND_EVENT_TABLE()

                                                            CView::CView() {
    Init();
}

CView::CView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style,
             const wxString& name) {
    Init();
    Create(parent, id, pos, size, style, name);
}

void CView::Init() {
    m_sizeHub = tarn::New<CCustomEventHub<CNotifyEvent>>();
    m_scrollHub = tarn::New<CCustomEventHub<CNotifyEvent>>();
}

bool CView::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                   long style, const wxString& name) {
    if (!wxWindow::Create(parent, id, pos, size, style | wxTAB_TRAVERSAL | wxWANTS_CHARS, name)) {
        return false;
    }
    // Every pixel is painted from the back buffer; the toolkit need not clear first.
    wxWindow::SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_vertical = new wxScrollBar(this, kIdVerticalScrollbar, wxDefaultPosition, wxDefaultSize,
                                 wxSB_VERTICAL);
    m_horizontal = new wxScrollBar(this, kIdHorizontalScrollbar, wxDefaultPosition, wxDefaultSize,
                                   wxSB_HORIZONTAL);
    for (wxScrollBar* bar : {m_vertical, m_horizontal}) {
        bar->Hide();
        bar->Disable();
    }
    LayoutScrollbars();
    return true;
}

CView::~CView() {
    m_refreshTimer.Stop();
    m_blinkTimer.Stop();
    m_transitionTimer.Stop();
}

void CView::SetDocument(const tarn::P<CGraphicDocument>& document) {
    // A direct switch wins over a fade still running towards another page.
    StopTransition();
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        m_pendingDocument = {};
    }
    m_document = document;
    m_visibleArea = {};
    m_documentArea = {};
    RequestRepaint();
}

void CView::ChangeDocument(const tarn::P<CGraphicDocument>& document,
                           const tarn::P<CTransitionController>& controller) {
    if (!m_document || !controller) {
        SetDocument(document);
        return;
    }
    StopTransition();
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        m_pendingDocument = document;
        m_transition = controller;
    }
    RequestRepaint();
}

void CView::StopTransition() {
    wxCriticalSectionLocker lock(m_transitionLock);
    m_transitionTimer.Stop();
    m_transition = {};
}

bool CView::IsTransitionRunning() const {
    wxCriticalSectionLocker lock(m_transitionLock);
    return m_transition && m_transition->IsStarted();
}

tarn::P<CGraphicDocument> CView::GetPendingDocument() const {
    wxCriticalSectionLocker lock(m_transitionLock);
    return m_pendingDocument;
}

void CView::OnTransitionTimer(wxTimerEvent&) {
    tarn::P<CTransitionController> finished;
    tarn::P<CGraphicDocument> arrived;
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        if (!m_transition) {
            m_transitionTimer.Stop();
            return;
        }
        if (!m_transition->IsFinished()) {
            m_transition->Step();
        } else {
            finished = m_transition;
            arrived = m_pendingDocument;
        }
    }
    if (!finished) {
        if (!PaintFadeStepOnWindow()) RequestRepaint();
        return;
    }
    // An empty page fades in like any other: the swap ends the transition either way.
    const CDRect area = m_documentArea;
    SetDocument(arrived);
    if (area.width > 0.001) SetDocumentArea(area);
    AdoptArrivedPicture(finished);
}

void CView::AdoptArrivedPicture(const tarn::P<CTransitionController>& finished) {
    const wxBitmap* picture = finished->GetNewPicture();
    if (!m_document || picture == nullptr || !picture->IsOk() ||
        picture->GetSize() != PaintSize()) {
        return;
    }
    UpdateViewMatrix();
    if (!(m_pageMatrix == m_transitionMatrix)) return;
    m_pageBuffer = *picture;
    m_pageBufferOnDisplay = true;
    m_pageBufferShowsDocument = true;
    m_pageBufferReady = true;
    m_redrawDelay = m_arrivingRedrawDelay;
    UpdateVisibleArea();
    ShowArrivedPictureOnWindow(*finished);
    wxWindow::Refresh(false);
}

void CView::Refresh(bool eraseBackground, const wxRect* rect) {
    m_pageBufferReady = false;
    wxWindow::Refresh(eraseBackground, rect);
}

void CView::StartPendingTransition(const wxSize& size) {
    tarn::P<CTransitionController> controller;
    tarn::P<CGraphicDocument> pending;
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        if (!m_transition || m_transition->IsStarted()) return;
        controller = m_transition;
        pending = m_pendingDocument;
    }
    if (m_document) UpdateViewMatrix();
    m_transitionMatrix = m_pageMatrix;
    std::unique_ptr<wxBitmap> oldPicture;
    if (m_pageBufferShowsDocument && m_pageBuffer.IsOk() && m_pageBuffer.GetSize() == size) {
        // What the window shows now: the old page need not be painted again. The buffer itself
        // becomes the picture (no copy); the frames go into a fresh one.
        oldPicture = std::make_unique<wxBitmap>(m_pageBuffer);
        m_pageBuffer = wxBitmap(size.x, size.y);
        m_pageBufferShowsDocument = false;
        m_pageBufferOnDisplay = false;
    } else {
        oldPicture = std::make_unique<wxBitmap>(size.x, size.y, 32);
        wxMemoryDC dc(*oldPicture);
        PaintDocumentPicture(dc, size, m_document);
    }
    auto newPicture = std::make_unique<wxBitmap>(size.x, size.y, 32);
    {
        wxMemoryDC dc(*newPicture);
        m_arrivingRedrawDelay = PaintDocumentPicture(dc, size, pending);
    }
    m_fader.Reset();  // copies of an earlier fade's pictures are no use
    wxCriticalSectionLocker lock(m_transitionLock);
    controller->Begin(std::move(oldPicture), std::move(newPicture));
    // The first step's frame is what this paint shows.
    controller->Step();
    m_lastFadeStepShown = std::chrono::steady_clock::now();
    m_transitionTimer.Start(controller->GetInterval(), wxTIMER_CONTINUOUS);
}

void CView::OnSize(wxSizeEvent& event) {
    LayoutScrollbars();
    CNotifyEvent notify(GetId());
    m_sizeHub->Fire(notify);
    RequestRepaint();
    event.Skip();
}

void CView::SetOverlayOwner(const tarn::P<tarn::IBase>& owner) {
    m_overlayOwner = owner;
    RequestRepaint();
}

void CView::AddOverlay(const CLayerRecord& record) {
    m_overlays.push_back(record);
    if (record.blinking && !m_blinkTimer.IsRunning()) {
        m_blinkTimer.Start(kBlinkInterval, wxTIMER_CONTINUOUS);
    }
    RequestRepaint();
}

void CView::ClearOverlays() {
    m_overlays.clear();
    m_blinkTimer.Stop();
    m_blinkPhase = true;
    RequestRepaint();
}

void CView::Clear() {
    StopTransition();
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        m_pendingDocument = {};
    }
    m_document = {};
    m_overlayOwner = {};
    for (const auto& element : m_hovered) element->SetFlag(CGraphicBase::kFlagHovered, false);
    m_hovered.clear();
    ClearOverlays();
}

void CView::SetBackgroundStyle(const wxColour& first, const wxColour& second, bool enabled,
                               int kind) {
    m_background = {first, second, enabled, kind};
    m_checkerboard = wxNullBitmap;
    RequestRepaint();
}

void CView::SetDefaultBackgroundStyle() {
    const CBackgroundStyle fresh;
    SetBackgroundStyle(fresh.first, fresh.second, false, fresh.kind);
}

void CView::OnBlinkTimer(wxTimerEvent&) {
    m_blinkPhase = !m_blinkPhase;
    RequestRepaint();
}

}  // namespace graphics::components
