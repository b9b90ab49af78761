#include "tarn/win32/ProcessStarter.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace tarn::win32 {

namespace {

// Owns the attributes and file actions of one spawn.
class CSpawnSettings {
public:
    CSpawnSettings() {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
    }
    ~CSpawnSettings() {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_actions);
    }
    CSpawnSettings(const CSpawnSettings&) = delete;
    CSpawnSettings& operator=(const CSpawnSettings&) = delete;

    bool Prepare(const std::string& folder) {
        if (!folder.empty() &&
            posix_spawn_file_actions_addchdir_np(&m_actions, folder.c_str()) != 0) {
            return false;
        }
        // Whatever the toolkit or a library opened without close-on-exec stays behind.
        if (posix_spawn_file_actions_addclosefrom_np(&m_actions, 3) != 0) return false;
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        return posix_spawnattr_setsigmask(&m_attributes, &none) == 0 &&
               posix_spawnattr_setsigdefault(&m_attributes, &all) == 0 &&
               posix_spawnattr_setflags(&m_attributes,
                                        POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
    }

    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }
    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

}  // namespace

bool StartDetached(const std::vector<std::string>& words, const std::string& folder) {
    if (words.empty() || words.front().empty()) return false;
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    CSpawnSettings settings;
    if (!settings.Prepare(folder)) return false;
    pid_t child = 0;
    if (posix_spawnp(&child, argv.front(), settings.Actions(), settings.Attributes(), argv.data(),
                     environ) != 0) {
        return false;
    }
    // The program's answer is not awaited; only the finished child is collected.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return true;
}

}  // namespace tarn::win32
