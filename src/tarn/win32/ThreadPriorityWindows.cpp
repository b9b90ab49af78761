#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/ThreadPriority.h"

namespace tarn::win32 {

namespace {

int WindowsPriority(EThreadPriority priority) {
    switch (priority) {
        case EThreadPriority::Lowest: return THREAD_PRIORITY_LOWEST;
        case EThreadPriority::BelowNormal: return THREAD_PRIORITY_BELOW_NORMAL;
        case EThreadPriority::AboveNormal: return THREAD_PRIORITY_ABOVE_NORMAL;
        case EThreadPriority::Highest: return THREAD_PRIORITY_HIGHEST;
        case EThreadPriority::Normal: break;
    }
    return THREAD_PRIORITY_NORMAL;
}

}  // namespace

int CurrentSystemThreadId() { return static_cast<int>(::GetCurrentThreadId()); }

bool SetSystemThreadPriority(int id, EThreadPriority priority) {
    const HANDLE thread = ::OpenThread(THREAD_SET_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (!thread) return false;
    const bool done = ::SetThreadPriority(thread, WindowsPriority(priority)) != FALSE;
    ::CloseHandle(thread);
    return done;
}

}  // namespace tarn::win32
