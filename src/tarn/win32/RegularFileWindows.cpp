#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/RegularFile.h"

namespace tarn::win32 {

std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::string& reason) {
    // Held without FILE_SHARE_DELETE while the file is looked at and opened once more for the
    // stream: meanwhile the name cannot be moved away or replaced. A reparse point (a link) in
    // the last part is opened as itself and refused below.
    const HANDLE handle =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = "cannot be opened (error " + std::to_string(::GetLastError()) + ")";
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    // Pipes, consoles and devices are not disk files; folders and links are not plain files.
    const bool regular =
        ::GetFileType(handle) == FILE_TYPE_DISK &&
        ::GetFileInformationByHandle(handle, &information) &&
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
    std::FILE* file = regular ? ::_wfopen(path.c_str(), L"rb") : nullptr;
    ::CloseHandle(handle);
    if (!file) reason = regular ? "cannot be opened" : "is not a regular file";
    return file;
}

}  // namespace tarn::win32
