#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/NativeFiles.h"

namespace tarn::win32 {

namespace {

std::error_code LastError() {
    return std::error_code(static_cast<int>(::GetLastError()), std::system_category());
}

}  // namespace

std::filesystem::path NativePath(const std::wstring& path) { return std::filesystem::path(path); }

std::FILE* OpenNativeFileForReading(const std::filesystem::path& path) {
    return ::_wfopen(path.c_str(), L"rb");
}

std::error_code RemoveFileName(const std::filesystem::path& path) {
    if (::DeleteFileW(path.c_str())) return {};
    // A read-only file goes like any other: clear the attribute and try once more.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (::DeleteFileW(path.c_str())) return {};
        const std::error_code error = LastError();
        ::SetFileAttributesW(path.c_str(), attributes);
        return error;
    }
    return LastError();
}

std::error_code CreateNewFile(const std::filesystem::path& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    ::CloseHandle(file);
    return {};
}

std::error_code CreateNewFolder(const std::filesystem::path& path) {
    return ::CreateDirectoryW(path.c_str(), nullptr) ? std::error_code() : LastError();
}

}  // namespace tarn::win32
