#pragma once
// A folder that lumtool writes a result into before it moves the result into place: whatever
// ends the run early (a full disk, a bad file, Ctrl+C) leaves the place as it was. A run that
// is killed outright leaves only the staging folder, named so that nobody takes it for a
// result.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "Command.h"

namespace lumtool {

// A name in folder that nothing has yet: prefix, six random letters and digits, suffix.
inline std::filesystem::path UnusedName(const std::filesystem::path& folder,
                                        const std::string& prefix, const std::string& suffix = {}) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (;;) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        const std::filesystem::path path = folder / (name + suffix);
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return path;
    }
}

class CStagingFolder {
public:
    // Makes a new, empty folder in parent, named as UnusedName does. Raises CUsageError with
    // the system's reason when it cannot.
    CStagingFolder(const std::filesystem::path& parent, const std::string& prefix) {
        std::error_code error;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = UnusedName(parent, prefix);
            // False without an error: another run took the name in between.
            if (std::filesystem::create_directory(m_path, error)) return;
            if (error) break;
        }
        throw CUsageError("cannot make a folder in '" + parent.string() +
                          "': " + (error ? error.message() : "every name is taken"));
    }
    CStagingFolder(const CStagingFolder&) = delete;
    CStagingFolder& operator=(const CStagingFolder&) = delete;
    // Removes the folder and everything still in it, unless it was kept.
    ~CStagingFolder() {
        if (m_path.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

    const std::filesystem::path& Path() const { return m_path; }
    // The folder has become the result (it was renamed into place): it stays.
    void Keep() { m_path.clear(); }

private:
    std::filesystem::path m_path;
};

// A folder that the run makes when it is missing (with the missing folders above it), and
// removes again, with what is in it, unless the run succeeded.
class CCreatedFolder {
public:
    explicit CCreatedFolder(const std::filesystem::path& folder) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
        for (std::filesystem::path at = absolute; !at.empty() && at != at.parent_path();
             at = at.parent_path()) {
            if (std::filesystem::exists(std::filesystem::symlink_status(at, error))) break;
            m_topmost = at;
        }
        std::filesystem::create_directories(absolute, error);
        if (error) {
            Remove();
            throw CUsageError("cannot create the folder '" + folder.string() +
                              "': " + error.message());
        }
    }
    CCreatedFolder(const CCreatedFolder&) = delete;
    CCreatedFolder& operator=(const CCreatedFolder&) = delete;
    ~CCreatedFolder() { Remove(); }

    // The run succeeded: the folders stay.
    void Keep() { m_topmost.clear(); }

private:
    void Remove() {
        if (m_topmost.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(m_topmost, error);
    }

    std::filesystem::path m_topmost;  // the outermost folder made, or empty
};

}  // namespace lumtool
