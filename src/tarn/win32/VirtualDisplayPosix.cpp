#include "tarn/win32/VirtualDisplay.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace tarn::win32 {

namespace {

// Set in the environment of the second run, so that a virtual display that fails to come up
// cannot make the program start itself again and again.
constexpr const char* kUnderXvfb = "LUMTOOL_UNDER_XVFB";

}  // namespace

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void RestartUnderVirtualDisplay(char** argv) {
    if (std::getenv(kUnderXvfb)) return;
    // The link is resolved here: read by the shell script, it would name the shell.
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) return;
    std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), self.data()};
    for (char** argument = argv + 1; *argument; ++argument) command.push_back(*argument);
    command.push_back(nullptr);
    ::setenv(kUnderXvfb, "1", 1);
    ::execvp(command[0], command.data());
    ::unsetenv(kUnderXvfb);  // not installed: go on without
}

void SkipOpenGL() { ::setenv("GDK_GL", "disable", 0); }

}  // namespace tarn::win32
