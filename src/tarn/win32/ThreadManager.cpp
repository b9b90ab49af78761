#include "tarn/win32/ThreadManager.h"

#include <chrono>
#include <thread>

#include "tarn/Singleton.h"

namespace tarn::win32 {

namespace {

void WaitForSingleton() {
    // Installed only once the manager is complete, so this never waits for itself.
    CThreadManager::Instance()->Yield(true);
}

P<CThreadManager> MakeThreadManager() { return New<CThreadManager>(); }

}  // namespace

P<CThreadManager> CThreadManager::Instance() {
    static TSingletonHolder<CThreadManager> holder;
    P<CThreadManager> manager = holder.Get(&MakeThreadManager);
    // From now on other singletons wait for each other through the manager.
    singleton::SetWaitFunction(&WaitForSingleton);
    return manager;
}

void CThreadManager::Yield(bool sleep) const {
    if (sleep) {
        Sleep(1);
    } else {
        std::this_thread::yield();
    }
}

void CThreadManager::Sleep(std::uint32_t milliseconds) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tarn::win32
