// Windows always has a desktop to paint on: there is nothing to start.

#include "tarn/win32/VirtualDisplay.h"

namespace tarn::win32 {

bool HasDisplay() { return true; }

void RestartUnderVirtualDisplay(char** /*argv*/) {}

}  // namespace tarn::win32
