#pragma once
// Tools that paint with the GUI toolkit need a display, also on a machine without one: they
// can run themselves again under a virtual display.

namespace tarn::win32 {

// Whether the environment names a display to connect to.
bool HasDisplay();

// Replaces this process by the same program, with the same arguments, under "xvfb-run -a".
// Returns only when that is impossible: not installed, or this already is such a second run.
void RestartUnderVirtualDisplay(char** argv);

// Neither program draws with OpenGL, yet the GTK toolkit loads the system's OpenGL driver when
// it opens the display: tens of milliseconds at every start. Tells it not to, unless the user
// set GDK_GL. Call before the toolkit starts.
void SkipOpenGL();

}  // namespace tarn::win32
