// The view's paint pipeline: the page buffer (background, overlays below, the document or the
// fade's frame, overlays above, the owner's painter), shown in the window, then the bands on
// top. A paint that meets a pending transition paints the new page into a picture, takes the
// old one from the page buffer, and starts the fade; each frame then only blends the two. On
// an X display the later steps, and the swap's frame, are drawn on the window at once rather
// than through paints.

#include "graphics/components/View.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace graphics::components {

namespace {

bool Differs(const CDRect& a, const CDRect& b) {
    return std::abs(a.x - b.x) > 0.001 || std::abs(a.y - b.y) > 0.001 ||
           std::abs(a.width - b.width) > 0.001 || std::abs(a.height - b.height) > 0.001;
}

wxBitmap Checkerboard(const wxSize& size, const wxColour& first, const wxColour& second) {
    wxBitmap bitmap(std::max(size.x, 1), std::max(size.y, 1));
    wxMemoryDC dc(bitmap);
    dc.SetPen(*wxTRANSPARENT_PEN);
    for (int y = 0; y < size.y; y += 8) {
        for (int x = 0; x < size.x; x += 8) {
            dc.SetBrush(wxBrush(((x / 8 + y / 8) % 2 == 0) ? first : second));
            dc.DrawRectangle(x, y, 8, 8);
        }
    }
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

}  // namespace

std::uint32_t CView::PaintDocumentPicture(wxDC& dc, const wxSize& size,
                                          const tarn::P<CGraphicDocument>& document) {
    DrawBackground(dc, size.x, size.y);
    CPaintMatrixDC context(dc, m_pageMatrix);
    InitPaintContext(context);
    if (document) {
        PaintWithoutTransition(context, document);
    } else {
        // Fading to no page: what stays without a document.
        PaintOverlaysBelow(context);
        PaintOverlaysAbove(context);
        CallPainter(context);
    }
    return context.GetRedrawDelay();
}

wxSize CView::PaintSize() const {
    const wxSize size = GetPageArea().GetSize();
    const double device = GetDeviceScale();
    return wxSize(std::max(static_cast<int>(std::lround(size.x * device)), 1),
                  std::max(static_cast<int>(std::lround(size.y * device)), 1));
}

wxBitmap CView::RenderBitmap() {
    const wxSize client = GetClientSize();
    const double device = GetDeviceScale();
    wxBitmap target(std::max(static_cast<int>(std::lround(client.x * device)), 1),
                    std::max(static_cast<int>(std::lround(client.y * device)), 1));
    {
        wxMemoryDC dc(target);
        Paint(dc);
    }
    return target;
}

void CView::PreparePicture(const tarn::P<CGraphicDocument>& document) {
    if (!document || document == m_document) return;
    PrepareFade();
    const wxSize size = PaintSize();
    wxBitmap picture(size.x, size.y);
    wxMemoryDC dc(picture);
    PaintDocumentPicture(dc, size, document);
}

void CView::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    Paint(dc);
}

void CView::Paint(wxDC& target) {
    if (m_document) UpdateViewMatrix();
    const wxSize size = PaintSize();
    // Before the page buffer is painted again: it still holds the old page.
    StartPendingTransition(size);
    if (PaintFadeStep(target)) {
        UpdateRefreshTimer();
        return;
    }
    if (!m_pageBufferReady || m_pageBuffer.GetSize() != size) PaintPage(size);
    m_pageBufferReady = false;
    if (HasPageOverlay()) {
        // Drawn over a copy: the buffer itself stays the page alone.
        wxBitmap shown = m_pageBuffer.GetSubBitmap(wxRect(m_pageBuffer.GetSize()));
        {
            wxMemoryDC dc(shown);
            PaintPageOverlay(dc);
        }
        ComposeInto(target, shown);
    } else {
        ComposeInto(target, m_pageBuffer);
    }
    UpdateRefreshTimer();
}

