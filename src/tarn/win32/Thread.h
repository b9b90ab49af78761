#pragma once
// One worker thread with a priority.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "tarn/Object.h"

namespace tarn::win32 {

enum class EThreadPriority { Lowest = -2, BelowNormal = -1, Normal = 0, AboveNormal = 1, Highest = 2 };

class CThreadImpl : public CObject {
public:
    // Starts the body at once; raises CError "Error creating thread (...)." when the system
    // cannot start a thread. The running body holds a reference of its own, so the object
    // lives until the body ends, whoever lets go of it first.
    explicit CThreadImpl(std::function<void()> body);
    ~CThreadImpl() override;

    // Raises CException "Error setting thread priority" when the system refuses.
    void SetPriority(EThreadPriority priority);
    EThreadPriority GetPriority() const { return m_priority; }

    void Wait();
    bool IsFinished() const { return m_finished.load(); }

private:
    void Run(std::function<void()> body);

    std::mutex m_joining;
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_systemId{0};  // the kernel's id of the thread, once it runs
    EThreadPriority m_priority = EThreadPriority::Normal;
    std::thread m_thread;
};

}  // namespace tarn::win32
