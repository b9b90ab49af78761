#include "GuiToolkit.h"

#include <wx/app.h>

#include <iostream>

#include "tarn/win32/VirtualDisplay.h"

namespace lumtool {

bool PrepareGuiToolkit(char** argv) {
    if (!tarn::win32::HasDisplay()) tarn::win32::RestartUnderVirtualDisplay(argv);
    if (!tarn::win32::HasDisplay()) {
        std::cerr << "lumtool: this command needs a display, because the content loader makes "
                     "pictures and fonts with the GUI toolkit; set DISPLAY, or install xvfb "
                     "(xvfb-run) and lumtool uses a virtual display by itself\n";
        return false;
    }
    tarn::win32::SkipOpenGL();
    // The toolkit starts GTK only for a GUI application object; it owns and deletes it.
    wxApp::SetInstance(new wxApp());
    return true;
}

}  // namespace lumtool
