// The main frame's keys, in process: Tab and Shift+Tab, Enter and Space pressing the focused
// button, going back and to the main page, full screen on and off, and keys it leaves alone.

#include <gtest/gtest.h>

#include "ContentFile.h"
#include "EventLoop.h"
#include "TempFolder.h"
#include "app/App.h"
#include "app/MainFrame.h"
#include "lum/data/ElementFactories.h"

namespace {

std::string Button(const std::string& name, int x, int y, const std::string& target) {
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name + "\" label=\"" +
           name + "\"><center x=\"" + std::to_string(x + 40) + "\" y=\"" + std::to_string(y + 15) +
           "\"/><size width=\"80\" height=\"30\"/><action type=\"change-page\" "
           "change-page=\"goto-page\" page=\"" +
           target + "\"/></state-button>";
}

std::string Page(const std::string& name, const std::string& buttons) {
    return "<page name=\"" + name +
           "\"><document version=\"1\"><content-box x=\"0\" y=\"0\" "
           "width=\"320\" height=\"200\"/>" +
           buttons + "</document></page>";
}

wxKeyEvent Key(wxEventType type, int code, int modifiers = wxMOD_NONE) {
    wxKeyEvent event(type);
    event.m_keyCode = code;
    event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    event.SetAltDown((modifiers & wxMOD_ALT) != 0);
    event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    return event;
}

class MainFrameKeysTest : public testing::Test {
protected:
    void SetUp() override {
        // Reading order on P0: a (P1), b (P2) on the first row, c (P3) below.
        const std::string pages =
            Page("P0", Button("c", 10, 100, "P3") + Button("b", 150, 10, "P2") +
                           Button("a", 10, 10, "P1")) +
            Page("P1", Button("x", 10, 10, "P2")) + Page("P2", Button("y", 10, 10, "P3")) +
            Page("P3", "");
        content = lumtest::WriteArchive(
            folder, "keys.lum",
            {{"product.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><product title=\"T\">"
              "<pages>" +
                  pages + "</pages><clientsize width=\"320\" height=\"200\"/></product>"}});
        frame = new CMainFrame(wxString());
        ASSERT_TRUE(frame->LoadContent(content));
    }
    void TearDown() override { frame->Destroy(); }

    bool Down(int code, int modifiers = wxMOD_NONE) {
        return frame->HandleKeyDown(Key(wxEVT_KEY_DOWN, code, modifiers));
    }
    bool Up(int code, int modifiers = wxMOD_NONE) {
        return frame->HandleKeyUp(Key(wxEVT_KEY_UP, code, modifiers));
    }
    bool Press(int code) { return Down(code) && Up(code); }
    std::wstring Focused() const {
        const auto focus = frame->GetViewControl()->GetFocused();
        return focus ? focus->GetName() : L"(none)";
    }

    lum::data::CElementFactories factories;
    testsupport::TempFolder folder;
    std::wstring content;
    CMainFrame* frame = nullptr;
};

TEST_F(MainFrameKeysTest, TabAndReturnRunTheFocusedButtonsAction) {
    EXPECT_TRUE(Down(WXK_TAB));
    EXPECT_TRUE(Down(WXK_TAB));
    EXPECT_EQ(Focused(), L"b");
    EXPECT_TRUE(Down(WXK_RETURN));
    // Held: the button looks pressed, nothing has happened yet; repeats change nothing.
    EXPECT_TRUE(
        frame->GetViewControl()->GetFocused()->HasFlag(graphics::CGraphicBase::kFlagPressed));
    EXPECT_TRUE(Down(WXK_RETURN));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_TRUE(Up(WXK_RETURN));
    EXPECT_EQ(frame->GetTitle(), "T [P2]");
    // The new page starts without a focus: the first Tab takes its first button.
    EXPECT_EQ(Focused(), L"(none)");
    EXPECT_TRUE(Down(WXK_TAB));
    EXPECT_EQ(Focused(), L"y");
    EXPECT_TRUE(Press(WXK_SPACE));
    EXPECT_EQ(frame->GetTitle(), "T [P3]");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 3u);
}

