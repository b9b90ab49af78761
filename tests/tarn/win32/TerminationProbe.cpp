// Registers files for removal on termination, then ends itself with a signal:
//   termination_probe SIGNAL [ignore] (+FILE | -FILE)...
// "+FILE" stays registered, "-FILE" is registered and forgotten again; with "ignore" the
// signal is ignored before anything is registered, as under nohup.

#include <signal.h>

#include <cstdlib>
#include <string>

#include "tarn/Text.h"
#include "tarn/win32/TerminationCleanup.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const int signal = std::atoi(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "ignore") {
            ::signal(signal, SIG_IGN);
            continue;
        }
        const std::wstring path = tarn::FromUtf8(argument.substr(1));
        if (!tarn::win32::RemoveOnTermination(path)) return 3;
        if (argument[0] == '-') tarn::win32::KeepOnTermination(path);
    }
    ::raise(signal);
    return 7;  // only when the signal is ignored
}
