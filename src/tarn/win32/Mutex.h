#pragma once
// Mutexes: one within the process, and a named one shared between processes.

#include <cstdint>
#include <mutex>
#include <string>

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

// A lock on a file in the temporary folder named after the mutex. The system drops the lock
// of a process that ends, so a mutex whose owner died unlocks by itself.
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
    void Unlock();

    const std::wstring& GetName() const { return m_name; }
    const std::string& GetLockPath() const { return m_path; }

    // The lock file of a name: characters other than letters, digits, "-", "_" and "." are
    // written as "_" followed by their hex code, so different names never share a file.
    static std::string LockPathFor(const std::wstring& name);

private:
    std::wstring m_name;
    std::string m_path;
    int m_descriptor = -1;
};

}  // namespace tarn::win32
