// The named mutex on Windows: a kernel mutex, which already lets its owning thread lock again
// and refuses a release by any other thread.

#include "tarn/win32/WindowsApi.h"

#include "tarn/Exception.h"
#include "tarn/win32/Mutex.h"

namespace tarn::win32 {

namespace {

// Waits for the mutex. A former owner that ended without releasing it leaves it abandoned:
// the wait then hands it over all the same; it is released and waited for once more, so
// that the lock is taken in the ordinary way.
bool Wait(HANDLE mutex, DWORD milliseconds) {
    DWORD result = ::WaitForSingleObject(mutex, milliseconds);
    if (result == WAIT_ABANDONED) {
        ::ReleaseMutex(mutex);
        result = ::WaitForSingleObject(mutex, milliseconds);
    }
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

}  // namespace

CGlobalMutexImpl::CGlobalMutexImpl(const std::wstring& name) : m_name(name) {
    m_handle = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (!m_handle) throw CException(L"Error createing global mutex", L"Error");
}

CGlobalMutexImpl::~CGlobalMutexImpl() {
    if (m_handle) ::CloseHandle(m_handle);
}

void CGlobalMutexImpl::Lock() {
    if (!Wait(m_handle, INFINITE)) {
        throw CException(L"Error locking global mutex " + m_name, L"Error");
    }
}

bool CGlobalMutexImpl::TryLock(std::uint32_t timeoutMilliseconds) {
    // INFINITE is a timeout of its own; a caller's limit stays a limit.
    const DWORD wait = timeoutMilliseconds == INFINITE ? INFINITE - 1 : timeoutMilliseconds;
    return Wait(m_handle, wait);
}

void CGlobalMutexImpl::Unlock() { ::ReleaseMutex(m_handle); }

}  // namespace tarn::win32
