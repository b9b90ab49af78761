#pragma once
// Mutexes: one within the process, and a named one shared between processes.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "tarn/Object.h"

namespace tarn::win32 {

// Like the system mutexes it stands for, the owning thread may lock it again.
class CMutexImpl : public CObject {
public:
    void Lock() { m_mutex.lock(); }
    bool TryLock(std::uint32_t timeoutMilliseconds);
    void Unlock() { m_mutex.unlock(); }

private:
    std::recursive_timed_mutex m_mutex;
};

// A mutex shared by the processes that use the same name. On Windows it is a named kernel
// mutex; one whose owner ended without releasing it (abandoned) is taken over. On POSIX it is
// a lock on a file in the temporary folder named after the mutex (and the user); the system
// drops the lock of a process that ends, so a mutex whose owner died unlocks by itself.
// Within the process a thread mutex stands in front of the file lock, which binds only
// processes: as with the Windows mutexes, the owning thread may lock again.
class CGlobalMutexImpl : public CObject {
public:
    // Raises CException "Error createing global mutex" when the lock file cannot be opened.
    explicit CGlobalMutexImpl(const std::wstring& name);
    ~CGlobalMutexImpl() override;
    CGlobalMutexImpl(const CGlobalMutexImpl&) = delete;
    CGlobalMutexImpl& operator=(const CGlobalMutexImpl&) = delete;

    // Waits without limit; raises "Error locking global mutex <name>" when the wait fails.
    void Lock();
    // Waits at most the timeout; never raises.
    bool TryLock(std::uint32_t timeoutMilliseconds);
    // Refused, doing nothing, when the calling thread does not hold the mutex, as the system
    // refuses to release a mutex for a thread that does not own it.
    void Unlock();

    const std::wstring& GetName() const { return m_name; }

private:
    std::wstring m_name;
#ifdef _WIN32
    void* m_handle = nullptr;  // the kernel mutex
#else
public:
    const std::string& GetLockPath() const { return m_path; }

    // The lock file of a name: characters other than letters, digits, "-" and "." are
    // written as "_" followed by their hex code, so different names never share a file.
    static std::string LockPathFor(const std::wstring& name);

private:
    bool LockFile(bool wait, std::chrono::steady_clock::time_point end);
    // The thread mutex is held: count one more lock for this thread.
    void Entered();

    std::string m_path;
    int m_descriptor = -1;
    std::recursive_timed_mutex m_threads;
    int m_depth = 0;  // nested locks of the owning thread; guarded by m_threads
    std::atomic<std::thread::id> m_owner{};  // read without m_threads by Unlock
#endif
};

}  // namespace tarn::win32
