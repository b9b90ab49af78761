#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>

#include "graphics/PictureHandlers.h"

namespace {

// A GUI application object, so that timers and queued calls run on the GTK main loop.
class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new CTestApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "The toolkit could not start (is there a display? use xvfb-run)\n");
        return 1;
    }
    // A modal log dialog would hang a headless test run.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    graphics::InstallPictureHandlers();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
