#include "tarn/win32/FileReplacement.h"

#include <random>
#include <system_error>

#include "tarn/PathText.h"
#include "tarn/Text.h"
#include "tarn/win32/FileReplacementSystem.h"
#include "tarn/win32/TerminationCleanup.h"

namespace tarn::win32 {

namespace fs = std::filesystem;

namespace {

// Links followed before a chain counts as a loop, as the systems themselves do.
constexpr int kMaxLinkHops = 40;
// Names tried before giving up; a taken random name is already rare.
constexpr int kMaxNameAttempts = 100;
constexpr const char* kTemporaryMark = ".lumtool-";

fs::path PathOfUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

// The name as the clean-up registry takes it, whatever bytes the name holds.
std::wstring CleanupName(const fs::path& path) { return FromUtf8(Utf8Of(path)); }

std::string Quoted(const fs::path& path) { return "'" + Utf8Of(path) + "'"; }

[[noreturn]] void Refuse(CFileWriteError::EReason reason, const fs::path& target,
                         const std::string& why) {
    throw CFileWriteError(reason, "cannot write " + Quoted(target) + ": " + why);
}

// Refuses what a replacement must not touch; returns the permissions to keep, or unknown
// for a new file.
fs::perms CheckReplaceable(const fs::path& requested, const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (!fs::exists(status)) return fs::perms::unknown;
    if (fs::is_directory(status)) {
        Refuse(CFileWriteError::EReason::NotRegular, requested, "it is a folder");
    }
    if (!fs::is_regular_file(status)) {
        Refuse(CFileWriteError::EReason::NotRegular, requested, "it is not a regular file");
    }
    const std::uintmax_t names = fs::hard_link_count(target, error);
    if (!error && names > 1) {
        Refuse(CFileWriteError::EReason::HardLinks, requested,
               "it has " + std::to_string(names) +
                   " names (hard links), and replacing it would part them");
    }
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        Refuse(CFileWriteError::EReason::ReadOnly, requested, "it is read-only");
    }
    return status.permissions();
}

}  // namespace

fs::path FollowLinks(const fs::path& path) {
    std::error_code error;
    fs::path current = fs::absolute(path, error).lexically_normal();
    if (!current.has_filename() && current.has_parent_path()) current = current.parent_path();
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            // The folders on the way may be links too.
            const fs::path folder = fs::weakly_canonical(current.parent_path(), error);
            return error ? fs::path() : folder / current.filename();
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) return {};
        current = (next.is_absolute() ? next : current.parent_path() / next).lexically_normal();
    }
    return {};
}

bool IsWithin(const fs::path& path, const fs::path& folder) {
    auto part = path.begin();
    for (auto own = folder.begin(); own != folder.end(); ++own, ++part) {
        if (own->empty()) continue;  // the empty last part of "folder/"
        if (part == path.end() || *part != *own) return false;
    }
    return true;
}

std::string CFileReplacement::RandomName(const fs::path& target) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 35);
    std::string name = "." + Utf8Of(target.filename()) + kTemporaryMark;
    for (int i = 0; i < 12; ++i) name += kDigits[digit(source)];
    return name;
}

bool IsTemporaryName(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    return !name.empty() && name[0] == '.' && mark != std::string::npos &&
           name.size() == mark + std::string(kTemporaryMark).size() + 12;
}

CFileReplacement::CFileReplacement(const fs::path& target, ELinks links, NameSource names) {
    std::error_code error;
    m_target = target;
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        if (links == ELinks::Refuse) {
            Refuse(CFileWriteError::EReason::Link, target, "it is a symbolic link");
        }
        m_target = FollowLinks(target);
        if (m_target.empty()) {
            Refuse(CFileWriteError::EReason::Link, target, "its links lead round in a circle");
        }
    }
    m_permissions = CheckReplaceable(target, m_target);
    const fs::path folder = m_target.has_parent_path() ? m_target.parent_path() : fs::path(".");
    if (!names) names = [this] { return RandomName(m_target); };
    int failure = 0;
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const fs::path candidate = folder / PathOfUtf8(names());
        failure = replacement::CreateExclusive(candidate, m_file);
        if (failure == 0) {
            m_temporary = candidate;
            // A desktop logout or Ctrl+C must not leave it behind.
            RemoveOnTermination(CleanupName(m_temporary));
            return;
        }
        if (!replacement::IsNameTaken(failure)) break;
    }
    Fail("cannot write " + Quoted(target), replacement::Describe(failure));
}

CFileReplacement::~CFileReplacement() {
    if (!m_committed) Discard();
}

void CFileReplacement::Discard() {
    if (m_file != replacement::kNoFile) replacement::Close(m_file);
    m_file = replacement::kNoFile;
    if (!m_temporary.empty()) {
        std::error_code ignored;
        fs::remove(m_temporary, ignored);
        KeepOnTermination(CleanupName(m_temporary));
    }
}

void CFileReplacement::Fail(const std::string& what, const std::string& reason) {
    Discard();
    m_committed = true;  // nothing is left to clean up
    throw CFileWriteError(CFileWriteError::EReason::System, what + ": " + reason);
}

void CFileReplacement::Write(const void* data, std::size_t size) {
    if (size == 0) return;
    if (const int error = replacement::WriteAll(m_file, data, size)) {
        Fail("cannot write " + Quoted(m_target), replacement::Describe(error));
    }
    m_position += size;
}

void CFileReplacement::Seek(std::uint64_t offset) {
    if (const int error = replacement::SeekTo(m_file, offset)) {
        Fail("cannot write " + Quoted(m_target), replacement::Describe(error));
    }
    m_position = offset;
}

std::uint64_t CFileReplacement::Tell() const { return m_position; }

void CFileReplacement::Commit() {
    const std::intptr_t file = m_file;
    m_file = replacement::kNoFile;
    if (const int error = replacement::SyncAndClose(file)) {
        Fail("cannot write " + Quoted(m_target), replacement::Describe(error));
    }
    if (m_permissions != fs::perms::unknown) {
        std::error_code error;
        fs::permissions(m_temporary, m_permissions, error);
        if (error) Fail("cannot keep the permissions of " + Quoted(m_target), error.message());
    }
    if (const int error = replacement::RenameOver(m_temporary, m_target)) {
        Fail("cannot replace " + Quoted(m_target), replacement::Describe(error));
    }
    KeepOnTermination(CleanupName(m_temporary));
    m_committed = true;
    replacement::SyncFolder(m_target.has_parent_path() ? m_target.parent_path() : fs::path("."));
}

void ReplaceFileWith(const fs::path& target, std::string_view bytes, ELinks links) {
    CFileReplacement replacement(target, links);
    replacement.Write(bytes);
    replacement.Commit();
}

}  // namespace tarn::win32
