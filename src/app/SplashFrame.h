#pragma once
// The product's splash image in a borderless window that fades in while start-up waits.

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <cstdint>

namespace common::dialog::wx {

class CSplashFrame : public wxFrame {
public:
    static constexpr int kFadeTimerId = 6699;
    static constexpr int kFadeIntervalMs = 20;
    static constexpr int kAlphaStep = 8;
    // ShowFaded returns after this long.
    static constexpr std::uint32_t kFadePeriodMs = 2000;

    // image is borrowed and must outlive the window; a null or invalid one shows nothing.
    explicit CSplashFrame(const wxBitmap* image, wxWindow* parent = nullptr);

    // Centres and shows the window, starts the fade-in and returns after kFadePeriodMs,
    // dispatching events meanwhile.
    void ShowFaded();

    // The current opacity, 0 (invisible) to 255 (opaque).
    int GetAlpha() const { return m_alpha; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnFadeTimer(wxTimerEvent& event);

    const wxBitmap* m_image;
    wxTimer m_fadeTimer;
    int m_alpha = 0;

    wxDECLARE_EVENT_TABLE();
};

// Dispatches pending events until `milliseconds` have passed since startTick (a
// tarn::win32::GetTickCount value; the unsigned difference survives a counter wrap),
// sleeping briefly whenever nothing is pending so that the wait does not spin a processor.
void WaitWhileDispatching(std::uint32_t milliseconds, std::uint32_t startTick);

// Shows the product's splash image faded in for `duration` milliseconds, but at least for
// CSplashFrame::kFadePeriodMs, then hides it. Returns at once without an image; a negative
// duration counts as 0.
void ShowProductSplash(const wxBitmap* image, std::int32_t duration);

}  // namespace common::dialog::wx
