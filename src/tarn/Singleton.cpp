#include "tarn/Singleton.h"

#include <chrono>
#include <thread>

namespace tarn::singleton {

namespace {

void SleepOneMillisecond() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

std::atomic<WaitFunction> g_wait{&SleepOneMillisecond};

}  // namespace

std::mutex& CreationLock() {
    static std::mutex lock;
    return lock;
}

void SetWaitFunction(WaitFunction wait) { g_wait.store(wait ? wait : &SleepOneMillisecond); }

void Wait() { g_wait.load()(); }

}  // namespace tarn::singleton