TEST_F(MainFrameKeysTest, AReleaseWithoutItsPressDoesNothing) {
    Down(WXK_TAB);
    // The Return that closed a message box comes up here without having gone down.
    EXPECT_TRUE(Up(WXK_RETURN));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    // Space down, Return up: not the key that pressed.
    Down(WXK_SPACE);
    Up(WXK_RETURN);
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    Up(WXK_SPACE);
    EXPECT_EQ(frame->GetTitle(), "T [P1]");
}

TEST_F(MainFrameKeysTest, ShiftTabFromTheFirstGoesToTheLast) {
    Down(WXK_TAB);
    EXPECT_EQ(Focused(), L"a");
    EXPECT_TRUE(Down(WXK_TAB, wxMOD_SHIFT));
    EXPECT_EQ(Focused(), L"c");
    EXPECT_TRUE(Down(WXK_UP));
    EXPECT_EQ(Focused(), L"a");
    EXPECT_TRUE(Down(WXK_RIGHT));
    EXPECT_EQ(Focused(), L"b");
}

TEST_F(MainFrameKeysTest, BackspaceAltLeftAndAltHomeNavigate) {
    Down(WXK_TAB);
    Press(WXK_RETURN);  // P1
    Down(WXK_TAB);
    Press(WXK_RETURN);  // P2
    ASSERT_EQ(frame->GetTitle(), "T [P2]");
    EXPECT_TRUE(Down(WXK_BACK));
    EXPECT_EQ(frame->GetTitle(), "T [P1]");
    EXPECT_TRUE(Down(WXK_LEFT, wxMOD_ALT));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    // Nothing further back.
    EXPECT_TRUE(Down(WXK_BACK));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    frame->GotoPage(L"P3", false, true);
    EXPECT_TRUE(Down(WXK_HOME, wxMOD_ALT));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 3u);
}

TEST_F(MainFrameKeysTest, F11SwitchesFullScreenAndEscapeLeavesIt) {
    EXPECT_FALSE(Down(WXK_ESCAPE));  // not full screen: Escape is not the frame's
    EXPECT_TRUE(Down(WXK_F11));
    EXPECT_TRUE(frame->IsFullScreenShown());
    EXPECT_TRUE(Down(WXK_ESCAPE));
    EXPECT_FALSE(frame->IsFullScreenShown());
    EXPECT_EQ(frame->GetClientSize(), wxSize(320, 200));
    Down(WXK_F11);
    Down(WXK_F11);
    EXPECT_FALSE(frame->IsFullScreenShown());
}

TEST_F(MainFrameKeysTest, OtherKeysAndModifiersAreLeftAlone) {
    EXPECT_FALSE(Down('X'));
    EXPECT_FALSE(Down(WXK_TAB, wxMOD_CONTROL));
    EXPECT_FALSE(Down(WXK_RETURN, wxMOD_CONTROL));
    EXPECT_FALSE(Down(WXK_LEFT, wxMOD_CONTROL));
    EXPECT_EQ(Focused(), L"(none)");
    // M without music: taken, and nothing happens.
    EXPECT_TRUE(Down('M'));
    EXPECT_FALSE(frame->GetMusicPainter());
}

TEST(StartOptionsTest, FullScreenCountsAfterTheContentFile) {
    EXPECT_TRUE(ScanStartOptions({L"lumplayer", L"menu.lum", L"-fullscreen"}).fullScreen);
    EXPECT_TRUE(
        ScanStartOptions({L"lumplayer", L"menu.lum", L"-nosplash", L"-fullscreen"}).fullScreen);
    EXPECT_FALSE(ScanStartOptions({L"lumplayer", L"-fullscreen"}).fullScreen);
    // A page named so is a page name.
    const CStartOptions named =
        ScanStartOptions({L"lumplayer", L"menu.lum", L"-page", L"-fullscreen"});
    EXPECT_EQ(named.page, L"-fullscreen");
    EXPECT_FALSE(named.fullScreen);
}

}  // namespace
