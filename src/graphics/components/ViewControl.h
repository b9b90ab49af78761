#pragma once
// The interactive view of the menu: buttons look pressed while held, report a click when
// released over the same button, and their hints show as a tooltip and in "hint" texts.

#include <vector>

#include "graphics/GraphicStateButton.h"
#include "graphics/components/FocusOrder.h"
#include "graphics/components/View.h"

namespace graphics::components {

class CViewControl : public CView {
public:
    class IClickHandler {
    public:
        virtual ~IClickHandler() = default;
        virtual void OnClick(CGraphicStateButton& button) = 0;
    };

    static constexpr int kTooltipDelay = 1000;

    CViewControl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxDefaultSize, long style = 0);
    ~CViewControl() override;

    void SetClickHandler(IClickHandler* handler) { m_clickHandler = handler; }
    void SetDocument(const tarn::P<CGraphicDocument>& document) override;
    // A page change takes the focus away (it goes to no button).
    void ChangeDocument(const tarn::P<CGraphicDocument>& document,
                        const tarn::P<CTransitionController>& controller) override;

    // ---- Keyboard focus (ViewFocus.cpp) ----
    // The focused button, or none. While the keyboard moves it, the focus is shown: a ring
    // around the button (drawn over the page, not part of it), and the button's hover look,
    // hint texts and tooltip. The pointer moving onto a button takes the focus there unshown;
    // the hover look then follows the pointer again.
    tarn::P<CGraphicElement> GetFocused() const { return m_focus; }
    bool IsFocusShown() const { return m_focus && m_focusShown; }
    // Focuses the element (a button that takes the focus; anything else clears the focus) and
    // shows it, as the keyboard does.
    void SetFocused(const tarn::P<CGraphicElement>& element);
    void ClearFocus();
    // Tab (forward) and Shift+Tab (backward) in reading order; false when nothing takes it.
    bool MoveFocus(bool backward);
    // The arrow keys: the nearest button that way; false when none lies that way.
    bool MoveFocus(EFocusDirection direction);
    // Enter or Space went down: the focused button shows its down look, as a press on it
    // does. False without a focused button (or when a key press is already held).
    bool PressFocused();
    // The key came up: the look returns and, when the pressed button still has the focus,
    // the click handler gets it, as a click does. False when no key press was held.
    bool ReleaseFocused();
    // The page the focus moves in: the one a running fade leads to, else the shown one.
    tarn::P<CGraphicDocument> GetFocusDocument() const;
    // The focus ring's rectangle in the page's device pixels (empty without a shown focus).
    wxRect GetFocusRingRect() const;

    // Shows the element pressed, as a press on it does (without taking the mouse).
    bool ShowPressed(const tarn::P<CGraphicElement>& element);
    const std::vector<tarn::P<CGraphicElement>>& GetPressed() const { return m_pressed; }
    // Writes the hint into every text tagged "hint" ("..." for none).
    void RefreshHintTexts(const std::wstring& hint);

protected:
    void InitPaintContext(CPaintMatrixDC& dc) override;
    void OnElementMouseDown(wxMouseEvent& event, const tarn::P<CGraphicElement>& hit) override;
    void OnHoverChanged(wxMouseEvent* event, const tarn::P<CGraphicElement>& hit) override;
    void OnElementMouseUp(wxMouseEvent& event, const tarn::P<CGraphicElement>& hit) override;
    bool HasPageOverlay() const override { return IsFocusShown(); }
    void PaintPageOverlay(wxDC& dc) override;

private:
    void ClearPressed();
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnLeaveWindow(wxMouseEvent& event);
    // The tooltip and the hint texts for the hint of element (none: empty).
    void ShowHint(const tarn::P<CGraphicElement>& element);
    // The focused button alone shows the hover look; hint and tooltip follow it.
    void ApplyFocusLook();
    bool InDocument(const tarn::P<CGraphicElement>& element,
                    const tarn::P<CGraphicDocument>& document) const;

    IClickHandler* m_clickHandler = nullptr;
    std::vector<tarn::P<CGraphicElement>> m_pressed;
    tarn::P<CGraphicElement> m_focus;
    bool m_focusShown = false;
    // The button a held Enter or Space shows pressed.
    tarn::P<CGraphicElement> m_keyPressed;
    bool m_keyHeld = false;

    wxDECLARE_EVENT_TABLE();
};

}  // namespace graphics::components
