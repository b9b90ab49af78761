#pragma once
// Runs the toolkit's event loop in tests until a condition holds or time runs out.

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

// Dispatches pending events until done() is true; false when the time ran out first.
inline bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    wxEventLoop loop;
    wxEventLoopActivator activate(&loop);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        while (loop.Pending()) loop.Dispatch();
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Dispatches events for the given time.
inline void RunEventsFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    RunEventsUntil([&] { return std::chrono::steady_clock::now() > end; }, duration * 2);
}

}  // namespace testsupport
