// The named mutex on POSIX: an flock on a file in the temporary folder.

#include "tarn/win32/Mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace tarn::win32 {

std::string CGlobalMutexImpl::LockPathFor(const std::wstring& name) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Per user: another user's process can neither block nor take our mutexes.
    std::string file = "lumplayer-mutex-" + std::to_string(::getuid()) + "-";
    for (const char c : ToUtf8(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.') {
            file += c;
        } else {
            file += '_';
            file += kHex[byte >> 4];
            file += kHex[byte & 0x0F];
        }
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) folder = "/tmp";
    return (folder / file).string();
}

CGlobalMutexImpl::CGlobalMutexImpl(const std::wstring& name)
    : m_name(name), m_path(LockPathFor(name)) {
    m_descriptor = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_descriptor < 0) throw CException(L"Error createing global mutex", L"Error");
}

CGlobalMutexImpl::~CGlobalMutexImpl() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}

bool CGlobalMutexImpl::LockFile(bool wait, std::chrono::steady_clock::time_point end) {
    for (;;) {
        if (::flock(m_descriptor, wait ? LOCK_EX : LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (!wait && std::chrono::steady_clock::now() >= end) return false;
        if (!wait) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CGlobalMutexImpl::Entered() {
    if (m_depth++ == 0) m_owner = std::this_thread::get_id();
}

void CGlobalMutexImpl::Lock() {
    m_threads.lock();
    if (m_depth == 0 && !LockFile(true, {})) {
        m_threads.unlock();
        throw CException(L"Error locking global mutex " + m_name, L"Error");
    }
    Entered();
}

bool CGlobalMutexImpl::TryLock(std::uint32_t timeoutMilliseconds) {
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    if (!m_threads.try_lock_until(end)) return false;
    if (m_depth == 0 && !LockFile(false, end)) {
        m_threads.unlock();
        return false;
    }
    Entered();
    return true;
}

void CGlobalMutexImpl::Unlock() {
    // Only the owning thread may unlock (another thread's unlock of the thread mutex would be
    // undefined); the file lock goes with the outermost unlock.
    if (m_owner != std::this_thread::get_id()) return;
    if (--m_depth == 0) {
        m_owner = std::thread::id();
        ::flock(m_descriptor, LOCK_UN);
    }
    m_threads.unlock();
}

}  // namespace tarn::win32
