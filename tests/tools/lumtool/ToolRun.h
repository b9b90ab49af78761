#pragma once
// Runs the real lumtool binary and keeps what it printed and its exit status.

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"

namespace lumtooltest {

struct CRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a lumtool binary. Arguments are quoted for the shell by the caller; environment goes
// to "env", such as "-u DISPLAY". A run that takes two minutes is stopped (exit status 124):
// a damaged heap can leave a program waiting on its own lock for ever.
inline CRun RunProgram(const std::string& program, const std::string& arguments,
                       const testsupport::TempFolder& folder, const std::string& environment = {}) {
    const std::string errFile = (folder / "stderr.txt").string();
    const std::string command = "timeout -k 10 120 env " + environment + " '" + program + "' " +
                                arguments + " 2>" + errFile;
    CRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    run.status = WEXITSTATUS(pclose(pipe));
    std::ifstream err(errFile);
    std::ostringstream text;
    text << err.rdbuf();
    run.err = text.str();
    return run;
}

// Runs the lumtool of this build.
inline CRun RunTool(const std::string& arguments, const testsupport::TempFolder& folder,
                    const std::string& environment = {}) {
    return RunProgram(LUMTOOL_PATH, arguments, folder, environment);
}

}  // namespace lumtooltest
