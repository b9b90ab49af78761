#include "tarn/win32/TerminationCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

#include "tarn/Text.h"

namespace tarn::win32 {

namespace {

constexpr std::size_t kSlots = 8;
constexpr std::size_t kMaxPathBytes = 4096;

// The handler may only read plain memory and call async-signal-safe functions: the paths
// wait in fixed buffers, each published by its flag.
struct CSlot {
    std::atomic<bool> used{false};
    char path[kMaxPathBytes] = {};
};

std::array<CSlot, kSlots> g_slots;
std::mutex g_registering;  // registrations come from any thread, never from the handler

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnTerminationSignal(int signal) {
    for (CSlot& slot : g_slots) {
        if (slot.used.load(std::memory_order_acquire)) ::unlink(slot.path);
    }
    // Then die of the signal as if nothing had caught it, so the parent sees why.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void InstallHandlers() {
    for (const int signal : kSignals) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) != 0) continue;
        // Started with the signal ignored (nohup): whoever started us wants it so.
        if (previous.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = &OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

bool RemoveOnTermination(const std::wstring& path) {
    const std::string bytes = ToUtf8(path);
    if (bytes.empty() || bytes.size() >= kMaxPathBytes) return false;
    std::lock_guard lock(g_registering);
    static const bool installed = (InstallHandlers(), true);
    (void)installed;
    for (CSlot& slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed)) continue;
        std::memcpy(slot.path, bytes.c_str(), bytes.size() + 1);
        slot.used.store(true, std::memory_order_release);
        return true;
    }
    return false;
}

void KeepOnTermination(const std::wstring& path) {
    const std::string bytes = ToUtf8(path);
    std::lock_guard lock(g_registering);
    for (CSlot& slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed) && bytes == slot.path) {
            slot.used.store(false, std::memory_order_release);
        }
    }
}

}  // namespace tarn::win32
