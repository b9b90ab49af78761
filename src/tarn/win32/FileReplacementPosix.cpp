#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tarn/win32/FileReplacementSystem.h"

namespace tarn::win32::replacement {

int CreateExclusive(const std::filesystem::path& path, std::intptr_t& file) {
    // O_EXCL refuses any existing name, a dangling link included; O_NOFOLLOW says so twice.
    const int descriptor =
        ::open(path.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor < 0) return errno;
    file = descriptor;
    return 0;
}

int WriteAll(std::intptr_t file, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(static_cast<int>(file), bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int SeekTo(std::intptr_t file, std::uint64_t offset) {
    return ::lseek(static_cast<int>(file), static_cast<off_t>(offset), SEEK_SET) < 0 ? errno : 0;
}

int SyncAndClose(std::intptr_t file) {
    const int descriptor = static_cast<int>(file);
    // A full disk may show only here, on file systems that allocate late.
    int error = ::fsync(descriptor) == 0 ? 0 : errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    return error;
}

void Close(std::intptr_t file) { ::close(static_cast<int>(file)); }

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

std::string Describe(int error) { return std::strerror(error); }

bool IsNameTaken(int error) { return error == EEXIST || error == ELOOP; }

}  // namespace tarn::win32::replacement
