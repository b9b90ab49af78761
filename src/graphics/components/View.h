#pragma once
// A child window that shows one graphic document: double-buffered, scaled and placed by a
// view matrix, with hover tracking, page transitions and hooks for interactive subclasses.

#include <wx/accel.h>
#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/font.h>
#include <wx/menu.h>
#include <wx/scrolbar.h>
#include <wx/thread.h>
#include <wx/window.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElement.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/components/EventHub.h"
#include "graphics/components/PlacementMode.h"
#include "graphics/components/Timer.h"
#include "graphics/components/TransitionController.h"
#include "tarn/Pointer.h"
#include "tarn/win32/WindowFader.h"

class wxToolBar;

namespace graphics::components {

class IView {
public:
    virtual ~IView() = default;
    virtual tarn::P<CGraphicDocument> GetDocument() const = 0;
    // Shows the document at once, without a transition.
    virtual void SetDocument(const tarn::P<CGraphicDocument>& document) = 0;
    // Where the document is laid out, in window pixels; inner leaves out the margins.
    virtual CDRect GetViewRect(bool inner) const = 0;
    virtual CDRect GetClientArea() const = 0;
    virtual wxWindow* GetWindow() = 0;
};

// Draws on top of the page after it is painted.
class IPainter : public virtual tarn::IBase {
public:
    virtual void Paint(IView& view, CPaintMatrixDC& dc) = 0;
};

// One overlay: painted below (priority 0 or less) or above the document.
struct CLayerRecord {
    int priority = 0;
    tarn::P<CGraphicElement> element;
    tarn::P<CGraphicDocument> document;
    tarn::P<tarn::IBase> owner;
    tarn::P<tarn::IBase> extra;
    tarn::P<IPainter> painter;
    bool visible = true;
    // Painted only while the blink phase is on.
    bool blinking = false;
    // Keeps the element out of the painted area.
    bool notPaintedArea = false;
    // Paints only these elements of the document.
    std::optional<std::vector<tarn::P<CGraphicElement>>> subset;
};

class CView : public wxWindow, public IView {
public:
    // Sees every mouse button press first; true consumes it.
    class IMouseListener {
    public:
        virtual ~IMouseListener() = default;
        virtual bool OnMouse(wxMouseEvent& event) = 0;
    };

    static constexpr int kIdZoomIn = 6099;
    static constexpr int kIdZoomOut = 6100;
    static constexpr int kIdZoomAll = 6101;
    static constexpr int kIdBlinkTimer = 6102;
    static constexpr int kIdTransitionTimer = 6103;
    static constexpr int kIdRefreshTimer = 6104;
    static constexpr int kIdHorizontalScrollbar = 6105;
    static constexpr int kIdVerticalScrollbar = 6106;
    static constexpr int kBlinkInterval = 500;
    static constexpr int kHintBand = 22;
    // The elements the mouse handlers look for: bit 0 (every element) and bit 4.
    static constexpr std::uint32_t kHitFlags = 0x11;
    static constexpr std::size_t kMaxAccelerators = 100;

    CView();
    CView(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
          const wxSize& size = wxDefaultSize, long style = 0, const wxString& name = "CView");
    ~CView() override;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0, const wxString& name = "CView");

    // IView
    tarn::P<CGraphicDocument> GetDocument() const override { return m_document; }
    void SetDocument(const tarn::P<CGraphicDocument>& document) override;
    CDRect GetViewRect(bool inner) const override;
    CDRect GetClientArea() const override;
    wxWindow* GetWindow() override { return this; }

    // Switches pages through the controller's transition (at once when nothing is shown).
    virtual void ChangeDocument(const tarn::P<CGraphicDocument>& document,
                                const tarn::P<CTransitionController>& controller);
    virtual void SetOverlayOwner(const tarn::P<tarn::IBase>& owner);
    virtual void ClearOverlays();
    virtual void Clear();
    virtual CDRect GetVisibleArea() const { return m_visibleArea; }
    virtual void SetFixedViewRect(const CDRect& rect) { m_fixedViewRect = rect; }
    virtual bool GetKeepFullArea() const { return m_keepFullArea; }
    virtual void SetKeepFullArea(bool keep);
    // The whole pipeline into dc: background, document, hint, rulers, message, border.
    virtual void Paint(wxDC& dc);
    virtual void AppendZoomItems(wxToolBar& toolbar);
    virtual void AppendZoomMenuItems(wxMenu& menu);
    virtual void CollectAccelerators(std::vector<wxAcceleratorEntry>& entries) const;
    virtual wxString GetCommandLabel(int command, const wxString& accelerator) const;
    // The top-most element under the window point (x, y) with one of the flag bits.
    virtual bool HitTest(CPaintMatrixDC& dc, double x, double y, tarn::P<CGraphicElement>& hit,
                         std::uint32_t flags);

