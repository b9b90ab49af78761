#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/TickCount.h"

namespace tarn::win32 {

std::uint32_t GetTickCount() { return ::GetTickCount(); }

}  // namespace tarn::win32
