// Files that must not outlive the process: Windows ends a process at logout or shutdown
// after asking its console control handler, which removes them first.

#include "tarn/win32/WindowsApi.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "tarn/win32/TerminationCleanup.h"

namespace tarn::win32 {

namespace {

constexpr std::size_t kSlots = 8;

std::mutex g_files_mutex;
std::vector<std::wstring> g_files;  // guarded by g_files_mutex

BOOL WINAPI OnControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT ||
        event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        std::lock_guard lock(g_files_mutex);
        for (const std::wstring& file : g_files) ::DeleteFileW(file.c_str());
    }
    return FALSE;  // the process then ends as it would have
}

}  // namespace

bool RemoveOnTermination(const std::wstring& path) {
    if (path.empty()) return false;
    std::lock_guard lock(g_files_mutex);
    static const bool installed = ::SetConsoleCtrlHandler(&OnControl, TRUE) != FALSE;
    (void)installed;
    if (g_files.size() >= kSlots) return false;
    g_files.push_back(path);
    return true;
}

void KeepOnTermination(const std::wstring& path) {
    std::lock_guard lock(g_files_mutex);
    g_files.erase(std::remove(g_files.begin(), g_files.end(), path), g_files.end());
}

}  // namespace tarn::win32
