#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tarn/Text.h"
#include "tarn/win32/NativeFiles.h"

namespace tarn::win32 {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

}  // namespace

std::filesystem::path NativePath(const std::wstring& path) {
    return std::filesystem::path(ToUtf8(path));
}

std::FILE* OpenNativeFileForReading(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "rb");
}

std::error_code RemoveFileName(const std::filesystem::path& path) {
    // Removing a name needs no write access to the file itself here.
    return ::unlink(path.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code CreateNewFile(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (descriptor < 0) return LastError();
    ::close(descriptor);
    return {};
}

std::error_code CreateNewFolder(const std::filesystem::path& path) {
    return ::mkdir(path.c_str(), 0777) == 0 ? std::error_code() : LastError();
}

}  // namespace tarn::win32
