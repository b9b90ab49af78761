#include <gtest/gtest.h>
#ifdef _WIN32
#include "tarn/win32/WindowsApi.h"
#else
#include <sys/resource.h>
#endif
#include <wx/app.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <chrono>
#include <functional>

#include "app/SplashFrame.h"
#include "tarn/win32/TickCount.h"

using common::dialog::wx::CSplashFrame;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// The splash counts its time in whole ticks of the tick count, which drops the rest of a
// millisecond (on Windows, of its 16 ms timer interrupt): it may end up to one tick early.
#ifdef _WIN32
constexpr auto kTick = 16ms;
#else
constexpr auto kTick = 1ms;
#endif

std::chrono::microseconds CpuTime() {
#ifdef _WIN32
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {  // of 100 ns
        return std::uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime;
    };
    return std::chrono::microseconds((ticks(kernel) + ticks(user)) / 10);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto total = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return total(usage.ru_utime) + total(usage.ru_stime);
#endif
}

// Wall and processor time of a call.
struct SMeasured {
    Clock::duration wall;
    std::chrono::microseconds cpu;
};
SMeasured Measure(const std::function<void()>& call) {
    const auto cpu = CpuTime();
    const auto start = Clock::now();
    call();
    return {Clock::now() - start, CpuTime() - cpu};
}

// The splash windows that exist, or only those on screen.
int SplashCount(bool shownOnly) {
    int count = 0;
    for (wxWindow* window : wxTopLevelWindows) {
        if (dynamic_cast<CSplashFrame*>(window) && (!shownOnly || window->IsShown())) ++count;
    }
    return count;
}
int ShownSplashCount() { return SplashCount(true); }

class SplashTest : public testing::Test {
protected:
    void TearDown() override {
        for (wxWindow* window : wxTopLevelWindows) {
            if (dynamic_cast<CSplashFrame*>(window)) window->Destroy();
        }
        if (wxTheApp) wxTheApp->ProcessIdle();  // deletes the destroyed windows
    }

    wxBitmap m_image{60, 40};
};

}  // namespace

TEST_F(SplashTest, BorderlessWindowOfTheImageSize) {
    auto* splash = new CSplashFrame(&m_image);
    EXPECT_EQ(splash->GetClientSize(), wxSize(60, 40));
    const long style = splash->GetWindowStyleFlag();
    EXPECT_TRUE(style & wxSTAY_ON_TOP);
    EXPECT_TRUE(style & wxFRAME_NO_TASKBAR);
    EXPECT_FALSE(style & (wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX));
    EXPECT_EQ(splash->GetAlpha(), 0);
    EXPECT_FALSE(splash->IsShown());
}

TEST_F(SplashTest, FadesInDuringTheFadePeriodWithoutSpinning) {
    auto* splash = new CSplashFrame(&m_image);
    const SMeasured measured = Measure([&] { splash->ShowFaded(); });
    EXPECT_TRUE(splash->IsShown());
    EXPECT_EQ(splash->GetAlpha(), 255);
    EXPECT_GE(measured.wall, 2000ms - kTick);
    EXPECT_LT(measured.wall, 4000ms);
    EXPECT_LT(measured.cpu, measured.wall / 10);
}

TEST_F(SplashTest, ShortDurationsStillShowTheFadePeriod) {
    for (const std::int32_t duration : {0, 1500, -1}) {
        SCOPED_TRACE(duration);
        const SMeasured measured =
            Measure([&] { common::dialog::wx::ShowProductSplash(&m_image, duration); });
        EXPECT_GE(measured.wall, 2000ms - kTick);
        EXPECT_LT(measured.wall, 3500ms);
        EXPECT_EQ(ShownSplashCount(), 0);
    }
}

TEST_F(SplashTest, LongDurationKeepsTheSplashOnScreenWhileEventsFlow) {
    int shownAtOneSecond = -1;
    int shownAtThreeSeconds = -1;
    wxTimer early;
    wxTimer late;
    early.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { shownAtOneSecond = ShownSplashCount(); });
    late.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { shownAtThreeSeconds = ShownSplashCount(); });
    early.StartOnce(1000);
    late.StartOnce(3000);

    const SMeasured measured =
        Measure([&] { common::dialog::wx::ShowProductSplash(&m_image, 4000); });
    EXPECT_GE(measured.wall, 4000ms - kTick);
    EXPECT_LT(measured.wall, 6000ms);
    EXPECT_LT(measured.cpu, measured.wall / 10);
    EXPECT_EQ(shownAtOneSecond, 1);
    EXPECT_EQ(shownAtThreeSeconds, 1);
    EXPECT_EQ(ShownSplashCount(), 0);
}

TEST_F(SplashTest, WithoutImageThereIsNoSplashAndNoWait) {
    const wxBitmap invalid;
    for (const wxBitmap* image : {static_cast<const wxBitmap*>(nullptr), &invalid}) {
        const SMeasured measured =
            Measure([&] { common::dialog::wx::ShowProductSplash(image, 4000); });
        EXPECT_LT(measured.wall, 500ms);
        EXPECT_EQ(SplashCount(false), 0);
    }
}

TEST_F(SplashTest, WaitCountsFromTheGivenTickAndDispatches) {
    bool called = false;
    wxTheApp->CallAfter([&] { called = true; });
    const std::uint32_t start = tarn::win32::GetTickCount() - 300;
    const SMeasured measured =
        Measure([&] { common::dialog::wx::WaitWhileDispatching(800, start); });
    EXPECT_GE(measured.wall, 490ms);
    EXPECT_LT(measured.wall, 1500ms);
    EXPECT_TRUE(called);
    EXPECT_LT(measured.cpu, measured.wall / 10);
}
