#pragma once
// Commands that load menu content need the GUI toolkit: the loader makes bitmaps and fonts,
// which GTK cannot do without a display.

namespace lumtool {

// Call before the toolkit starts. With a display, installs a GUI application object so that
// the toolkit starts GTK as well, and returns true. Without one, runs this program again
// under xvfb-run when that is installed (the call then does not return); otherwise explains
// on stderr and returns false.
bool PrepareGuiToolkit(char** argv);

}  // namespace lumtool
