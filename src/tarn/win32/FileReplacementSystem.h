#pragma once
// The system calls behind CFileReplacement, one implementation per system. Each returns 0 or
// the system's error number.

#include <cstdint>
#include <filesystem>
#include <string>

namespace tarn::win32::replacement {

inline constexpr std::intptr_t kNoFile = -1;

// Creates path as a new file for writing; fails when any file or link has that name.
int CreateExclusive(const std::filesystem::path& path, std::intptr_t& file);
int WriteAll(std::intptr_t file, const void* data, std::size_t size);
int SeekTo(std::intptr_t file, std::uint64_t offset);
// Makes the content durable, then closes the file (closed even on failure).
int SyncAndClose(std::intptr_t file);
void Close(std::intptr_t file);
// Renames from over to in one step; to is replaced when it exists.
int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes a rename in folder durable, where the system needs that; failures are ignored.
void SyncFolder(const std::filesystem::path& folder);
// The system's own words for an error number, such as "No space left on device".
std::string Describe(int error);
// The error numbers of a name that is taken, and of a full disk.
bool IsNameTaken(int error);

}  // namespace tarn::win32::replacement
