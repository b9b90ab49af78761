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

bool CMutexImpl::TryLock(std::uint32_t timeoutMilliseconds) {
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMilliseconds));
}

std::string CGlobalMutexImpl::LockPathFor(const std::wstring& name) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string file = "lumplayer-mutex-";
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
    m_descriptor = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_descriptor < 0) throw CException(L"Error createing global mutex", L"Error");
}

CGlobalMutexImpl::~CGlobalMutexImpl() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}

void CGlobalMutexImpl::Lock() {
    int result = 0;
    do {
        result = ::flock(m_descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) throw CException(L"Error locking global mutex " + m_name, L"Error");
}

bool CGlobalMutexImpl::TryLock(std::uint32_t timeoutMilliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    for (;;) {
        if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CGlobalMutexImpl::Unlock() { ::flock(m_descriptor, LOCK_UN); }

}  // namespace tarn::win32
