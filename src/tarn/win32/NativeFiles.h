#pragma once
// The few file operations whose system calls differ between POSIX and Windows; each returns
// the system's error (empty on success).

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace tarn::win32 {

// A path text as the file system takes it: UTF-8 bytes on POSIX, UTF-16 on Windows.
std::filesystem::path NativePath(const std::wstring& path);

// Opens a file for reading in binary mode by its native name (no conversion through the
// locale); null when it cannot be opened.
std::FILE* OpenNativeFileForReading(const std::filesystem::path& path);

// Removes a file name without touching the file's permissions first.
std::error_code RemoveFileName(const std::filesystem::path& path);
// Creates a new, empty file; fails when the name is taken.
std::error_code CreateNewFile(const std::filesystem::path& path);
// Creates a new folder; fails when the name is taken.
std::error_code CreateNewFolder(const std::filesystem::path& path);

}  // namespace tarn::win32
