#pragma once
// The millisecond clock animations run on; tests replace it.

#include <cstdint>

namespace graphics::animation {

using ClockFunction = std::uint32_t (*)();

// The current time in milliseconds (wrapping, subtract unsigned).
std::uint32_t Now();
// Installs another clock; null restores the system tick counter.
void SetClock(ClockFunction clock);

}  // namespace graphics::animation
