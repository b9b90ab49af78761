#pragma once
// The one way the authoring tools write a file: the new content goes to a fresh file beside
// the target, created so that it can never be an existing file or a planted link, and is
// renamed over the target only once it is complete and on disk. Readers (a watching player,
// a packer) see the old file or the new one, never a part of either, and a failure leaves
// the old file as it was.
//
// What the target may be:
// - missing: it is created (mode 0666 less the umask, as any new file);
// - a regular file: it is replaced, keeping its permissions;
// - a symbolic link: refused, unless ELinks::WriteTarget asks to replace the file it leads
//   to (the link itself stays a link);
// - a file with more than one hard link, a read-only file, a folder or anything else that is
//   not a regular file: refused, since replacing it would break the other names, override
//   the owner's choice or destroy what is there.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarn::win32 {

// A write that did not happen; what() is one line naming the file and the reason.
class CFileWriteError : public std::runtime_error {
public:
    enum class EReason { System, Link, HardLinks, ReadOnly, NotRegular };
    CFileWriteError(EReason reason, const std::string& message)
        : std::runtime_error(message), m_reason(reason) {}
    EReason GetReason() const { return m_reason; }

private:
    EReason m_reason;
};

enum class ELinks { Refuse, WriteTarget };

class CFileReplacement {
public:
    // Gives the next candidate for the temporary file's name (a plain name, no folders).
    using NameSource = std::function<std::string()>;

    // Checks the target and creates the temporary file; raises CFileWriteError.
    explicit CFileReplacement(const std::filesystem::path& target, ELinks links = ELinks::Refuse,
                              NameSource names = {});
    // Removes the temporary file unless the replacement was committed.
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    void Seek(std::uint64_t offset);
    std::uint64_t Tell() const;
    // Flushes the new content to disk and renames it over the target.
    void Commit();

    // The file that is replaced: the target, or the file its link leads to.
    const std::filesystem::path& GetTarget() const { return m_target; }
    const std::filesystem::path& GetTemporary() const { return m_temporary; }

    // A fresh random name for a temporary file beside target.
    static std::string RandomName(const std::filesystem::path& target);

private:
    [[noreturn]] void Fail(const std::string& what, const std::string& reason);
    void Discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::intptr_t m_file = -1;  // the temporary file's descriptor or handle
    std::uint64_t m_position = 0;
    std::filesystem::perms m_permissions = std::filesystem::perms::unknown;
    bool m_committed = false;
};

// Replaces target with bytes at once. (Not "ReplaceFile": Windows headers take that name.)
void ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes,
                     ELinks links = ELinks::Refuse);

// True for the name of a replacement's temporary file (left behind only by a process that was
// killed outright): no content of a menu.
bool IsTemporaryName(const std::string& name);

// The file a path names once every link is followed (a missing last part stays as it is);
// empty when the links go round.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

// True when path lies below (or is) folder; both must be absolute and free of links.
bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace tarn::win32
