// Windows always has a desktop to paint on: there is nothing to start.

#include "tarn/win32/VirtualDisplay.h"

namespace tarn::win32 {

bool HasDisplay() { return true; }

void RestartUnderVirtualDisplay(char** /*argv*/) {}

void SkipOpenGL() {}  // the toolkit's Windows port loads no OpenGL driver at start

}  // namespace tarn::win32
