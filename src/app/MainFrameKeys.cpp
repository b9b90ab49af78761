// The main frame's keys and full screen. Tab, Shift+Tab and the arrow keys move the view's
// focus among the page's buttons; Enter and Space press the focused button (the down look
// while held, the action on release, as a click); Backspace and Alt+Left go back, Alt+Home
// to the main page; M stops or restarts the music; F11 switches full screen, Escape leaves it.

#include "app/MainFrame.h"
#include "lum/MenuView.h"

namespace {

using graphics::components::EFocusDirection;

bool IsPressKey(int key) {
    return key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_SPACE;
}

}  // namespace

void CMainFrame::GoBack() {
    if (const tarn::P<lum::data::CPage> page = m_history->Back()) ShowPage(page, true, false);
}

void CMainFrame::GotoMainPage() {
    if (m_product && m_product->GetPageCount() > 0) ShowPage(m_product->GetPage(0), true, true);
}

void CMainFrame::FixWindowSize() {
    if (!m_product) return;
    const wxSize client = lum::MenuClientSize(*m_product);
    SetMinClientSize(wxDefaultSize);
    SetMaxClientSize(wxDefaultSize);
    SetClientSize(client);
    SetMinClientSize(client);
    SetMaxClientSize(client);
}

void CMainFrame::OnFrameSize(wxSizeEvent& event) {
    event.Skip();
    if (m_fullScreen || IsFullScreen() || !m_product || m_sizeFixes >= 3) return;
    if (GetClientSize() == lum::MenuClientSize(*m_product)) return;
    ++m_sizeFixes;
    CallAfter([this] {
        if (!m_fullScreen) FixWindowSize();
    });
}

void CMainFrame::SetFullScreen(bool fullScreen) {
    if (fullScreen == m_fullScreen) return;
    m_fullScreen = fullScreen;
    m_sizeFixes = 0;
    if (fullScreen) {
        // No size limits: the desktop makes the window as large as the screen.
        SetMinClientSize(wxDefaultSize);
        SetMaxClientSize(wxDefaultSize);
        ShowFullScreen(true, wxFULLSCREEN_ALL);
    } else {
        ShowFullScreen(false, wxFULLSCREEN_ALL);
        FixWindowSize();
    }
    m_view->Refresh(false);
}

bool CMainFrame::HandleKeyDown(const wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    if (modifiers == wxMOD_ALT) {
        switch (key) {
            case WXK_LEFT:
            case WXK_NUMPAD_LEFT:
                GoBack();
                return true;
            case WXK_HOME:
            case WXK_NUMPAD_HOME:
                GotoMainPage();
                return true;
            default:
                return false;
        }
    }
    if (key == WXK_TAB && (modifiers == wxMOD_NONE || modifiers == wxMOD_SHIFT)) {
        m_view->MoveFocus(modifiers == wxMOD_SHIFT);
        return true;
    }
    if (key == 'M' && (modifiers == wxMOD_NONE || modifiers == wxMOD_SHIFT)) {
        ToggleMusic();
        return true;
    }
    if (modifiers != wxMOD_NONE) return false;
    switch (key) {
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT:
            m_view->MoveFocus(EFocusDirection::Left);
            return true;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT:
            m_view->MoveFocus(EFocusDirection::Right);
            return true;
        case WXK_UP:
        case WXK_NUMPAD_UP:
            m_view->MoveFocus(EFocusDirection::Up);
            return true;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN:
            m_view->MoveFocus(EFocusDirection::Down);
            return true;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
        case WXK_SPACE:
            // Held keys repeat: only the first press counts.
            if (m_pressKey == 0 && m_view->PressFocused()) m_pressKey = key;
            return true;
        case WXK_BACK:
            GoBack();
            return true;
        case WXK_F11:
            SetFullScreen(!m_fullScreen);
            return true;
        case WXK_ESCAPE:
            if (!m_fullScreen) return false;
            SetFullScreen(false);
            return true;
        default:
            return false;
    }
}

bool CMainFrame::HandleKeyUp(const wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (!IsPressKey(key)) return false;
    if (m_pressKey != key) return true;
    m_pressKey = 0;
    // As a click: the action runs now, the not-valid message included.
    m_view->ReleaseFocused();
    return true;
}

void CMainFrame::OnViewKeyDown(wxKeyEvent& event) {
    if (!HandleKeyDown(event)) event.Skip();
}

void CMainFrame::OnViewKeyUp(wxKeyEvent& event) {
    if (!HandleKeyUp(event)) event.Skip();
}
