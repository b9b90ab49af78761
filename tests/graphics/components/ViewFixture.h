#pragma once
// A shown frame holding a view control, with helpers to build pages of buttons and to move
// and press the real (synthesised) mouse over them.

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/uiaction.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicDocument.h"
#include "graphics/GraphicRectangle.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/GraphicText.h"
#include "graphics/components/ViewControl.h"

namespace testsupport {

// A rectangle that asks to be painted again after a set delay.
class CAnimatedRectangle : public graphics::CGraphicRectangle {
public:
    void Paint(graphics::CPaintMatrixDC& dc) override;
    std::uint32_t delay = 0;
    int paints = 0;
};

tarn::P<graphics::CGraphicStateButton> MakeButton(const std::wstring& name, double x, double y,
                                                  double width, double height,
                                                  const std::wstring& hint);
tarn::P<graphics::CGraphicText> MakeText(const std::wstring& text, double x, double y,
                                         double width, double height);
std::wstring PlainText(const graphics::CGraphicText& text);
tarn::P<graphics::CGraphicRectangle> MakeRectangle(double x, double y, double width,
                                                   double height, const wxColour& colour);

// Counts the releases that reach the element hook.
class CRecordingControl : public graphics::components::CViewControl {
public:
    using CViewControl::CViewControl;
    int releases = 0;
    int paints = 0;
    void Paint(wxDC& dc) override {
        ++paints;
        CViewControl::Paint(dc);
    }

protected:
    void OnElementMouseUp(wxMouseEvent& event, const tarn::P<graphics::CGraphicElement>& hit) override {
        ++releases;
        CViewControl::OnElementMouseUp(event, hit);
    }
};

class ViewFixture : public testing::Test,
                    public graphics::components::CViewControl::IClickHandler {
protected:
    void SetUp() override;
    void TearDown() override;

    void OnClick(graphics::CGraphicStateButton& button) override { clicks.push_back(button.GetName()); }

    // The control configured as the menu player configures it.
    CRecordingControl* MakeControl(wxWindow* parent);
    // Moves the pointer to the control's client point and lets the events arrive.
    void MoveTo(int x, int y);
    void Press(int button = wxMOUSE_BTN_LEFT);
    void Release(int button = wxMOUSE_BTN_LEFT);
    void Settle(std::chrono::milliseconds time = std::chrono::milliseconds(150));
    bool WaitFor(const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
    // What the control shows, read back from the screen.
    wxImage Capture();

    wxFrame* frame = nullptr;
    CRecordingControl* view = nullptr;
    std::unique_ptr<wxUIActionSimulator> mouse;
    std::vector<std::wstring> clicks;
};

}  // namespace testsupport
