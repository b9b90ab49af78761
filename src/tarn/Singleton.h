#pragma once
// Process-wide singletons, created lazily on first use.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "tarn/Pointer.h"

namespace tarn {

namespace singleton {

// Both words written, in this order, only once the instance is complete.
constexpr std::uint32_t kMarker1 = 0x3D92A405;
constexpr std::uint32_t kMarker2 = 0x73DF5089;

// The one lock under which first callers claim a singleton.
std::mutex& CreationLock();

// How a caller waits for another thread to finish building an instance: sleeping one
// millisecond unless a thread manager installs its own wait.
using WaitFunction = void (*)();
void SetWaitFunction(WaitFunction wait);
void Wait();

}  // namespace singleton

// The holder behind one singleton accessor, kept by the accessor as a function-local static:
// it is constant-initialized, and its destruction (releasing the instance) is registered when
// the accessor first runs, so singletons go at process exit in the reverse order of first use.
template <class T>
class TSingletonHolder {
public:
    using Factory = P<T> (*)();

    constexpr TSingletonHolder() = default;
    TSingletonHolder(const TSingletonHolder&) = delete;
    TSingletonHolder& operator=(const TSingletonHolder&) = delete;

    P<T> Get(Factory factory) {
        while (!IsComplete()) {
            if (Claim()) {
                Create(factory);
            } else {
                singleton::Wait();
            }
        }
        return m_instance;
    }

    bool IsComplete() const {
        return m_marker1.load(std::memory_order_acquire) == singleton::kMarker1 &&
               m_marker2.load(std::memory_order_acquire) == singleton::kMarker2;
    }

private:
    bool Claim() {
        std::lock_guard<std::mutex> lock(singleton::CreationLock());
        if (m_claimed) return false;
        m_claimed = true;
        return true;
    }

    void Create(Factory factory) {
        try {
            m_instance = factory();
        } catch (...) {
            // A failed creation leaves the singleton to the next caller instead of
            // keeping everyone waiting for an instance that never comes.
            std::lock_guard<std::mutex> lock(singleton::CreationLock());
            m_claimed = false;
            throw;
        }
        m_marker1.store(singleton::kMarker1, std::memory_order_release);
        m_marker2.store(singleton::kMarker2, std::memory_order_release);
    }

    bool m_claimed = false;                 // guarded by the creation lock
    P<T> m_instance;
    std::atomic<std::uint32_t> m_marker1{0};
    std::atomic<std::uint32_t> m_marker2{0};
};

}  // namespace tarn
