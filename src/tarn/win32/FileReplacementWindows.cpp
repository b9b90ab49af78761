#include <windows.h>

#include "tarn/win32/FileReplacementSystem.h"

namespace tarn::win32::replacement {

namespace {

HANDLE HandleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

int LastError() { return static_cast<int>(::GetLastError()); }

}  // namespace

int CreateExclusive(const std::filesystem::path& path, std::intptr_t& file) {
    // CREATE_NEW fails on any existing name, a link's included.
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    file = reinterpret_cast<std::intptr_t>(handle);
    return 0;
}

int WriteAll(std::intptr_t file, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(HandleOf(file), bytes, chunk, &written, nullptr)) return LastError();
        bytes += written;
        size -= written;
    }
    return 0;
}

int SeekTo(std::intptr_t file, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(HandleOf(file), to, nullptr, FILE_BEGIN) ? 0 : LastError();
}

int SyncAndClose(std::intptr_t file) {
    int error = ::FlushFileBuffers(HandleOf(file)) ? 0 : LastError();
    if (!::CloseHandle(HandleOf(file)) && error == 0) error = LastError();
    return error;
}

void Close(std::intptr_t file) { ::CloseHandle(HandleOf(file)); }

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : LastError();
}

void SyncFolder(const std::filesystem::path&) {}  // MOVEFILE_WRITE_THROUGH did it

std::string Describe(int error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(error) : message;
}

bool IsNameTaken(int error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

}  // namespace tarn::win32::replacement
