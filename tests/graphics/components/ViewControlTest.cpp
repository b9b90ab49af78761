// The view control under a real window and synthesised mouse events: hover, press, release,
// capture, tooltips and "hint" texts.

#include <wx/tooltip.h>

#include "ViewFixture.h"

namespace {

using namespace graphics;
using namespace testsupport;

// The mouse listener of the owner: consumes presses while asked to.
class CConsumingListener : public components::CView::IMouseListener {
public:
    bool consume = true;
    int presses = 0;
    bool OnMouse(wxMouseEvent&) override {
        ++presses;
        return consume;
    }
};

class ViewControlTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        document = tarn::New<CGraphicDocument>();
        a = MakeButton(L"A", 20, 20, 100, 40, L"Open file");
        b = MakeButton(L"B", 200, 20, 100, 40, L"OPEN FILE");
        c = MakeButton(L"C", 200, 80, 100, 40, L"Quit");
        plain = MakeRectangle(20, 150, 100, 40, *wxRED);
        hint = MakeText(L"start", 200, 150, 180, 40);
        hint->SetTags({L"hint"});
        for (const tarn::P<CGraphicElement>& element :
             std::initializer_list<tarn::P<CGraphicElement>>{a, b, c, plain, hint}) {
            document->Add(element);
        }
        document->SetContentBox({0, 0, 400, 300});
        view->SetDocument(document);
        Settle();
    }

    tarn::P<CGraphicDocument> document;
    tarn::P<CGraphicStateButton> a, b, c;
    tarn::P<CGraphicRectangle> plain;
    tarn::P<CGraphicText> hint;
};

TEST_F(ViewControlTest, HoverSetsAndClearsTheFlagAndRepaints) {
    // Without "hint" texts the hover change itself must repaint.
    hint->SetTags({});
    MoveTo(300, 250);
    int paints = view->paints;
    MoveTo(60, 40);
    EXPECT_TRUE(a->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_GT(view->paints, paints);
    ASSERT_EQ(view->GetHovered().size(), 1u);

    paints = view->paints;
    MoveTo(300, 250);
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_TRUE(view->GetHovered().empty());
    EXPECT_GT(view->paints, paints);
}

TEST_F(ViewControlTest, ReleaseOverAnotherButtonClicksNothing) {
    MoveTo(60, 40);
    Press();
    EXPECT_TRUE(a->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_TRUE(view->HasCapture());
    MoveTo(250, 40);
    Release();
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_FALSE(b->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_FALSE(view->HasCapture());
}

TEST_F(ViewControlTest, EitherButtonClicksOnTheSameButton) {
    MoveTo(60, 40);
    Press(wxMOUSE_BTN_RIGHT);
    Release(wxMOUSE_BTN_RIGHT);
    MoveTo(250, 100);
    Press();
    Release();
    EXPECT_EQ(clicks, (std::vector<std::wstring>{L"A", L"C"}));
}

TEST_F(ViewControlTest, LosingTheCaptureClearsThePressedLook) {
    MoveTo(60, 40);
    Press();
    ASSERT_TRUE(a->HasFlag(CGraphicBase::kFlagPressed));
    wxMouseCaptureLostEvent lost(view->GetId());
    lost.SetEventObject(view);
    view->ReleaseMouse();
    view->GetEventHandler()->ProcessEvent(lost);
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_TRUE(view->GetPressed().empty());
    Release();
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ViewControlTest, PressOnANonButtonDoesNotCapture) {
    MoveTo(60, 170);
    Press();
    EXPECT_FALSE(view->HasCapture());
    EXPECT_TRUE(view->GetPressed().empty());
    Release();
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ViewControlTest, TooltipFollowsTheHintButNotItsLetterCase) {
    EXPECT_EQ(view->GetToolTipText(), "");
    MoveTo(60, 40);
    EXPECT_EQ(view->GetToolTipText(), "Open file");
    MoveTo(250, 40);
    EXPECT_EQ(view->GetToolTipText(), "Open file");
    MoveTo(250, 100);
    EXPECT_EQ(view->GetToolTipText(), "Quit");
    MoveTo(390, 290);
    EXPECT_EQ(view->GetToolTipText(), "");
}

TEST_F(ViewControlTest, HintTextShowsTheHoveredButtonsHint) {
    EXPECT_EQ(PlainText(*hint), L"...");
    MoveTo(250, 100);
    EXPECT_EQ(PlainText(*hint), L"Quit");
    MoveTo(390, 290);
    EXPECT_EQ(PlainText(*hint), L"...");
    MoveTo(250, 100);
    view->SetDocument(document);
    EXPECT_EQ(PlainText(*hint), L"...");
}

TEST_F(ViewControlTest, ABlankHintTextShowsTheHintsToo) {
    auto blank = MakeText(L"", 20, 220, 180, 40);
    blank->SetTags({L"hint"});
    document->Add(blank);
    view->SetDocument(document);
    Settle();
    EXPECT_EQ(PlainText(*blank), L"...");
    MoveTo(250, 100);
    EXPECT_EQ(PlainText(*blank), L"Quit");
    EXPECT_EQ(view->GetToolTipText(), "Quit");
    EXPECT_EQ(PlainText(*hint), L"Quit");
}

TEST_F(ViewControlTest, AConsumedPressSkipsTheHitTestButTheReleaseArrives) {
    CConsumingListener listener;
    view->SetMouseListener(&listener);
    MoveTo(60, 40);
    Press();
    EXPECT_EQ(listener.presses, 1);
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_FALSE(view->HasCapture());
    const int releases = view->releases;
    Release();
    EXPECT_EQ(view->releases, releases + 1);
    EXPECT_TRUE(clicks.empty());

    listener.consume = false;
    // Far enough apart not to make a double click.
    Settle(std::chrono::milliseconds(700));
    Press();
    Release();
    EXPECT_EQ(clicks, std::vector<std::wstring>{L"A"});
    view->SetMouseListener(nullptr);
}

}  // namespace
