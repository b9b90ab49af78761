#pragma once
// Opens a file of a menu folder for reading only when it is a plain file at that moment: a
// name that was a picture when the folder was listed may have become a FIFO, a device or a
// link since, and reading one of those would block the player or read what is not the menu's.

#include <cstdio>
#include <filesystem>
#include <string>

namespace tarn::win32 {

// Opens path (whose links the caller has already resolved: a link in its last part is refused)
// without blocking, and keeps it open only when the open file is a regular file on disk. Null
// when not, with the reason for a menu author in reason (such as "is not a regular file").
std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::string& reason);

}  // namespace tarn::win32
