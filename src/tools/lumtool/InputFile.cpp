#include "InputFile.h"

#include <cstdio>
#include <memory>

#include "Command.h"
#include "tarn/win32/RegularFile.h"

namespace lumtool {

namespace {

[[noreturn]] void TooLarge(const std::filesystem::path& path, std::uint64_t limit,
                           const std::string& reader) {
    throw CUsageError("'" + path.string() + "' is larger than " + reader + " (" +
                      std::to_string(limit >> 20) + " MiB)");
}

}  // namespace

std::string ReadInputFile(const std::filesystem::path& path, std::uint64_t limit,
                          const std::string& reader) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(path, error);
    if (error) throw CUsageError("cannot read '" + path.string() + "' (" + error.message() + ")");
    std::string reason;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
        tarn::win32::OpenRegularFileForReading(file, reason), &std::fclose);
    if (!in) throw CUsageError("cannot read '" + path.string() + "' (" + reason + ")");
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > limit) TooLarge(path, limit, reader);
    std::string bytes;
    if (!error) bytes.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;) {
        if (bytes.size() + got > limit) TooLarge(path, limit, reader);
        bytes.append(buffer, got);
    }
    if (std::ferror(in.get())) throw CUsageError("cannot read '" + path.string() + "'");
    return bytes;
}

}  // namespace lumtool
