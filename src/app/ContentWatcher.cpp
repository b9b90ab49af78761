#include "app/ContentWatcher.h"

#include <sys/stat.h>

#include <wx/string.h>

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
    struct _stat64 info {};
    if (::_wstat64(file.c_str(), &info) != 0) return state;
    state.exists = true;
    state.size = static_cast<std::int64_t>(info.st_size);
    // Whole seconds only; a file replaced within the same second still shows in its size.
    state.modified = static_cast<std::int64_t>(info.st_mtime) * 1000000000;
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