    void AddOverlay(const CLayerRecord& record);
    std::size_t GetOverlayCount() const { return m_overlays.size(); }

    // Renders what the window shows into a bitmap of the client size in device pixels (the
    // client size times the device scale).
    wxBitmap RenderBitmap();
    // Paints a document that is not shown into a picture that is thrown away, so that its
    // pictures are scaled and its texts laid out for the current scale before it is shown.
    void PreparePicture(const tarn::P<CGraphicDocument>& document);

    // Fit mode (full screen): the canvas, a window-sized area (the menu's client size), is laid
    // out as a window of that size shows it, then scaled to fit the view whole, keeping its
    // aspect ratio, and centred; the rest of the view shows the surround colour. Texts are laid
    // out and pictures scaled at the scaled size. An empty canvas switches fit mode off.
    void SetFitCanvas(const wxSize& canvas, const wxColour& surround = *wxBLACK);
    const wxSize& GetFitCanvas() const { return m_fitCanvas; }
    // Device pixels per window pixel: the desktop's scale factor (GDK_SCALE), unless a scale
    // above 0 is set (lumtool render --scale).
    void SetDeviceScale(double scale);
    double GetDeviceScale() const;
    // Where the page lies in the window, in window pixels: the client area, or in fit mode
    // the scaled canvas.
    wxRect GetPageArea() const;
    // Document units to the device pixels of the page as painted (the page area's top-left
    // corner at 0, 0).
    const wxAffineMatrix2D& GetPageMatrix() const { return m_pageMatrix; }
    // Device pixels of the page per window pixel of the canvas: fit scale times device scale.
    double GetPixelScale() const { return FitScale() * GetDeviceScale(); }
    // A window point in the page's device pixels.
    wxPoint2DDouble ToPagePixels(wxPoint point) const;

    // Setters used by the owner.
    void SetZoomMode(EZoomMode mode);
    EZoomMode GetZoomMode() const { return m_zoomMode; }
    double GetZoomFactor() const { return m_zoomFactor; }
    void SetPlacementMode(EPlacementMode mode);
    EPlacementMode GetPlacementMode() const { return m_placementMode; }
    void SetMargin(int index, int pixels);
    int GetMargin(int index) const;
    void SetBackgroundStyle(const wxColour& first, const wxColour& second, bool enabled, int kind);
    // The style of a fresh view, switched off.
    void SetDefaultBackgroundStyle();
    bool IsBackgroundStyleEnabled() const { return m_background.enabled; }
    void SetPainter(const tarn::P<IPainter>& painter) { m_painter = painter; }
    tarn::P<IPainter> GetPainter() const { return m_painter; }
    void SetMouseListener(IMouseListener* listener) { m_mouseListener = listener; }
    // Installs the accelerators CollectAccelerators offers.
    void InstallAccelerators();
    void SetScrollbarMode(int mode);
    void SetRulers(bool show, const std::optional<wxFont>& font = std::nullopt);
    void SetHint(bool show, const wxString& hint);
    void SetMessage(const wxString& message, const wxColour& colour = *wxBLACK, int placement = 0);
    void SetDocumentArea(const CDRect& area);
    void ZoomIn(wxPoint reference = wxPoint(-1, -1));
    void ZoomOut(wxPoint reference = wxPoint(-1, -1));
    void ZoomAll();

    bool GetBlinkPhase() const { return m_blinkPhase; }
    const wxTimer& GetRefreshTimer() const { return m_refreshTimer; }
    const wxTimer& GetTransitionTimer() const { return m_transitionTimer; }
    bool IsTransitionRunning() const;
    tarn::P<CGraphicDocument> GetPendingDocument() const;
    const std::vector<tarn::P<CGraphicElement>>& GetHovered() const { return m_hovered; }
    const wxAffineMatrix2D& GetViewMatrix() const { return m_viewMatrix; }
    CCustomEventHub<CNotifyEvent>& GetSizeHub() { return *m_sizeHub; }
    CCustomEventHub<CNotifyEvent>& GetScrollHub() { return *m_scrollHub; }
    // Sets the hover state of hit (none clears it) as a mouse motion over it would.
    void TrackHover(const tarn::P<CGraphicElement>& hit, CDPoint documentPoint,
                    wxMouseEvent* event = nullptr);

protected:
    virtual bool DrawBackground(wxDC& dc, int width, int height);
    virtual void PaintDocumentArea(CPaintMatrixDC& dc);
    virtual void PaintDocument(CPaintMatrixDC& dc, const tarn::P<CGraphicDocument>& document);
    virtual void PaintOverlaysAbove(CPaintMatrixDC& dc);
    virtual void PaintOverlaysBelow(CPaintMatrixDC& dc);
    virtual void PaintRulers(wxDC& dc);
    virtual void CallPainter(CPaintMatrixDC& dc);
    virtual void PaintMessage(wxDC& dc);
    virtual void PaintHint(wxDC& dc);
    virtual void PaintLayer(CPaintMatrixDC& dc, const CLayerRecord& record);
    // What an interactive view draws over the painted page, in the page's device pixels
    // (the focus ring): never part of the page itself, of its buffer or of a fade's pictures.
    virtual bool HasPageOverlay() const { return false; }
    virtual void PaintPageOverlay(wxDC&) {}

