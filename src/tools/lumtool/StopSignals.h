#pragma once
// Ctrl+C (SIGINT) and SIGTERM while a command writes: the command stops at its next check,
// removes what it wrote so far, and the process then dies of the signal as if nothing had
// caught it, so that whoever started it sees why it ended. Standard C++ signals only: the
// handler just sets a flag.

#include <csignal>

#include "Command.h"

namespace lumtool {

class CStopSignals {
public:
    // Catches the signals until the object ends; signals the process ignores (nohup) stay
    // ignored.
    CStopSignals() {
        for (int i = 0; i < kCount; ++i) {
            m_previous[i] = std::signal(kSignals[i], &OnSignal);
            if (m_previous[i] == SIG_IGN) std::signal(kSignals[i], SIG_IGN);
        }
    }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;
    // Puts the earlier handlers back, then raises a signal that came meanwhile. Declare it
    // before whatever must be cleaned up, so that the clean-up runs first.
    ~CStopSignals() {
        for (int i = 0; i < kCount; ++i) std::signal(kSignals[i], m_previous[i]);
        if (g_caught != 0) std::raise(g_caught);
    }

    // Raises CUsageError when a signal came: the command unwinds, and its clean-up runs.
    static void ThrowIfStopped() {
        if (g_caught != 0) throw CUsageError("stopped by a signal");
    }

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM};
    static constexpr int kCount = 2;

    static void OnSignal(int signal) { g_caught = signal; }

    static inline volatile std::sig_atomic_t g_caught = 0;
    using Handler = void (*)(int);
    Handler m_previous[kCount] = {};
};

}  // namespace lumtool
