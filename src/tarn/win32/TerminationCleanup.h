#pragma once
// Files that must not outlive the process, even when it is ended by SIGTERM, SIGINT or SIGHUP
// (a desktop logout sends these): they are removed before the process dies of the signal.

#include <string>

namespace tarn::win32 {

// Registers the file; the first call installs the signal handlers. Signals the process
// ignores stay ignored. False when every place for such files is taken.
bool RemoveOnTermination(const std::wstring& path);
// Forgets the file again (after the program removed it itself).
void KeepOnTermination(const std::wstring& path);

}  // namespace tarn::win32
