#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tarn/win32/RegularFile.h"

namespace tarn::win32 {

std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::string& reason) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one for good.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        reason = errno == ELOOP ? "is a link" : std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    // What counts is the file that is open now, not what the name was when it was listed.
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        reason = "is not a regular file";
        return nullptr;
    }
    // Regular files never block; reads go on as usual.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(descriptor, "rb");
    if (!file) {
        reason = std::strerror(errno);
        ::close(descriptor);
    }
    return file;
}

}  // namespace tarn::win32
