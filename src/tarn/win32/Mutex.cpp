#include "tarn/win32/Mutex.h"

#include <chrono>

namespace tarn::win32 {

bool CMutexImpl::TryLock(std::uint32_t timeoutMilliseconds) {
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMilliseconds));
}

}  // namespace tarn::win32
