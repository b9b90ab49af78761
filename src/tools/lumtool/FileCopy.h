#pragma once
// Copies a file into a new one with the system's reason for a failure: the standard
// library's copy reports a full disk as an input/output error once it has begun.

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "Command.h"
#include "StopSignals.h"

namespace lumtool {

// Raises CUsageError naming the file and the reason that the failed stream left in errno
// (file streams keep none of their own).
[[noreturn]] inline void FailOnFile(const std::string& what, const std::filesystem::path& path) {
    const int code = errno != 0 ? errno : EIO;
    throw CUsageError("cannot " + what + " '" + path.string() +
                      "': " + std::error_code(code, std::generic_category()).message());
}

// Copies source to target (created or truncated) with source's permissions, stopping
// between blocks when a signal asks to. Raises CUsageError naming the file and the reason.
inline void CopyFileBytes(const std::filesystem::path& source,
                          const std::filesystem::path& target) {
    errno = 0;
    std::ifstream in(source, std::ios::binary);
    if (!in) FailOnFile("read", source);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) FailOnFile("write", target);
    std::vector<char> block(1 << 20);
    while (in) {
        CStopSignals::ThrowIfStopped();
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        if (in.bad()) FailOnFile("read", source);
        if (!out.write(block.data(), in.gcount())) FailOnFile("write", target);
    }
    out.close();
    if (!out) FailOnFile("write", target);
    std::error_code error;
    std::filesystem::permissions(target, std::filesystem::status(source, error).permissions(),
                                 error);
    if (error) {
        throw CUsageError("cannot set the permissions of '" + target.string() +
                          "': " + error.message());
    }
}

}  // namespace lumtool
