#pragma once
// A millisecond counter that wraps after 2^32 ms, as the system's tick count does: callers
// subtract unsigned values to measure intervals.

#include <cstdint>

namespace tarn::win32 {

std::uint32_t GetTickCount();

}  // namespace tarn::win32