void CView::ComposeInto(wxDC& target, const wxBitmap& page) {
    // Target units per window pixel: 1 for the window itself (its device context scales by
    // the desktop's factor), the device scale for a plain bitmap (RenderBitmap).
    const double targetScale = ContentScale(target);
    const double units = GetDeviceScale() / targetScale;
    const wxSize client = GetClientSize();
    const wxRect area = GetPageArea();
    const auto at = [&](int value) { return static_cast<int>(std::lround(value * units)); };
    PaintSurround(target, units);
    if (targetScale == 1.0) {
        // The page a fade ended in is on the display already.
        const bool copied = &page == &m_pageBuffer && m_pageBufferOnDisplay &&
                            m_fader.PaintCopyOf(target, page, at(area.x), at(area.y));
        if (!copied) target.DrawBitmap(page, at(area.x), at(area.y), false);
    } else if (wxGraphicsContext* context = target.GetGraphicsContext()) {
        // One pixel of the page on one pixel of the screen: the context scales by the
        // desktop's factor, the size given here by its inverse.
        context->DrawBitmap(page, at(area.x), at(area.y), page.GetWidth() / targetScale,
                            page.GetHeight() / targetScale);
    } else {
        target.DrawBitmap(page, at(area.x), at(area.y), false);
    }
    if (units != 1.0) {
        double x = 1, y = 1;
        target.GetUserScale(&x, &y);
        target.SetUserScale(x * units, y * units);
        PaintBands(target, client);
        target.SetUserScale(x, y);
    } else {
        PaintBands(target, client);
    }
}

void CView::PaintSurround(wxDC& target, double units) {
    const wxSize client = GetClientSize();
    const wxRect area = GetPageArea();
    if (area == wxRect(client)) return;
    const auto at = [&](int value) { return static_cast<int>(std::lround(value * units)); };
    target.SetPen(*wxTRANSPARENT_PEN);
    target.SetBrush(wxBrush(m_surround));
    const int right = at(area.GetRight() + 1), bottom = at(area.GetBottom() + 1);
    target.DrawRectangle(0, 0, at(client.x), at(area.y));
    target.DrawRectangle(0, bottom, at(client.x), at(client.y) - bottom);
    target.DrawRectangle(0, at(area.y), at(area.x), bottom - at(area.y));
    target.DrawRectangle(right, at(area.y), at(client.x) - right, bottom - at(area.y));
}

std::optional<CView::SFadeFrame> CView::UniformFadeFrame(double targetScale) {
    tarn::P<CTransitionController> transition;
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        if (m_transition && m_transition->IsStarted()) transition = m_transition;
    }
    if (!transition) {
        m_fader.Reset(m_pageBufferOnDisplay);
        return std::nullopt;
    }
    return FadeFrameOf(*transition, targetScale);
}

std::optional<CView::SFadeFrame> CView::FadeFrameOf(const CTransitionController& transition,
                                                    double targetScale) const {
    // Only where a page pixel is a target pixel: the pictures are blended as they are.
    if (targetScale != 1.0 || GetDeviceScale() != 1.0 || HasPageOverlay()) return std::nullopt;
    const std::optional<std::uint8_t> alpha = transition.GetUniformAlpha();
    const wxBitmap* from = transition.GetOldPicture();
    const wxBitmap* to = transition.GetNewPicture();
    const wxRect area = GetPageArea();
    if (!alpha || !from || !to || from->GetSize() != area.GetSize() ||
        to->GetSize() != area.GetSize()) {
        return std::nullopt;
    }
    return SFadeFrame{*alpha, from, to, area, transition.IsFinished()};
}

bool CView::PaintFadeStep(wxDC& target) {
    const std::optional<SFadeFrame> frame = UniformFadeFrame(ContentScale(target));
    if (!frame) return false;
    PaintSurround(target, 1.0);
    if (!m_fader.Paint(target, *frame->from, *frame->to, frame->area.x, frame->area.y,
                       frame->alpha)) {
        return false;
    }
    PaintBands(target, GetClientSize());
    return true;
}

