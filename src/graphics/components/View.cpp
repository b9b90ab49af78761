#include "graphics/components/View.h"

#include <wx/artprov.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cmath>

#include "graphics/GraphicStateButton.h"
#include "graphics/skin/SkinManager.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace graphics::components {

wxIMPLEMENT_DYNAMIC_CLASS(CView, wxWindow);

wxBEGIN_EVENT_TABLE(CView, wxWindow)
    EVT_PAINT(CView::OnPaint)
    EVT_TIMER(CView::kIdTransitionTimer, CView::OnTransitionTimer)
    EVT_TIMER(CView::kIdRefreshTimer, CView::OnRefreshTimer)
    EVT_TIMER(CView::kIdBlinkTimer, CView::OnBlinkTimer)
    EVT_MOTION(CView::OnMotion)
    EVT_LEFT_DOWN(CView::OnButtonDown)
    EVT_RIGHT_DOWN(CView::OnButtonDown)
    EVT_LEFT_UP(CView::OnButtonUp)
    EVT_RIGHT_UP(CView::OnButtonUp)
    EVT_LEFT_DCLICK(CView::OnLeftDoubleClick)
    EVT_MIDDLE_DCLICK(CView::OnMiddleDoubleClick)
    EVT_LEAVE_WINDOW(CView::OnLeaveWindow)
    EVT_ERASE_BACKGROUND(CView::OnEraseBackground)
    EVT_COMMAND_SCROLL(CView::kIdHorizontalScrollbar, CView::OnScroll)
    EVT_COMMAND_SCROLL(CView::kIdVerticalScrollbar, CView::OnScroll)
    EVT_SIZE(CView::OnSize)
    EVT_MOUSE_EVENTS(CView::OnAnyMouse)
    EVT_MENU(CView::kIdZoomIn, CView::OnZoomIn)
    EVT_MENU(CView::kIdZoomAll, CView::OnZoomAll)
    EVT_MENU(CView::kIdZoomOut, CView::OnZoomOut)
wxEND_EVENT_TABLE()

namespace {

bool Differs(const CDRect& a, const CDRect& b) {
    return std::abs(a.x - b.x) > 0.001 || std::abs(a.y - b.y) > 0.001 ||
           std::abs(a.width - b.width) > 0.001 || std::abs(a.height - b.height) > 0.001;
}

bool ContainsElement(const std::vector<tarn::P<CGraphicElement>>& list, const CGraphicElement* e) {
    return std::any_of(list.begin(), list.end(), [&](const auto& item) { return item.Get() == e; });
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

CView::CView() { Init(); }

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
    m_horizontal = new wxScrollBar(this, kIdHorizontalScrollbar, wxDefaultPosition,
                                   wxDefaultSize, wxSB_HORIZONTAL);
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

// ---- Document and transitions ----

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
    bool finished = false;
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
            finished = true;
            arrived = m_pendingDocument;
        }
    }
    if (finished) {
        // An empty page fades in like any other: the swap ends the transition either way.
        const CDRect area = m_documentArea;
        SetDocument(arrived);
        if (area.width > 0.001) SetDocumentArea(area);
    }
    RequestRepaint();
}

void CView::StartTransition(const wxSize& size) {
    tarn::P<CTransitionController> controller;
    tarn::P<CGraphicDocument> pending;
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        controller = m_transition;
        pending = m_pendingDocument;
    }
    auto oldPicture = std::make_unique<wxBitmap>(size.x, size.y, 32);
    auto newPicture = std::make_unique<wxBitmap>(size.x, size.y, 32);
    {
        wxMemoryDC dc(*oldPicture);
        PaintDocumentPicture(dc, size, m_document);
    }
    {
        wxMemoryDC dc(*newPicture);
        PaintDocumentPicture(dc, size, pending);
    }
    m_transitionArea = wxRect(size);
    wxCriticalSectionLocker lock(m_transitionLock);
    controller->Begin(std::move(oldPicture), std::move(newPicture));
    controller->Step();
    m_transitionTimer.Start(controller->GetInterval(), wxTIMER_CONTINUOUS);
    // The first step's frame is shown too, not only the old page.
    RequestRepaint();
}