    // Hooks for interactive subclasses; hit may be empty.
    virtual void OnElementMouseDown(wxMouseEvent&, const tarn::P<CGraphicElement>&) {}
    virtual void OnElementDoubleClick(wxMouseEvent&, const tarn::P<CGraphicElement>&) {}
    virtual void OnElementEnter(wxMouseEvent&, const tarn::P<CGraphicElement>&) {}
    virtual void OnMouseEnterElement(wxMouseEvent*, const tarn::P<CGraphicElement>&) {}
    virtual void OnHoverChanged(wxMouseEvent*, const tarn::P<CGraphicElement>&) {}
    virtual void OnElementMouseUp(wxMouseEvent&, const tarn::P<CGraphicElement>&) {}

    virtual void UpdateCursor(const tarn::P<CGraphicElement>& hit);
    virtual void InitPaintContext(CPaintMatrixDC& dc);
    virtual void UpdateViewMatrix();
    virtual void UpdateScrollbars();
    virtual void UpdateScrollRanges();

    // Only element shows the hover look (none: no element), as if the pointer were over it;
    // no hook is called and the cursor stays.
    void SetHoverLook(const tarn::P<CGraphicElement>& element);
    void OnLeaveWindow(wxMouseEvent& event);

    // Window pixels to document units.
    CDPoint ToDocument(wxPoint point) const;
    // The window point of the last mouse motion, if the pointer is over the window.
    const std::optional<CDPoint>& GetLastMouse() const { return m_lastMouse; }
    // The painted look of the element changed: repaint without erasing.
    void RequestRepaint() { Refresh(false); }

public:
    // Every repaint request paints the page anew, except the one the end of a fade makes.
    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override;

protected:
private:
    struct CBackgroundStyle {
        wxColour first{218, 235, 253};
        wxColour second{173, 206, 237};
        bool enabled = true;
        int kind = 0;
    };

    void Init();
    // Returns the redraw delay the page's elements ask for.
    std::uint32_t PaintDocumentPicture(wxDC& dc, const wxSize& size,
                                       const tarn::P<CGraphicDocument>& document);
    // The document area the window shows, from the view matrix.
    void UpdateVisibleArea();
    void PaintWithoutTransition(CPaintMatrixDC& dc, const tarn::P<CGraphicDocument>& document);
    // Background and document area (or the fade's frame) into the page buffer.
    void PaintPage(const wxSize& size);
    // What is drawn over the page in window pixels: hint, rulers, message, border.
    void PaintBands(wxDC& dc, const wxSize& size);
    void UpdateRefreshTimer();
    // Paints both pages into pictures once and begins the fade, when one waits.
    void StartPendingTransition(const wxSize& size);
    // The finished fade's picture of the new page becomes the page buffer, when it was painted
    // as the new page will be painted.
    void AdoptArrivedPicture(const tarn::P<CTransitionController>& finished);
    void StopTransition();
    void Zoom(double factor, wxPoint reference);
    void LayoutScrollbars();
    int RulerBand() const;
    int MessageHeight() const;
    // The page buffer's size: the page area in device pixels.
    wxSize PaintSize() const;
    // The scale from the canvas to the window in fit mode, else 1.
    double FitScale() const;
    // The shown picture (page buffer, with the page overlay) into the target, the surround
    // around it, then the bands.
    void ComposeInto(wxDC& target, const wxBitmap& page);
    // The surround around the page area, in target units.
    void PaintSurround(wxDC& target, double units);
    // A step of a uniform fade straight into the target, blended by the display; false when
    // this target or fade cannot be painted so (the page buffer then holds the step).
    bool PaintFadeStep(wxDC& target);
    // The same step drawn straight on the window, outside a paint: the toolkit paces paints
    // to its frame clock and gives each a fresh buffer, which at full screen costs more than
    // the blend itself. False when the window cannot be drawn on so; then a paint shows it.
    bool PaintFadeStepOnWindow();
    // A uniform fade's step that the display can blend: its pictures and where they go.
    struct SFadeFrame {
        std::uint8_t alpha = 0;
        const wxBitmap* from = nullptr;
        const wxBitmap* to = nullptr;
        wxRect area;
        bool last = false;  // the fade's final step
    };
    std::optional<SFadeFrame> UniformFadeFrame(double targetScale);
    std::optional<SFadeFrame> FadeFrameOf(const CTransitionController& transition,
                                          double targetScale) const;
    bool DrawFadeFrame(wxDC& window, const SFadeFrame& frame);
    // The swap's frame at once, from the display's copy of the new page: the paint that
    // follows adds what the page asks for (its hover look, the focus ring, the bands).
    void ShowArrivedPictureOnWindow(const CTransitionController& finished);
    static double ContentScale(const wxDC& dc);
    // The display's room for the next fade at this size, made while nothing else happens.
    void PrepareFade();
    // Something is painted over the page: the hint, rulers, a message, a border or the
    // scrollbars' corner.
    bool HasBands() const;