bool CView::PaintFadeStepOnWindow() {
    // The bands lie over the page; only a paint draws them.
    if (HasBands() || !IsShownOnScreen()) return false;
    wxClientDC window(this);
    const std::optional<SFadeFrame> frame = UniformFadeFrame(ContentScale(window));
    if (!frame) return false;
    // No screen shows steps faster than it refreshes: a step due sooner is left out (the
    // next one shows the fade's progress), and the display is never kept busy with them.
    const auto now = std::chrono::steady_clock::now();
    if (!frame->last && now - m_lastFadeStepShown < kScreenRefresh) return true;
    if (!DrawFadeFrame(window, *frame)) return false;
    m_lastFadeStepShown = std::chrono::steady_clock::now();
    return true;
}

void CView::ShowArrivedPictureOnWindow(const CTransitionController& finished) {
    if (HasBands() || !IsShownOnScreen()) return;
    wxClientDC window(this);
    std::optional<SFadeFrame> frame = FadeFrameOf(finished, ContentScale(window));
    if (!frame) return;
    frame->alpha = 255;  // the new page alone
    DrawFadeFrame(window, *frame);
}

bool CView::DrawFadeFrame(wxDC& window, const SFadeFrame& frame) {
    return m_fader.PaintOnWindow(window, *frame.from, *frame.to, frame.area.x, frame.area.y,
                                 frame.alpha);
}

double CView::ContentScale(const wxDC& dc) {
    return dc.GetContentScaleFactor() > 0 ? dc.GetContentScaleFactor() : 1.0;
}

void CView::PrepareFade() {
    if (!IsShownOnScreen() || GetDeviceScale() != 1.0) return;
    wxClientDC window(this);
    if (ContentScale(window) != 1.0) return;
    m_fader.Prepare(window, GetPageArea().GetSize());
}

bool CView::HasBands() const {
    return (m_showHint && !m_hint.empty()) || m_rulers || !m_message.empty() ||
           !HasFlag(wxBORDER_NONE) || (m_vertical->IsShown() && m_horizontal->IsShown());
}

void CView::PaintPage(const wxSize& size) {
    if (!m_pageBuffer.IsOk() || m_pageBuffer.GetSize() != size) {
        m_pageBuffer = wxBitmap(size.x, size.y);
    }
    m_pageBufferOnDisplay = false;
    wxMemoryDC dc(m_pageBuffer);
    CPaintMatrixDC context(dc, m_pageMatrix);
    InitPaintContext(context);
    DrawBackground(dc, size.x, size.y);
    m_pageBufferShowsDocument = false;
    if (m_document) {
        UpdateViewMatrix();
        context.SetTransform(m_pageMatrix);
        InitPaintContext(context);
        PaintDocumentArea(context);
        UpdateVisibleArea();
    }
    m_redrawDelay = context.GetRedrawDelay();
}

void CView::UpdateVisibleArea() {
    const CDRect before = m_visibleArea;
    wxAffineMatrix2D inverse = m_layoutMatrix;
    if (inverse.Invert()) m_visibleArea = MapRect(inverse, GetViewRect(true));
    if (Differs(before, m_visibleArea)) UpdateScrollRanges();
}

void CView::PaintBands(wxDC& dc, const wxSize& size) {
    if (m_showHint && !m_hint.empty()) PaintHint(dc);
    if (m_rulers) PaintRulers(dc);
    if (!m_message.empty()) PaintMessage(dc);
    if (!HasFlag(wxBORDER_NONE)) {
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTION)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(0, 0, size.x, size.y);
    }
    if (m_vertical->IsShown() && m_horizontal->IsShown()) {
        const wxRect v = m_vertical->GetRect();
        const wxRect h = m_horizontal->GetRect();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        dc.DrawRectangle(v.x, h.y, v.width, h.height);
    }
}

void CView::UpdateRefreshTimer() {
    if (m_redrawDelay >= 1) {
        if (!m_refreshTimer.IsRunning() ||
            m_refreshTimer.GetInterval() != static_cast<int>(m_redrawDelay)) {
            m_refreshTimer.Start(static_cast<int>(m_redrawDelay), wxTIMER_CONTINUOUS);
        }
    } else if (m_refreshTimer.IsRunning()) {
        m_refreshTimer.Stop();
    }
}

