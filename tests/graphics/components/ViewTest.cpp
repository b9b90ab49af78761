// The view's painting, layout and zoom rules: redraw scheduling, the background without a
// document, the locked zoom of the menu player, the view matrix and the event hubs.

#include <wx/menu.h>

#include "ViewFixture.h"
#include "graphics/components/EventHub.h"

namespace {

using namespace graphics;
using namespace graphics::components;
using namespace testsupport;
using namespace std::chrono_literals;

class ViewTest : public ViewFixture {};

TEST_F(ViewTest, ARedrawRequestRunsTheRefreshTimerUntilNoneIsMade) {
    auto document = tarn::New<CGraphicDocument>();
    auto animated = tarn::New<CAnimatedRectangle>();
    animated->SetSize({50, 50});
    animated->SetCenter({100, 100});
    animated->SetBrush(*wxGREEN_BRUSH);
    animated->delay = 40;
    document->Add(animated);
    view->SetDocument(document);
    ASSERT_TRUE(WaitFor([&] { return view->GetRefreshTimer().IsRunning(); }));
    EXPECT_EQ(view->GetRefreshTimer().GetInterval(), 40);
    const int paints = animated->paints;
    Settle(600ms);
    // About fifteen ticks; a loaded machine may deliver fewer.
    EXPECT_GE(animated->paints - paints, 4);

    animated->delay = 0;
    ASSERT_TRUE(WaitFor([&] { return !view->GetRefreshTimer().IsRunning(); }));
    const int settled = animated->paints;
    Settle(300ms);
    EXPECT_LE(animated->paints - settled, 1);
}

TEST_F(ViewTest, WithoutADocumentOnlyTheBackgroundIsPainted) {
    auto document = tarn::New<CGraphicDocument>();
    auto animated = tarn::New<CAnimatedRectangle>();
    animated->SetSize({400, 300});
    animated->SetCenter({200, 150});
    animated->SetBrush(*wxRED_BRUSH);
    animated->delay = 40;
    document->Add(animated);
    view->SetDocument(document);
    ASSERT_TRUE(WaitFor([&] { return view->GetRefreshTimer().IsRunning(); }));

    view->SetDocument({});
    ASSERT_TRUE(WaitFor([&] { return !view->GetRefreshTimer().IsRunning(); }));
    const wxImage picture = view->RenderBitmap().ConvertToImage();
    const wxColour face = view->GetBackgroundColour();
    for (int y = 0; y < picture.GetHeight(); y += 7) {
        for (int x = 0; x < picture.GetWidth(); x += 7) {
            const wxColour seen(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y));
            ASSERT_EQ(seen.GetRGB(), face.GetRGB())
                << x << "," << y << " " << seen.GetAsString(wxC2S_HTML_SYNTAX) << " "
                << face.GetAsString(wxC2S_HTML_SYNTAX);
        }
    }
}

