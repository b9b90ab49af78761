#include "tarn/win32/ThreadManager.h"

#include <chrono>
#include <thread>

#include "tarn/Singleton.h"

namespace tarn::win32 {

namespace {

void WaitForSingleton() {
    // Called only after the manager exists, while another thread builds an instance.
    CThreadManager::Instance()->Yield(true);
}

P<CThreadManager> MakeThreadManager() {
    P<CThreadManager> manager = New<CThreadManager>();
    singleton::SetWaitFunction(&WaitForSingleton);
    return manager;
}

}  // namespace

P<CThreadManager> CThreadManager::Instance() {
    static TSingletonHolder<CThreadManager> holder;
    return holder.Get(&MakeThreadManager);
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
