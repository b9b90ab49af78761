#include "graphics/animation/Clock.h"

#include <atomic>

#include "tarn/win32/TickCount.h"

namespace graphics::animation {
namespace {

std::atomic<ClockFunction> g_clock{nullptr};

}  // namespace

std::uint32_t Now() {
    const ClockFunction clock = g_clock.load();
    return clock ? clock() : tarn::win32::GetTickCount();
}

void SetClock(ClockFunction clock) { g_clock.store(clock); }

}  // namespace graphics::animation