TEST_F(ViewTest, TheWindowShowsExactlyWhatRenderBitmapPaints) {
    auto document = tarn::New<CGraphicDocument>();
    document->Add(MakeRectangle(10, 10, 120, 60, wxColour(30, 90, 160)));
    document->Add(MakeButton(L"Go", 150, 20, 120, 40, L"hint"));
    document->Add(MakeText(L"Welcome to the menu", 20, 120, 300, 60));
    document->SetContentBox({0, 0, 400, 300});
    view->SetDocument(document);
    Settle();
    const wxImage rendered = view->RenderBitmap().ConvertToImage();
    const wxImage shown = Capture();
    ASSERT_EQ(rendered.GetSize(), shown.GetSize());
    int differing = 0;
    for (int y = 0; y < shown.GetHeight(); ++y) {
        for (int x = 0; x < shown.GetWidth(); ++x) {
            if (rendered.GetRed(x, y) != shown.GetRed(x, y) ||
                rendered.GetGreen(x, y) != shown.GetGreen(x, y) ||
                rendered.GetBlue(x, y) != shown.GetBlue(x, y)) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(differing, 0);
    // And the page really is there, not just the background twice.
    EXPECT_EQ(wxColour(shown.GetRed(50, 40), shown.GetGreen(50, 40), shown.GetBlue(50, 40)),
              wxColour(30, 90, 160));
}

// Zoom gestures and keys, in a view whose zoom is locked (mode 1) or free (mode 0).
class ZoomTest : public ViewFixture {
protected:
    // Runs each gesture and notes the zoom factor after it.
    std::vector<double> Gestures() {
        std::vector<double> factors;
        view->SetFocus();
        Settle();
        wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
        wheel.SetControlDown(true);
        wheel.m_wheelRotation = -120;
        wheel.SetPosition(wxPoint(100, 100));
        view->GetEventHandler()->ProcessEvent(wheel);
        factors.push_back(view->GetZoomFactor());
        const auto key = [&](int code, int modifiers) {
            mouse->Char(code, modifiers);
            Settle();
            factors.push_back(view->GetZoomFactor());
        };
        key(WXK_F8, wxMOD_NONE);
        key('U', wxMOD_CONTROL);
        key('J', wxMOD_CONTROL);
        key('U', wxMOD_CONTROL);
        wxMouseEvent middle(wxEVT_MIDDLE_DCLICK);
        view->GetEventHandler()->ProcessEvent(middle);
        factors.push_back(view->GetZoomFactor());
        return factors;
    }
};

TEST_F(ZoomTest, LockedZoomIgnoresWheelKeysAndMiddleDoubleClick) {
    auto document = tarn::New<CGraphicDocument>();
    document->Add(MakeRectangle(0, 0, 200, 100, *wxBLUE));
    view->SetDocument(document);
    EXPECT_EQ(Gestures(), std::vector<double>(6, 1.0));
    std::vector<wxAcceleratorEntry> entries;
    view->CollectAccelerators(entries);
    EXPECT_TRUE(entries.empty());
    wxMenu menu;
    view->AppendZoomMenuItems(menu);
    EXPECT_EQ(menu.GetMenuItemCount(), 0u);
}

TEST_F(ZoomTest, FreeZoomFollowsWheelAndKeysWithinItsLimits) {
    auto document = tarn::New<CGraphicDocument>();
    document->Add(MakeRectangle(0, 0, 200, 100, *wxBLUE));
    view->SetDocument(document);
    view->SetZoomMode(EZoomMode::Fit);
    view->InstallAccelerators();
    // wheel x2, F8 back to 1, Ctrl+U x2, Ctrl+J x0.5, Ctrl+U x2, middle double click 1.
    EXPECT_EQ(Gestures(), (std::vector<double>{2.0, 1.0, 2.0, 1.0, 2.0, 1.0}));
    view->ZoomIn();
    view->ZoomIn();
    EXPECT_EQ(view->GetZoomFactor(), 3.0);
    for (int i = 0; i < 4; ++i) view->ZoomOut();
    EXPECT_EQ(view->GetZoomFactor(), 0.5);
    wxMenu menu;
    view->AppendZoomMenuItems(menu);
    ASSERT_EQ(menu.GetMenuItemCount(), 3u);
    EXPECT_EQ(menu.FindItem(CView::kIdZoomIn)->GetItemLabel(), "Zoom In\tCtrl+U");
    EXPECT_EQ(view->GetCommandLabel(4711, "F2"), "F2");
}

TEST_F(ZoomTest, ZoomingAboutAPointKeepsThatPointInPlace) {
    auto document = tarn::New<CGraphicDocument>();
    document->Add(MakeRectangle(0, 0, 200, 100, *wxBLUE));
    document->SetContentBox({0, 0, 200, 100});
    view->SetZoomMode(EZoomMode::Fit);
    view->SetDocument(document);
    Settle();
    const wxPoint reference(150, 120);
    wxAffineMatrix2D inverse = view->GetViewMatrix();
    ASSERT_TRUE(inverse.Invert());
    const wxPoint2DDouble under = inverse.TransformPoint(wxPoint2DDouble(reference.x, reference.y));
    const double before = view->GetViewMatrix().TransformDistance(wxPoint2DDouble(1, 0)).m_x;
    view->ZoomIn(reference);
    const wxPoint2DDouble after = view->GetViewMatrix().TransformPoint(under);
    EXPECT_NEAR(after.m_x, reference.x, 1e-6);
    EXPECT_NEAR(after.m_y, reference.y, 1e-6);
    EXPECT_NEAR(view->GetViewMatrix().TransformDistance(wxPoint2DDouble(1, 0)).m_x, 2 * before, 1e-6);
}

TEST_F(ViewTest, FitZoomCentresTheDocumentInsideTheMargins) {
    auto document = tarn::New<CGraphicDocument>();
    document->Add(MakeRectangle(10, 20, 200, 100, *wxBLUE));
    document->SetContentBox({10, 20, 200, 100});
    view->SetZoomMode(EZoomMode::Fit);
    for (int i = 0; i < 4; ++i) view->SetMargin(i, 4);
    view->SetPlacementMode(EPlacementMode::Centre);
    view->SetDocument(document);
    Settle();
    // Inner rect 392 x 292 at (4, 4): scale min(390 / 200, 290 / 100) = 1.95.
    const wxPoint2DDouble topLeft = view->GetViewMatrix().TransformPoint(wxPoint2DDouble(10, 20));
    const wxPoint2DDouble bottomRight =
        view->GetViewMatrix().TransformPoint(wxPoint2DDouble(210, 120));
    EXPECT_NEAR(bottomRight.m_x - topLeft.m_x, 390, 1e-9);
    EXPECT_NEAR(topLeft.m_x, 4 + 196 - 195, 1e-9);
    EXPECT_NEAR(topLeft.m_y, 4 + 146 - 97.5, 1e-9);

    view->SetPlacementMode(EPlacementMode::TopRight);
    Settle();
    const wxPoint2DDouble right = view->GetViewMatrix().TransformPoint(wxPoint2DDouble(210, 20));
    EXPECT_NEAR(right.m_x, 396, 1e-9);
    EXPECT_NEAR(right.m_y, 4, 1e-9);
}

TEST_F(ViewTest, LeavingTheWindowClearsEveryHoveredElement) {
    auto document = tarn::New<CGraphicDocument>();
    auto under = MakeButton(L"under", 20, 20, 200, 100, L"");
    auto over = MakeButton(L"over", 60, 40, 100, 40, L"");
    document->Add(under);
    document->Add(over);
    view->SetDocument(document);
    MoveTo(30, 30);
    EXPECT_TRUE(under->HasFlag(CGraphicBase::kFlagHovered));
    // The lower button stays listed while the pointer is inside it, but only the top one
    // shows the hover look.
    MoveTo(100, 60);
    EXPECT_EQ(view->GetHovered().size(), 2u);
    EXPECT_FALSE(under->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_TRUE(over->HasFlag(CGraphicBase::kFlagHovered));
    mouse->MouseMove(view->ClientToScreen(wxPoint(600, 500)));
    Settle();
    EXPECT_TRUE(view->GetHovered().empty());
    EXPECT_FALSE(over->HasFlag(CGraphicBase::kFlagHovered));
}

// A handler with an id filter and one without.
class CHubListener : public wxEvtHandler {
public:
    void OnFirst(CNotifyEvent& event) { calls.push_back(1000 + event.GetId()); }
    void OnSecond(CNotifyEvent& event) { calls.push_back(2000 + event.GetId()); }
    std::vector<int> calls;
};

TEST(EventHubTest, FiresMatchingConnectionsInOrder) {
    auto hub = tarn::New<CCustomEventHub<CNotifyEvent>>();
    CHubListener listener;
    hub->Connect(&listener, &CHubListener::OnSecond, 5);
    hub->Connect(&listener, &CHubListener::OnFirst);
    CNotifyEvent five(5);
    CNotifyEvent six(6);
    hub->Fire(five);
    hub->Fire(six);
    EXPECT_EQ(listener.calls, (std::vector<int>{2005, 1005, 1006}));
    hub->GetConnector().ProcessEvent(five);
    EXPECT_EQ(listener.calls.size(), 5u);
    hub->Disconnect(&listener);
    hub->Fire(five);
    EXPECT_EQ(listener.calls.size(), 5u);
}

TEST_F(ViewTest, TheViewFiresItsSizeHub) {
    CHubListener listener;
    view->GetSizeHub().Connect(&listener, &CHubListener::OnFirst);
    frame->SetClientSize(300, 200);
    Settle();
    view->GetSizeHub().Disconnect(&listener);
    EXPECT_FALSE(listener.calls.empty());
}

}  // namespace