void CView::PaintDocumentPicture(wxDC& dc, const wxSize& size,
                                 const tarn::P<CGraphicDocument>& document) {
    DrawBackground(dc, size.x, size.y);
    CPaintMatrixDC context(dc, m_viewMatrix);
    InitPaintContext(context);
    if (document) {
        PaintWithoutTransition(context, document);
        return;
    }
    // Fading to no page: what stays without a document.
    PaintOverlaysBelow(context);
    PaintOverlaysAbove(context);
    CallPainter(context);
}

// ---- Painting ----

wxSize CView::PaintSize() const {
    const wxSize size = GetClientSize();
    return wxSize(std::max(size.x, 1), std::max(size.y, 1));
}

wxBitmap CView::RenderBitmap() {
    const wxSize size = PaintSize();
    wxBitmap target(size.x, size.y);
    {
        wxMemoryDC dc(target);
        Paint(dc);
    }
    return target;
}

void CView::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    Paint(dc);
}

void CView::Paint(wxDC& target) {
    const wxSize size = PaintSize();
    wxBitmap buffer(size.x, size.y);
    wxMemoryDC dc(buffer);
    CPaintMatrixDC context(dc, m_viewMatrix);
    InitPaintContext(context);
    DrawBackground(dc, size.x, size.y);
    if (m_document) {
        UpdateViewMatrix();
        context.SetTransform(m_viewMatrix);
        InitPaintContext(context);
        const CDRect before = m_visibleArea;
        PaintDocumentArea(context);
        const CDRect viewRect = GetViewRect(true);
        wxAffineMatrix2D inverse = m_viewMatrix;
        if (inverse.Invert()) m_visibleArea = MapRect(inverse, viewRect);
        if (Differs(before, m_visibleArea)) UpdateScrollRanges();
    }
    PaintExtra(dc);
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
    dc.SelectObject(wxNullBitmap);
    target.DrawBitmap(buffer, 0, 0, false);

    const std::uint32_t delay = context.GetRedrawDelay();
    if (delay >= 1) {
        if (!m_refreshTimer.IsRunning() || m_refreshTimer.GetInterval() != static_cast<int>(delay)) {
            m_refreshTimer.Start(static_cast<int>(delay), wxTIMER_CONTINUOUS);
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
    bool needsStart = false;
    {
        wxCriticalSectionLocker lock(m_transitionLock);
        if (m_transition && m_transition->IsStarted()) {
            m_transition->Paint(dc.GetDC());
            return;
        }
        needsStart = static_cast<bool>(m_transition);
    }
    PaintWithoutTransition(dc, m_document);
    if (needsStart) StartTransition(PaintSize());
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
    const wxSize size = GetClientSize();
    dc.SetClientRect(wxRect(size));
    dc.SetViewMatrix(m_viewMatrix);
    dc.SetZoomMode(m_zoomMode);
    // Texts are laid out at the pixel scale the view shows them at.
    dc.SetUnitMode(CPaintMatrixDC::kUnitZoom);
    dc.SetZoom(m_scale);
}

// ---- Layout of the document ----

CDRect CView::GetViewRect(bool inner) const {
    if (m_fixedViewRect.width != 0 && m_fixedViewRect.height != 0) return m_fixedViewRect;
    const wxSize size = GetClientSize();
    CDRect rect{0, 0, static_cast<double>(size.x), static_cast<double>(size.y)};
    if (m_vertical != nullptr && m_vertical->IsShown()) rect.width -= m_vertical->GetSize().x;
    if (m_horizontal != nullptr && m_horizontal->IsShown()) {
        rect.height -= m_horizontal->GetSize().y;
    }
    if (inner) {
        rect.x += m_margins[0];
        rect.y += m_margins[1];
        rect.width -= m_margins[0] + m_margins[2];
        rect.height -= m_margins[1] + m_margins[3];
    }
    return rect;
}

CDRect CView::GetClientArea() const {
    if (m_fixedViewRect.width != 0 && m_fixedViewRect.height != 0) return m_fixedViewRect;
    const wxSize size = GetClientSize();
    CDRect rect{0, 0, static_cast<double>(size.x), static_cast<double>(size.y)};
    if (!HasFlag(wxBORDER_NONE)) {
        rect = {1, 1, rect.width - 2, rect.height - 2};
    }
    if (m_rulers) {
        const int band = RulerBand();
        rect.x += band;
        rect.y += band;
        rect.width -= band;
        rect.height -= band;
    }
    return rect;
}

void CView::UpdateViewMatrix() {
    CDRect view = GetViewRect(true);
    if (!m_keepFullArea) {
        if (m_showHint && !m_hint.empty()) view.height -= kHintBand;
        if (!m_message.empty() && m_messagePlacement == 1) {
            const int band = MessageHeight() + 2;
            view.y += band;
            view.height -= band;
        }
    }
    CDRect document = m_documentArea;
    if (document.width <= 0.001) document = m_document ? m_document->GetContentBox() : CDRect{};
    if (m_zoomMode == 0 && m_zoomFactor > 0) {
        const CDPoint centre{document.x + document.width / 2, document.y + document.height / 2};
        document = CDRect::FromCenter(
            centre, {document.width / m_zoomFactor, document.height / m_zoomFactor});
    }
    double scale = 1.0;
    if (m_zoomMode == 0) {
        if (document.width > 0 && document.height > 0) {
            scale = std::min((view.width - 2) / document.width, (view.height - 2) / document.height);
        }
    } else if (m_zoomMode == 1) {
        scale = m_zoomFactor;
    }
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    m_scale = scale;

    double offsetX = 0;
    double offsetY = 0;
    switch (m_placementMode) {
        case 0:
            offsetX = view.x + view.width / 2 - document.width * scale / 2;
            offsetY = view.y + view.height / 2 - document.height * scale / 2;
            break;
        case 1:
        case 2:
            offsetX = view.x;
            offsetY = view.y;
            break;
        case 3:
            offsetX = view.x + view.width - document.width * scale;
            offsetY = view.y;
            break;
        default:
            break;
    }
    wxAffineMatrix2D matrix;
    matrix.Translate(offsetX, offsetY);
    matrix.Scale(scale, scale);
    matrix.Translate(-document.x, -document.y);
    m_viewMatrix = matrix;
}

CDPoint CView::ToDocument(wxPoint point) const {
    wxAffineMatrix2D inverse = m_viewMatrix;
    if (!inverse.Invert()) return {static_cast<double>(point.x), static_cast<double>(point.y)};
    const wxPoint2DDouble mapped = inverse.TransformPoint(wxPoint2DDouble(point.x, point.y));
    return {mapped.m_x, mapped.m_y};
}

void CView::SetDocumentArea(const CDRect& area) {
    m_documentArea = area;
    RequestRepaint();
    UpdateViewMatrix();
    UpdateScrollbars();
}

// ---- Scrollbars ----

void CView::SetScrollbarMode(int mode) {
    m_scrollbarMode = mode;
    const bool vertical = mode == 2 || mode == 3;
    const bool horizontal = mode == 1 || mode == 3;
    m_vertical->Show(vertical);
    m_vertical->Enable(vertical);
    m_horizontal->Show(horizontal);
    m_horizontal->Enable(horizontal);
    LayoutScrollbars();
    UpdateScrollbars();
    RequestRepaint();
}

void CView::LayoutScrollbars() {
    if (m_vertical == nullptr) return;
    const wxSize size = GetClientSize();
    const int barWidth = m_vertical->GetBestSize().x;
    const int barHeight = m_horizontal->GetBestSize().y;
    const bool both = m_scrollbarMode == 3;
    if (m_scrollbarMode == 2 || both) {
        m_vertical->SetSize(size.x - barWidth, 0, barWidth, size.y - (both ? barHeight : 0));
    }
    if (m_scrollbarMode == 1 || both) {
        m_horizontal->SetSize(0, size.y - barHeight, size.x - (both ? barWidth : 0), barHeight);
    }
}

void CView::UpdateScrollbars() { UpdateScrollRanges(); }

void CView::UpdateScrollRanges() {
    if (!m_document || m_scrollbarMode == 0) return;
    // Ranges in window pixels: the whole document against what is visible of it.
    const CDRect content = MapRect(m_viewMatrix, m_document->GetContentBox());
    const CDRect view = GetViewRect(true);
    const auto setRange = [](wxScrollBar* bar, double start, double extent, double page) {
        const int range = static_cast<int>(std::ceil(std::max(extent, page)));
        const int position = static_cast<int>(std::clamp(-start, 0.0, std::max(0.0, extent - page)));
        bar->SetScrollbar(position, static_cast<int>(page), range, static_cast<int>(page));
    };
    if (m_horizontal->IsShown()) setRange(m_horizontal, content.x - view.x, content.width, view.width);
    if (m_vertical->IsShown()) setRange(m_vertical, content.y - view.y, content.height, view.height);
}

void CView::OnScroll(wxScrollEvent& event) {
    if (m_document) {
        // Scrolling moves the stored document area by the bar's position.
        const CDRect content = m_document->GetContentBox();
        const CDRect view = GetViewRect(true);
        CDRect area = m_documentArea.width > 0.001 ? m_documentArea : content;
        const double scale = m_scale > 0 ? m_scale : 1.0;
        if (event.GetId() == kIdHorizontalScrollbar) {
            area.x = content.x + event.GetPosition() / scale;
            area.width = view.width / scale;
        } else {
            area.y = content.y + event.GetPosition() / scale;
            area.height = view.height / scale;
        }
        if (m_zoomMode == 1) SetDocumentArea(area);
    }
    CNotifyEvent notify(GetId());
    m_scrollHub->Fire(notify);
}

void CView::OnSize(wxSizeEvent& event) {
    LayoutScrollbars();
    CNotifyEvent notify(GetId());
    m_sizeHub->Fire(notify);
    RequestRepaint();
    event.Skip();
}

// ---- Setters ----

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

void CView::SetKeepFullArea(bool keep) {
    m_keepFullArea = keep;
    RequestRepaint();
}

void CView::SetZoomMode(int mode) {
    m_zoomMode = mode;
    RequestRepaint();
}

void CView::SetPlacementMode(int mode) {
    m_placementMode = mode;
    UpdateViewMatrix();
    Refresh(true);
}

void CView::SetMargin(int index, int pixels) {
    if (index < 0 || index > 3) return;
    m_margins[index] = pixels;
    RequestRepaint();
}

int CView::GetMargin(int index) const { return (index < 0 || index > 3) ? 0 : m_margins[index]; }

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

void CView::SetRulers(bool show, const std::optional<wxFont>& font) {
    m_rulers = show;
    m_rulerFont = font;
    RequestRepaint();
}

void CView::SetHint(bool show, const wxString& hint) {
    m_showHint = show;
    m_hint = hint;
    RequestRepaint();
}

void CView::SetMessage(const wxString& message, const wxColour& colour, int placement) {
    m_message = message;
    m_messageColour = colour;
    m_messagePlacement = placement;
    RequestRepaint();
}

// ---- Zoom commands ----

void CView::AppendZoomItems(wxToolBar& toolbar) {
    if (m_zoomMode == 1) return;
    const auto add = [&](int id, const wxArtID& art, const wxString& accelerator) {
        toolbar.AddTool(id, GetCommandLabel(id, accelerator),
                        wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(16, 16)));
    };
    add(kIdZoomAll, wxART_FULL_SCREEN, "F8");
    add(kIdZoomIn, wxART_PLUS, "Ctrl+U");
    add(kIdZoomOut, wxART_MINUS, "Ctrl+J");
}

void CView::AppendZoomMenuItems(wxMenu& menu) {
    if (m_zoomMode == 1) return;
    const auto add = [&](int id, const wxArtID& art, const wxString& accelerator) {
        auto* item = new wxMenuItem(&menu, id, GetCommandLabel(id, accelerator));
        item->SetBitmap(wxArtProvider::GetBitmap(art, wxART_MENU, wxSize(16, 16)));
        menu.Append(item);
    };
    add(kIdZoomAll, wxART_FULL_SCREEN, "F8");
    add(kIdZoomIn, wxART_PLUS, "Ctrl+U");
    add(kIdZoomOut, wxART_MINUS, "Ctrl+J");
}

void CView::CollectAccelerators(std::vector<wxAcceleratorEntry>& entries) const {
    if (m_zoomMode == 1) return;
    entries.emplace_back(wxACCEL_NORMAL, WXK_F8, kIdZoomAll);
    entries.emplace_back(wxACCEL_CTRL, 'U', kIdZoomIn);
    entries.emplace_back(wxACCEL_CTRL, 'J', kIdZoomOut);
}

void CView::InstallAccelerators() {
    std::vector<wxAcceleratorEntry> entries;
    CollectAccelerators(entries);
    if (entries.size() > kMaxAccelerators) entries.resize(kMaxAccelerators);
    SetAcceleratorTable(entries.empty()
                            ? wxNullAcceleratorTable
                            : wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

wxString CView::GetCommandLabel(int command, const wxString& accelerator) const {
    std::wstring label;
    switch (command) {
        case kIdZoomIn:
            label = tarn::Localize(L"graphics.CView.ZoomPlus", L"Zoom In");
            break;
        case kIdZoomOut:
            label = tarn::Localize(L"graphics.CView.ZoomMinus", L"Zoom Out");
            break;
        case kIdZoomAll:
            label = tarn::Localize(L"graphics.CView.ZoomSelection", L"Zoom all Objects");
            break;
        default:
            return accelerator;
    }
    return wxString(label) + "\t" + accelerator;
}

void CView::Zoom(double factor, wxPoint reference) {
    const bool anchored = reference.x > 0 && reference.y > 0 && m_document;
    if (anchored) UpdateViewMatrix();
    const CDPoint anchor = anchored ? ToDocument(reference) : CDPoint{};
    m_zoomFactor = std::clamp(m_zoomFactor * factor, 0.5, 3.0);
    RequestRepaint();
    if (anchored) {
        // Lay out at the new factor, then move the area so that the document point under
        // the reference pixel is there again (moving the area by d moves points by -s d).
        if (m_documentArea.width <= 0.001) m_documentArea = m_document->GetContentBox();
        UpdateViewMatrix();
        const wxPoint2DDouble landed = m_viewMatrix.TransformPoint(wxPoint2DDouble(anchor.x, anchor.y));
        m_documentArea.x += (landed.m_x - reference.x) / m_scale;
        m_documentArea.y += (landed.m_y - reference.y) / m_scale;
    }
    UpdateViewMatrix();
    UpdateScrollbars();
}

void CView::ZoomIn(wxPoint reference) { Zoom(2.0, reference); }
void CView::ZoomOut(wxPoint reference) { Zoom(0.5, reference); }

void CView::ZoomAll() {
    m_zoomFactor = 1.0;
    Zoom(1.0, wxPoint(-1, -1));
    m_documentArea = {};
    UpdateViewMatrix();
}

void CView::OnZoomIn(wxCommandEvent&) { ZoomIn(); }
void CView::OnZoomAll(wxCommandEvent&) { ZoomAll(); }
void CView::OnZoomOut(wxCommandEvent&) { ZoomOut(); }

// ---- Mouse ----

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

void CView::OnMiddleDoubleClick(wxMouseEvent& event) {
    if (m_zoomMode != 1) ZoomAll();
    event.Skip();
}

void CView::OnEraseBackground(wxEraseEvent& event) { event.Skip(); }

void CView::OnAnyMouse(wxMouseEvent& event) {
    if (event.GetEventType() == wxEVT_MOUSEWHEEL && event.ControlDown() && m_zoomMode != 1) {
        if (event.GetWheelRotation() <= 0) {
            ZoomIn(event.GetPosition());
        } else {
            ZoomOut(event.GetPosition());
        }
        return;
    }
    event.Skip();
}

void CView::OnRefreshTimer(wxTimerEvent&) { RequestRepaint(); }

void CView::OnBlinkTimer(wxTimerEvent&) {
    m_blinkPhase = !m_blinkPhase;
    RequestRepaint();
}

// ---- Bands: rulers, hint and message ----

int CView::RulerBand() const {
    if (!m_rulerFont) return 21;
    wxClientDC dc(const_cast<CView*>(this));
    dc.SetFont(*m_rulerFont);
    return dc.GetCharHeight() + 5;
}

int CView::MessageHeight() const {
    wxClientDC dc(const_cast<CView*>(this));
    dc.SetFont(GetFont());
    return dc.GetTextExtent(m_message).y;
}

void CView::PaintRulers(wxDC& dc) {
    const wxSize size = GetClientSize();
    const int band = RulerBand();
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.DrawRectangle(0, 0, size.x, band);
    dc.DrawRectangle(0, 0, band, size.y);
    dc.SetFont(m_rulerFont ? *m_rulerFont : GetFont().Smaller());
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    // A tick every ten document units, a label every hundred.
    wxAffineMatrix2D inverse = m_viewMatrix;
    if (!inverse.Invert() || m_scale <= 0) return;
    const wxPoint2DDouble first = inverse.TransformPoint(wxPoint2DDouble(band, band));
    const wxPoint2DDouble last = inverse.TransformPoint(wxPoint2DDouble(size.x, size.y));
    const auto ticks = [&](bool horizontal) {
        const double from = horizontal ? first.m_x : first.m_y;
        const double to = horizontal ? last.m_x : last.m_y;
        for (double unit = std::floor(from / 10) * 10; unit <= to && to - from < 1e6; unit += 10) {
            const wxPoint2DDouble at =
                m_viewMatrix.TransformPoint(wxPoint2DDouble(horizontal ? unit : 0, horizontal ? 0 : unit));
            const int pixel = static_cast<int>(horizontal ? at.m_x : at.m_y);
            if (pixel < band) continue;
            const bool major = std::fmod(std::abs(unit), 100.0) < 0.5;
            const int length = major ? band / 2 : band / 4;
            if (horizontal) {
                dc.DrawLine(pixel, band - length, pixel, band);
                if (major) dc.DrawText(wxString::Format("%g", unit), pixel + 2, 1);
            } else {
                dc.DrawLine(band - length, pixel, band, pixel);
                if (major) dc.DrawText(wxString::Format("%g", unit), 1, pixel + 2);
            }
        }
    };
    ticks(true);
    ticks(false);
}

void CView::PaintMessage(wxDC& dc) {
    const CDRect view = GetViewRect(false);
    dc.SetFont(GetFont());
    dc.SetTextForeground(m_messageColour);
    dc.DrawText(m_message, static_cast<int>(view.x) + 2, static_cast<int>(view.y) + 1);
}

void CView::PaintHint(wxDC& dc) {
    const CDRect view = GetViewRect(false);
    const int top = static_cast<int>(view.y + view.height) - kHintBand;
    wxFont font = GetFont();
    dc.SetFont(font);
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    const int lineMiddle = top + kHintBand / 2;
    int x = static_cast<int>(view.x) + 4;
    const auto drawText = [&](const wxString& text) {
        if (text.empty()) return;
        const wxSize extent = dc.GetTextExtent(text);
        dc.DrawText(text, x, lineMiddle - extent.y / 2);
        x += extent.x;
    };
    const wxString& hint = m_hint;
    size_t pos = 0;
    while (pos < hint.size()) {
        const size_t img = hint.find("img[", pos);
        const size_t fnt = hint.find("font[", pos);
        const size_t next = std::min(img, fnt);
        if (next == wxString::npos) {
            drawText(hint.substr(pos));
            break;
        }
        const bool isImage = next == img;
        const size_t open = next + (isImage ? 4 : 5);
        const size_t close = hint.find(']', open);
        if (close == wxString::npos) {
            // An unclosed segment is plain text.
            drawText(hint.substr(pos));
            break;
        }
        drawText(hint.substr(pos, next - pos));
        const wxString value = hint.substr(open, close - open);
        if (isImage) {
            if (const wxBitmap* bitmap = GetSkinManager()->GetBitmap(value.ToStdWstring(), true);
                bitmap != nullptr && bitmap->IsOk()) {
                dc.DrawBitmap(*bitmap, x, lineMiddle - bitmap->GetHeight() / 2, true);
                x += bitmap->GetWidth();
            }
        } else if (value.IsSameAs("BOLD", false) || value.IsSameAs("LIGHT", false)) {
            font.SetWeight(wxFONTWEIGHT_BOLD);
            dc.SetFont(font);
        } else if (value.IsSameAs("NORMAL", false)) {
            font.SetWeight(wxFONTWEIGHT_NORMAL);
            dc.SetFont(font);
        }
        pos = close + 1;
    }
}

}  // namespace graphics::components
