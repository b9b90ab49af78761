// Where the document lies in the window: the view rectangle and margins, the view matrix for
// the zoom and placement modes, zoom commands and keys, scrollbars and rulers.

#include "graphics/components/View.h"

#include <wx/artprov.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cmath>

#include "tarn/StringLocalizer.h"

namespace graphics::components {

CDRect CView::GetViewRect(bool inner) const {
    if (m_fixedViewRect.width != 0 && m_fixedViewRect.height != 0) return m_fixedViewRect;
    // In fit mode the page is laid out in the canvas as a window of its size shows it.
    const wxSize size = m_fitCanvas.x > 0 && m_fitCanvas.y > 0 ? m_fitCanvas : GetClientSize();
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
    if (m_zoomMode == EZoomMode::Fit && m_zoomFactor > 0) {
        const CDPoint centre{document.x + document.width / 2, document.y + document.height / 2};
        document = CDRect::FromCenter(
            centre, {document.width / m_zoomFactor, document.height / m_zoomFactor});
    }
    double scale = 1.0;
    if (m_zoomMode == EZoomMode::Fit) {
        if (document.width > 0 && document.height > 0) {
            scale =
                std::min((view.width - 2) / document.width, (view.height - 2) / document.height);
        }
    } else if (m_zoomMode == EZoomMode::Fixed) {
        scale = m_zoomFactor;
    }
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    m_scale = scale;

    double offsetX = 0;
    double offsetY = 0;
    switch (m_placementMode) {
        case EPlacementMode::Centre:
            offsetX = view.x + view.width / 2 - document.width * scale / 2;
            offsetY = view.y + view.height / 2 - document.height * scale / 2;
            break;
        case EPlacementMode::TopLeft:
            offsetX = view.x;
            offsetY = view.y;
            break;
        case EPlacementMode::TopRight:
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
    m_layoutMatrix = matrix;

    // Then the canvas into the window (fit mode), and the page into device pixels.
    const double fit = FitScale();
    const wxRect area = GetPageArea();
    wxAffineMatrix2D window;
    window.Translate(area.x, area.y);
    window.Scale(fit, fit);
    window.Concat(matrix);
    m_viewMatrix = window;
    m_scale = scale * fit;
    const double device = GetDeviceScale();
    wxAffineMatrix2D page;
    page.Scale(fit * device, fit * device);
    page.Concat(matrix);
    m_pageMatrix = page;
}

void CView::SetFitCanvas(const wxSize& canvas, const wxColour& surround) {
    m_fitCanvas = canvas.x > 0 && canvas.y > 0 ? canvas : wxSize();
    m_surround = surround;
    if (m_document) UpdateViewMatrix();
    Refresh(false);
}

double CView::FitScale() const {
    if (m_fitCanvas.x <= 0 || m_fitCanvas.y <= 0) return 1.0;
    const wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0) return 1.0;
    const double scale = std::min(static_cast<double>(client.x) / m_fitCanvas.x,
                                  static_cast<double>(client.y) / m_fitCanvas.y);
    return scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

wxRect CView::GetPageArea() const {
    const wxSize client = GetClientSize();
    if (m_fitCanvas.x <= 0 || m_fitCanvas.y <= 0) return wxRect(client);
    const double scale = FitScale();
    const int width = std::max(1, static_cast<int>(std::lround(m_fitCanvas.x * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(m_fitCanvas.y * scale)));
    return wxRect((client.x - width) / 2, (client.y - height) / 2, width, height);
}

void CView::SetDeviceScale(double scale) {
    m_deviceScale = scale > 0 && std::isfinite(scale) ? scale : 0;
    if (m_document) UpdateViewMatrix();
    Refresh(false);
}

double CView::GetDeviceScale() const {
    if (m_deviceScale > 0) return m_deviceScale;
    const double scale = GetContentScaleFactor();
    return scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

wxPoint2DDouble CView::ToPagePixels(wxPoint point) const {
    const wxRect area = GetPageArea();
    const double device = GetDeviceScale();
    return {(point.x - area.x) * device, (point.y - area.y) * device};
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
        const int position =
            static_cast<int>(std::clamp(-start, 0.0, std::max(0.0, extent - page)));
        bar->SetScrollbar(position, static_cast<int>(page), range, static_cast<int>(page));
    };
    if (m_horizontal->IsShown())
        setRange(m_horizontal, content.x - view.x, content.width, view.width);
    if (m_vertical->IsShown())
        setRange(m_vertical, content.y - view.y, content.height, view.height);
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
        if (m_zoomMode == EZoomMode::Fixed) SetDocumentArea(area);
    }
    CNotifyEvent notify(GetId());
    m_scrollHub->Fire(notify);
}

void CView::SetKeepFullArea(bool keep) {
    m_keepFullArea = keep;
    RequestRepaint();
}

void CView::SetZoomMode(EZoomMode mode) {
    m_zoomMode = mode;
    RequestRepaint();
}

void CView::SetPlacementMode(EPlacementMode mode) {
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

void CView::SetRulers(bool show, const std::optional<wxFont>& font) {
    m_rulers = show;
    m_rulerFont = font;
    RequestRepaint();
}

void CView::AppendZoomItems(wxToolBar& toolbar) {
    if (m_zoomMode == EZoomMode::Fixed) return;
    const auto add = [&](int id, const wxArtID& art, const wxString& accelerator) {
        toolbar.AddTool(id, GetCommandLabel(id, accelerator),
                        wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(16, 16)));
    };
    add(kIdZoomAll, wxART_FULL_SCREEN, "F8");
    add(kIdZoomIn, wxART_PLUS, "Ctrl+U");
    add(kIdZoomOut, wxART_MINUS, "Ctrl+J");
}

void CView::AppendZoomMenuItems(wxMenu& menu) {
    if (m_zoomMode == EZoomMode::Fixed) return;
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
    if (m_zoomMode == EZoomMode::Fixed) return;
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
        const wxPoint2DDouble landed =
            m_viewMatrix.TransformPoint(wxPoint2DDouble(anchor.x, anchor.y));
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

void CView::OnMiddleDoubleClick(wxMouseEvent& event) {
    if (m_zoomMode != EZoomMode::Fixed) ZoomAll();
    event.Skip();
}

void CView::OnAnyMouse(wxMouseEvent& event) {
    if (event.GetEventType() == wxEVT_MOUSEWHEEL && event.ControlDown() &&
        m_zoomMode != EZoomMode::Fixed) {
        if (event.GetWheelRotation() <= 0) {
            ZoomIn(event.GetPosition());
        } else {
            ZoomOut(event.GetPosition());
        }
        return;
    }
    event.Skip();
}

int CView::RulerBand() const {
    if (!m_rulerFont) return 21;
    wxClientDC dc(const_cast<CView*>(this));
    dc.SetFont(*m_rulerFont);
    return dc.GetCharHeight() + 5;
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
            const wxPoint2DDouble at = m_viewMatrix.TransformPoint(
                wxPoint2DDouble(horizontal ? unit : 0, horizontal ? 0 : unit));
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

}  // namespace graphics::components