bool CView::DrawBackground(wxDC& dc, int width, int height) {
    const wxRect area(0, 0, width, height);
    if (!m_background.enabled) {
        // A plain fill: an outline pen would blend into the last column and row.
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
    } else if (m_background.kind == 1) {
        if (!m_checkerboard.IsOk() || m_checkerboard.GetSize() != area.GetSize()) {
            m_checkerboard = Checkerboard(area.GetSize(), m_background.first, m_background.second);
        }
        dc.DrawBitmap(m_checkerboard, 0, 0, false);
    } else {
        dc.GradientFillLinear(area, m_background.first, m_background.second, wxSOUTH);
    }
    return true;
}

void CView::PaintDocumentArea(CPaintMatrixDC& dc) {
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        if (m_transition && m_transition->IsStarted()) {
            // A frame of the fade, from the two pictures alone: no element paints.
            m_transition->Paint(dc.GetDC());
            return;
        }
    }
    PaintWithoutTransition(dc, m_document);
    m_pageBufferShowsDocument = true;
}

void CView::PaintWithoutTransition(CPaintMatrixDC& dc, const tarn::P<CGraphicDocument>& document) {
    PaintOverlaysBelow(dc);
    PaintDocument(dc, document);
    PaintOverlaysAbove(dc);
    CallPainter(dc);
}

void CView::PaintDocument(CPaintMatrixDC& dc, const tarn::P<CGraphicDocument>& document) {
    CLayerRecord record;
    record.document = document ? document : m_document;
    record.owner = m_overlayOwner;
    if (record.document) PaintLayer(dc, record);
}

void CView::PaintOverlaysAbove(CPaintMatrixDC& dc) {
    for (const CLayerRecord& record : m_overlays) {
        if (record.priority <= 0 || !record.visible) continue;
        if (record.blinking && !m_blinkPhase) continue;
        PaintLayer(dc, record);
    }
}

void CView::PaintOverlaysBelow(CPaintMatrixDC& dc) {
    for (const CLayerRecord& record : m_overlays) {
        if (record.priority > 0 || !record.visible) continue;
        if (record.blinking && !m_blinkPhase) continue;
        PaintLayer(dc, record);
    }
}

void CView::PaintLayer(CPaintMatrixDC& dc, const CLayerRecord& record) {
    if (record.painter) {
        record.painter->Paint(*this, dc);
    } else if (!record.subset) {
        if (record.element) {
            record.element->Paint(dc);
        } else if (record.document) {
            record.document->Paint(dc);
        }
    } else if (record.document) {
        for (const auto& element : *record.subset) {
            if (element && element->IsVisible()) element->Paint(dc);
        }
    }
    if (record.notPaintedArea) return;
    if (record.element) {
        dc.AddPaintedArea(record.element->GetBoundingRect());
    } else if (record.document && !record.document->IsEmpty()) {
        dc.AddPaintedArea(record.document->GetBoundingBox());
    }
}

void CView::CallPainter(CPaintMatrixDC& dc) {
    if (m_painter) m_painter->Paint(*this, dc);
}

void CView::InitPaintContext(CPaintMatrixDC& dc) {
    // The page as painted: its buffer, in device pixels.
    const double device = GetDeviceScale();
    dc.SetClientRect(wxRect(PaintSize()));
    dc.SetViewMatrix(m_pageMatrix);
    dc.SetZoomMode(m_zoomMode);
    dc.SetPixelScale(FitScale() * device);
    // Texts are laid out at the pixel scale the page is painted at.
    dc.SetUnitMode(CPaintMatrixDC::kUnitZoom);
    dc.SetZoom(m_scale * device);
}

void CView::OnEraseBackground(wxEraseEvent& event) { event.Skip(); }

void CView::OnRefreshTimer(wxTimerEvent&) { RequestRepaint(); }

}  // namespace graphics::components
