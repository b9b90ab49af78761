// Files registered for removal go when the process is ended by a termination signal, and only
// those. Each case ends a probe process of its own.

#include "tarn/win32/TerminationCleanup.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"

#ifndef TERMINATION_PROBE
#error "TERMINATION_PROBE must name the probe program"
#endif

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the probe with the arguments and returns its wait status.
int RunProbe(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), TERMINATION_PROBE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(TerminationCleanupTest, EachTerminationSignalRemovesTheRegisteredFiles) {
    testsupport::TempFolder folder;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const std::string number = std::to_string(signal);
        const fs::path registered = folder.Write("lum0000000" + number + ".wav", "music");
        const fs::path forgotten = folder.Write("kept" + number + ".wav", "music");
        const fs::path bystander = folder.Write("other" + number + ".txt", "text");
        const int status = RunProbe({number, "+" + registered.string(), "-" + forgotten.string()});
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signal << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(fs::exists(registered)) << "signal " << signal;
        EXPECT_TRUE(fs::exists(forgotten)) << "signal " << signal;
        EXPECT_TRUE(fs::exists(bystander)) << "signal " << signal;
    }
}

TEST(TerminationCleanupTest, AnIgnoredSignalStaysIgnored) {
    testsupport::TempFolder folder;
    const fs::path registered = folder.Write("lumFFFFFFFF.wav", "music");
    const int status = RunProbe({std::to_string(SIGHUP), "ignore", "+" + registered.string()});
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_TRUE(fs::exists(registered));
}

TEST(TerminationCleanupTest, PlacesAreLimitedAndFreedAgain) {
    testsupport::TempFolder folder;
    const auto path = [&](const std::string& name) { return (folder.Path() / name).wstring(); };
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(tarn::win32::RemoveOnTermination(path("f" + std::to_string(i))));
    EXPECT_FALSE(tarn::win32::RemoveOnTermination(path("one too many")));
    tarn::win32::KeepOnTermination(path("f3"));
    EXPECT_TRUE(tarn::win32::RemoveOnTermination(path("now there is room")));
    EXPECT_FALSE(tarn::win32::RemoveOnTermination(L""));
    EXPECT_FALSE(tarn::win32::RemoveOnTermination(std::wstring(5000, L'x')));
}

}  // namespace
