#pragma once
// Tools that paint with the GUI toolkit need a display, also on a machine without one: they
// can run themselves again under a virtual display.

namespace tarn::win32 {

// Whether the environment names a display to connect to.
bool HasDisplay();

// Replaces this process by the same program, with the same arguments, under "xvfb-run -a".
// Returns only when that is impossible: not installed, or this already is such a second run.
void RestartUnderVirtualDisplay(char** argv);

}  // namespace tarn::win32
