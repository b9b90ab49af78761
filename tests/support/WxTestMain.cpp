#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "The toolkit could not start (is there a display? use xvfb-run)\n");
        return 1;
    }
    // A modal log dialog would hang a headless test run.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxInitAllImageHandlers();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
