#include "tarn/win32/TickCount.h"

#include <chrono>

namespace tarn::win32 {

std::uint32_t GetTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace tarn::win32