    void OnPaint(wxPaintEvent& event);
    void OnTransitionTimer(wxTimerEvent& event);
    void OnRefreshTimer(wxTimerEvent& event);
    void OnBlinkTimer(wxTimerEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnButtonDown(wxMouseEvent& event);
    void OnButtonUp(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnMiddleDoubleClick(wxMouseEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnAnyMouse(wxMouseEvent& event);
    void OnZoomIn(wxCommandEvent& event);
    void OnZoomAll(wxCommandEvent& event);
    void OnZoomOut(wxCommandEvent& event);
    // Hit test at a window point with a fresh paint context; empty without a document.
    tarn::P<CGraphicElement> HitAt(wxPoint point);

    tarn::P<CGraphicDocument> m_document;
    tarn::P<CGraphicDocument> m_pendingDocument;
    tarn::P<CTransitionController> m_transition;
    mutable wxCriticalSection m_transitionLock;
    wxAffineMatrix2D m_transitionMatrix;  // the view matrix the fade's pictures were painted at
    tarn::win32::CWindowFader m_fader;
    static constexpr std::chrono::microseconds kScreenRefresh{16667};
    std::chrono::steady_clock::time_point m_lastFadeStepShown;
    // The page as last painted (without the bands): kept, so that a fade starts from it and a
    // finished fade ends in its picture of the new page, without painting a page again.
    wxBitmap m_pageBuffer;
    bool m_pageBufferShowsDocument = false;  // the shown document, not a fade's frame
    // The buffer is the picture a fade ended in, unchanged: the display holds a copy of it.
    bool m_pageBufferOnDisplay = false;
    bool m_pageBufferReady = false;           // the next paint may show it as it is
    std::uint32_t m_redrawDelay = 0;          // asked for by the elements at the last page paint
    std::uint32_t m_arrivingRedrawDelay = 0;  // asked for by the new page's picture
    tarn::P<IPainter> m_painter;
    IMouseListener* m_mouseListener = nullptr;
    tarn::P<tarn::IBase> m_overlayOwner;
    CBackgroundStyle m_background;
    wxBitmap m_checkerboard;
    int m_margins[4] = {4, 4, 4, 4};
    EZoomMode m_zoomMode = EZoomMode::Fit;
    double m_zoomFactor = 1.0;
    EPlacementMode m_placementMode = EPlacementMode::Centre;
    int m_scrollbarMode = 0;
    wxScrollBar* m_vertical = nullptr;
    wxScrollBar* m_horizontal = nullptr;
    CDRect m_fixedViewRect;
    wxAffineMatrix2D m_viewMatrix;    // document units to window pixels
    wxAffineMatrix2D m_layoutMatrix;  // the same within the canvas (fit mode) or the client
    wxAffineMatrix2D m_pageMatrix;    // document units to the page buffer's device pixels
    double m_scale = 1.0;             // window pixels per document unit
    wxSize m_fitCanvas;
    wxColour m_surround = *wxBLACK;
    double m_deviceScale = 0;  // 0: the window's own
    CDRect m_visibleArea;
    CDRect m_documentArea;
    std::vector<tarn::P<CGraphicElement>> m_hovered;
    std::vector<CLayerRecord> m_overlays;
    std::optional<CDPoint> m_lastMouse;
    bool m_rulers = false;
    std::optional<wxFont> m_rulerFont;
    bool m_showHint = false;
    wxString m_hint;
    wxString m_message;
    wxColour m_messageColour = *wxBLACK;
    int m_messagePlacement = 0;
    bool m_keepFullArea = true;
    bool m_blinkPhase = true;
    CTimer m_blinkTimer{this, kIdBlinkTimer};
    CTimer m_refreshTimer{this, kIdRefreshTimer};
    CTimer m_transitionTimer{this, kIdTransitionTimer};
    tarn::P<CCustomEventHub<CNotifyEvent>> m_sizeHub;
    tarn::P<CCustomEventHub<CNotifyEvent>> m_scrollHub;

    wxDECLARE_DYNAMIC_CLASS(CView);
    wxDECLARE_EVENT_TABLE();
};

}  // namespace graphics::components
