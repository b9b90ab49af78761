#pragma once
// Copies a file into a new one with the system's reason for a failure: the standard
// library's copy reports a full disk as an input/output error once it has begun.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "Command.h"
#include "StopSignals.h"

namespace lumtool {

// Copies source to target (created or truncated) with source's permissions, stopping
// between blocks when a signal asks to. Raises CUsageError naming the file and the reason.
inline void CopyFileBytes(const std::filesystem::path& source,
                          const std::filesystem::path& target) {
    const auto fail = [](const std::string& what, const std::filesystem::path& path, int code) {
        throw CUsageError("cannot " + what + " '" + path.string() +
                          "': " + std::error_code(code, std::generic_category()).message());
    };
    using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    File in(std::fopen(source.string().c_str(), "rb"), &std::fclose);
    if (!in) fail("read", source, errno);
    File out(std::fopen(target.string().c_str(), "wb"), &std::fclose);
    if (!out) fail("write", target, errno);
    std::vector<char> block(1 << 20);
    for (;;) {
        CStopSignals::ThrowIfStopped();
        const std::size_t read = std::fread(block.data(), 1, block.size(), in.get());
        if (read == 0 && std::ferror(in.get())) fail("read", source, errno);
        if (read == 0) break;
        if (std::fwrite(block.data(), 1, read, out.get()) != read) fail("write", target, errno);
    }
    if (std::fclose(out.release()) != 0) fail("write", target, errno);
    std::error_code error;
    std::filesystem::permissions(target, std::filesystem::status(source, error).permissions(),
                                 error);
    if (error) fail("set the permissions of", target, error.value());
}

}  // namespace lumtool
