#pragma once
// One worker thread with a priority.

#include <atomic>
#include <functional>
#include <thread>

#include "tarn/Object.h"

namespace tarn::win32 {

enum class EThreadPriority { Lowest = -2, BelowNormal = -1, Normal = 0, AboveNormal = 1, Highest = 2 };

class CThreadImpl : public CObject {
public:
    // Starts the body at once; raises CError "Error creating thread (...)." when the system
    // cannot start a thread.
    explicit CThreadImpl(std::function<void()> body);
    // Waits for the body to end: a thread never outlives its object.
    ~CThreadImpl() override;

    // Raises CException "Error setting thread priority" when the system refuses.
    void SetPriority(EThreadPriority priority);
    EThreadPriority GetPriority() const { return m_priority; }

    void Wait();
    bool IsFinished() const { return m_finished.load(); }

private:
    void Run(std::function<void()> body);

    std::atomic<bool> m_finished{false};
    std::atomic<int> m_systemId{0};  // the kernel's id of the thread, once it runs
    EThreadPriority m_priority = EThreadPriority::Normal;
    std::thread m_thread;
};

}  // namespace tarn::win32
