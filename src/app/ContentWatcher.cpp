#include "app/ContentWatcher.h"

#ifdef _WIN32
#include "tarn/win32/WindowsApi.h"
#else
#include <sys/stat.h>
#endif

#include <wx/string.h>

#include <cstdint>

void CContentWatcher::Watch(const std::vector<std::wstring>& files) {
    m_files = files;
    m_states.clear();
    for (const std::wstring& file : m_files) m_states.push_back(StateOf(file));
}

bool CContentWatcher::Poll() {
    bool changed = false;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const SState now = StateOf(m_files[i]);
        if (now == m_states[i]) continue;
        m_states[i] = now;
        changed = true;
    }
    return changed;
}

#ifdef _WIN32
CContentWatcher::SState CContentWatcher::StateOf(const std::wstring& file) {
    SState state;
    // Opened for its facts only, shared every way, so that no editor is kept from saving.
    const HANDLE handle = ::CreateFileW(file.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return state;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known) return state;
    const auto join = [](DWORD high, DWORD low) { return std::uint64_t{high} << 32 | low; };
    state.exists = true;
    state.size = static_cast<std::int64_t>(join(info.nFileSizeHigh, info.nFileSizeLow));
    // Ticks of 100 ns rather than nanoseconds: only ever compared.
    state.modified = static_cast<std::int64_t>(
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    // The file's number on its volume: a file saved by renaming over this one has another.
    state.inode = join(info.nFileIndexHigh, info.nFileIndexLow);
    return state;
}
#else
CContentWatcher::SState CContentWatcher::StateOf(const std::wstring& file) {
    SState state;
    struct stat info {};
    const wxCharBuffer bytes = wxString(file).fn_str();
    if (!bytes.data() || ::stat(bytes.data(), &info) != 0) return state;
    state.exists = true;
    state.size = static_cast<std::int64_t>(info.st_size);
    state.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    state.inode = static_cast<std::uint64_t>(info.st_ino);
    return state;
}
#endif

void CContentWatchTimer::Notify() {
    // A reload that dispatches events (its splash or a slow disk) must not start another.
    if (m_busy) return;
    m_busy = true;
    if (m_watcher.Poll() && m_changed) m_changed();
    m_busy = false;
}
