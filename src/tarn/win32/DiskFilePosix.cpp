// Disk files on POSIX: descriptors, with the sharing modes as advisory flock.

#include "tarn/win32/DiskFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>
#include <utility>

#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/Pathes.h"

namespace tarn::win32 {

static_assert(sizeof(off_t) >= sizeof(std::int64_t), "disk streams need 64-bit file offsets");

namespace {

// One system call moves at most this much; larger transfers loop.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

// What another opener hears when the sharing of an open stream refuses it.
constexpr const wchar_t* kSharingViolation =
    L"The process cannot access the file because it is being used by another process.";

std::wstring SystemText(int code) { return FromUtf8(std::system_category().message(code)); }

// Closes a descriptor that is not yet handed over, when opening fails half-way.
class CDescriptorGuard {
public:
    explicit CDescriptorGuard(int fd) : m_fd(fd) {}
    CDescriptorGuard(const CDescriptorGuard&) = delete;
    CDescriptorGuard& operator=(const CDescriptorGuard&) = delete;
    ~CDescriptorGuard() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// writes: the opening changes the file, by writing or by emptying a replaced file. A replaced
// file is emptied only once the lock is held (below), so a refused open never destroys
// another stream's data; the descriptor then needs write access even for a reading stream.
int OpenFlags(bool reads, bool writes, int creation) {
    int flags = O_CLOEXEC | O_NOCTTY;
    // A FIFO would wait for a partner forever; it is refused as soon as it is open.
    flags |= O_NONBLOCK;
    flags |= reads && writes ? O_RDWR : (writes ? O_WRONLY : O_RDONLY);
    if (creation != CStreamMode::kOpenExisting) flags |= O_CREAT;
    return flags;
}

// Sharing as advisory flock, which binds the other disk streams (and any other flock user):
// - none: an exclusive lock, so no other stream can open the file at all;
// - others may read: a shared lock for a stream that only reads, so readers sharing alike
//   come together; an exclusive one for a stream that writes, since nobody may then join;
// - others may do anything: a shared lock, which keeps out only the streams above that want
//   the file for themselves.
// A shared-with-everyone writer may thus join a reader that allowed only reading: two lock
// levels cannot say more. A conflict fails at once instead of waiting.
int LockOperation(int sharing, bool writes) {
    const bool exclusive =
        sharing == CStreamMode::kShareNone || (sharing == CStreamMode::kShareRead && writes);
    return (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
}

}  // namespace

CDiskFile::~CDiskFile() {
    try {
        Close();
    } catch (const CException&) {
        // Nobody is left to tell; Close reports to callers who ask.
    }
}

bool CDiskFile::IsOpen() const { return m_fd >= 0; }

void CDiskFile::Open(const P<CURI>& uri, const CStreamMode& mode, unsigned kindAccess,
                     const IBase* owner) {
    if (IsOpen()) throw CInvalidObjectStateError(L"the file is open already", owner);
    mode.Validate(L"Open", owner);
    if (!IsLocalFileURI(uri)) throw CFileNotFoundError(uri);

    const std::wstring path = CPathes::URIToLocalPath(uri, false);
    // An escaped NUL would cut the path short and name another file.
    if (path.find(L'\0') != std::wstring::npos) throw CFileNotFoundError(uri);
    std::string localPath = ToUtf8(path);

    const unsigned access = mode.access | kindAccess;
    const bool reads = (access & CStreamMode::kRead) != 0;
    const bool writes = (access & CStreamMode::kWrite) != 0 ||
                        mode.creation == CStreamMode::kCreateAlways;

    int fd = -1;
    do {
        fd = ::open(localPath.c_str(), OpenFlags(reads, writes, mode.creation), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) throw CFileNotFoundError(uri);
        throw CError(SystemText(errno));
    }
    CDescriptorGuard guard(fd);

    struct stat status {};
    if (::fstat(fd, &status) != 0) throw CError(SystemText(errno));
    if (S_ISDIR(status.st_mode)) throw CError(SystemText(EISDIR));
    if (!S_ISREG(status.st_mode)) throw CError(L"The path does not name a regular file.");

    int locked = -1;
    do {
        locked = ::flock(fd, LockOperation(mode.sharing, writes));
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (errno == EWOULDBLOCK) throw CError(kSharingViolation);
        throw CError(SystemText(errno));
    }

    if (mode.creation == CStreamMode::kCreateAlways && ::ftruncate(fd, 0) != 0) {
        throw CError(SystemText(errno));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        throw CError(SystemText(errno));
    }

    m_uri = uri;
    m_path = std::move(localPath);
    m_deleteOnClose = mode.deleteOnClose;
    m_device = status.st_dev;
    m_inode = status.st_ino;
    m_owner = owner;
    m_fd = guard.Release();
}

void CDiskFile::Close() {
    if (m_fd < 0) return;
    int failure = 0;
    if (m_deleteOnClose) {
        // Only while the path still names the opened file: it may have been moved or replaced.
        struct stat status {};
        if (::lstat(m_path.c_str(), &status) == 0 && status.st_dev == m_device &&
            status.st_ino == m_inode && ::unlink(m_path.c_str()) != 0) {
            failure = errno;
        }
    }
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR && failure == 0) {
        failure = errno;
    }
    if (failure != 0) throw CError(SystemText(failure));
}

int CDiskFile::Descriptor() const {
    if (m_fd < 0) throw CStreamClosedError(m_uri);
    return m_fd;
}

void CDiskFile::Read(void* buffer, std::size_t count) {
    if (ReadSome(buffer, count) < count) throw CEndOfStreamError(m_uri);
}

std::size_t CDiskFile::ReadSome(void* buffer, std::size_t count) {
    const int fd = Descriptor();
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, bytes + done, std::min(count - done, kMaxTransfer));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw CError(SystemText(errno));
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void CDiskFile::Write(const void* data, std::size_t count) {
    const int fd = Descriptor();
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(fd, bytes + done, std::min(count - done, kMaxTransfer));
        if (put < 0) {
            if (errno == EINTR) continue;
            throw CError(SystemText(errno));
        }
        // A file that takes nothing will not take the rest either.
        if (put == 0) throw CError(SystemText(ENOSPC));
        done += static_cast<std::size_t>(put);
    }
}

void CDiskFile::Flush() {
    const int fd = Descriptor();
    int synced = -1;
    do {
        synced = ::fsync(fd);
    } while (synced != 0 && errno == EINTR);
    if (synced != 0) throw CError(SystemText(errno));
}

std::uint64_t CDiskFile::GetPosition() const {
    const off_t position = ::lseek(Descriptor(), 0, SEEK_CUR);
    if (position < 0) throw CError(SystemText(errno));
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CDiskFile::GetSize() const {
    struct stat status {};
    if (::fstat(Descriptor(), &status) != 0) throw CError(SystemText(errno));
    return static_cast<std::uint64_t>(status.st_size);
}

std::uint64_t CDiskFile::Seek(std::int64_t offset, ESeekOrigin origin) {
    const int fd = Descriptor();
    const int whence = origin == ESeekOrigin::Begin     ? SEEK_SET
                       : origin == ESeekOrigin::Current ? SEEK_CUR
                                                        : SEEK_END;
    const off_t position = ::lseek(fd, static_cast<off_t>(offset), whence);
    if (position < 0) {
        // The system's word for a position before the start (or past what it can address).
        if (errno == EINVAL) throw CInvalidArgError(L"Seek", L"offset", m_owner);
        throw CError(SystemText(errno));
    }
    return static_cast<std::uint64_t>(position);
}

void CDiskFile::SetSize(std::uint64_t size) {
    const int fd = Descriptor();
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        throw CInvalidArgError(L"SetSize", L"size", m_owner);
    }
    int done = -1;
    do {
        done = ::ftruncate(fd, static_cast<off_t>(size));
    } while (done != 0 && errno == EINTR);
    if (done != 0) throw CError(SystemText(errno));
}

}  // namespace tarn::win32
