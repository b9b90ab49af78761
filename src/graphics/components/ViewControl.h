#pragma once
// The interactive view of the menu: buttons look pressed while held, report a click when
// released over the same button, and their hints show as a tooltip and in "hint" texts.

#include <vector>

#include "graphics/GraphicStateButton.h"
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

private:
    void ClearPressed();
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    IClickHandler* m_clickHandler = nullptr;
    tarn::P<tarn::IBase> m_extra;
    std::vector<tarn::P<CGraphicElement>> m_pressed;

    wxDECLARE_EVENT_TABLE();
};

}  // namespace graphics::components
