#pragma once
// Notices when files change on disk: author mode watches product.xml and every file it names
// and reloads the menu when one of them changes. Polling keeps it simple and works on every
// file system, network mounts included; a few stat calls every 300 ms cost nothing.

#include <wx/timer.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CContentWatcher {
public:
    static constexpr int kPollMilliseconds = 300;

    // What a file looked like at one poll; a missing file is a state too.
    struct SState {
        bool exists = false;
        std::int64_t size = -1;
        std::int64_t modified = 0;  // nanoseconds (POSIX) or ticks of 100 ns (Windows)
        std::uint64_t inode = 0;
        bool operator==(const SState& other) const {
            return exists == other.exists && size == other.size && modified == other.modified &&
                   inode == other.inode;
        }
    };

    // Watches these files from their state now on.
    void Watch(const std::vector<std::wstring>& files);
    // True when a watched file changed since Watch or the poll before.
    bool Poll();
    const std::vector<std::wstring>& GetFiles() const { return m_files; }

    static SState StateOf(const std::wstring& file);

private:
    std::vector<std::wstring> m_files;
    std::vector<SState> m_states;
};

// Polls a watcher with a toolkit timer and calls back on the GUI thread when a file changed.
class CContentWatchTimer : public wxTimer {
public:
    explicit CContentWatchTimer(CContentWatcher& watcher, std::function<void()> changed)
        : m_watcher(watcher), m_changed(std::move(changed)) {}
    void Notify() override;

private:
    CContentWatcher& m_watcher;
    std::function<void()> m_changed;
    bool m_busy = false;
};
