#include "tarn/win32/WindowsApi.h"

#include <fcntl.h>
#include <io.h>

#include "tarn/win32/RegularFile.h"

namespace tarn::win32 {

std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::string& reason) {
    // A reparse point (a link) in the last part is opened as itself and refused below.
    const HANDLE handle = ::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = "cannot be opened (error " + std::to_string(::GetLastError()) + ")";
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    // Pipes, consoles and devices are not disk files; folders and links are not plain files.
    if (::GetFileType(handle) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
        ::CloseHandle(handle);
        reason = "is not a regular file";
        return nullptr;
    }
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        reason = "cannot be opened";
        return nullptr;
    }
    std::FILE* file = ::_fdopen(descriptor, "rb");
    if (!file) {
        ::_close(descriptor);  // closes the handle too
        reason = "cannot be opened";
    }
    return file;
}

}  // namespace tarn::win32
