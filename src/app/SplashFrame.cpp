#include "app/SplashFrame.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <algorithm>

#include "tarn/win32/TickCount.h"

namespace common::dialog::wx {

namespace {

// Long enough to leave the processor idle, short enough for a smooth fade.
constexpr unsigned long kIdleSleepMs = 5;

}  // namespace

wxBEGIN_EVENT_TABLE(CSplashFrame, wxFrame)
    EVT_PAINT(CSplashFrame::OnPaint)
    EVT_TIMER(CSplashFrame::kFadeTimerId, CSplashFrame::OnFadeTimer)
    EVT_CLOSE(CSplashFrame::OnClose)
wxEND_EVENT_TABLE()

CSplashFrame::CSplashFrame(const wxBitmap* image, wxWindow* parent)
    : wxFrame(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
              wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR),
      m_image(image),
      m_fadeTimer(this, kFadeTimerId) {
    if (m_image && m_image->IsOk()) SetClientSize(m_image->GetWidth(), m_image->GetHeight());
    SetTransparent(0);
    Layout();
}

void CSplashFrame::ShowFaded() {
    Centre(wxBOTH);
    Layout();
    m_fadeTimer.Start(kFadeIntervalMs, wxTIMER_CONTINUOUS);
    Show(true);
    WaitWhileDispatching(kFadePeriodMs, tarn::win32::GetTickCount());
}

void CSplashFrame::OnClose(wxCloseEvent& event) {
    // Start-up hides and frees the window when its time is up; a close from the desktop
    // must not free it earlier.
    if (event.CanVeto()) {
        event.Veto();
    } else {
        event.Skip();
    }
}

void CSplashFrame::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_image && m_image->IsOk()) dc.DrawBitmap(*m_image, 0, 0, false);
}

void CSplashFrame::OnFadeTimer(wxTimerEvent&) {
    m_alpha += kAlphaStep;
    if (m_alpha >= 255) {
        m_fadeTimer.Stop();
        m_alpha = 255;
    }
    SetTransparent(static_cast<wxByte>(m_alpha));
}

void WaitWhileDispatching(std::uint32_t milliseconds, std::uint32_t startTick) {
    wxEventLoop loop;
    wxEventLoopActivator activate(&loop);
    while (tarn::win32::GetTickCount() - startTick < milliseconds) {
        bool dispatched = false;
        while (loop.Pending() && tarn::win32::GetTickCount() - startTick < milliseconds) {
            loop.Dispatch();
            dispatched = true;
        }
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
        if (!dispatched) wxMilliSleep(kIdleSleepMs);
    }
}

void ShowProductSplash(const wxBitmap* image, std::int32_t duration) {
    if (!image || !image->IsOk()) return;
    const std::uint32_t start = tarn::win32::GetTickCount();
    auto* splash = new CSplashFrame(image);
    splash->Centre(wxBOTH);
    splash->ShowFaded();
    WaitWhileDispatching(static_cast<std::uint32_t>(std::max<std::int32_t>(duration, 0)), start);
    splash->Hide();
    // The image belongs to the product: the window goes now rather than linger until exit.
    splash->Destroy();
}

}  // namespace common::dialog::wx
