#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <chrono>
#include <thread>
#include <vector>

#include "tarn/Arrays.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/Singleton.h"

namespace {

class ITalker : public virtual tarn::IBase {
public:
    virtual int Talk() const = 0;
};

// Counts its own destructions.
class CProbe : public tarn::CObject, public virtual ITalker {
public:
    explicit CProbe(int* destroyed) : m_destroyed(destroyed) {}
    ~CProbe() override { ++*m_destroyed; }
    int Talk() const override { return 7; }

private:
    int* m_destroyed;
};

// Takes and drops a reference to itself while being destroyed.
class CSelfReferencing : public tarn::CObject {
public:
    explicit CSelfReferencing(int* destroyed) : m_destroyed(destroyed) {}
    ~CSelfReferencing() override {
        ++*m_destroyed;
        tarn::P<CSelfReferencing> again(this);
        again.Reset();
        AddRef();
        Release();
    }

private:
    int* m_destroyed;
};

TEST(ObjectTest, LastReleaseDestroysOnce) {
    int destroyed = 0;
    auto* probe = new CProbe(&destroyed);
    EXPECT_EQ(probe->GetRefCount(), 1);
    probe->AddRef();
    probe->Release();
    EXPECT_EQ(destroyed, 0);
    probe->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, DestructorTakingReferencesDestroysOnce) {
    int destroyed = 0;
    tarn::New<CSelfReferencing>(&destroyed);
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, CountedPointersTrackReferences) {
    int destroyed = 0;
    tarn::P<CProbe> first = tarn::New<CProbe>(&destroyed);
    EXPECT_EQ(first->GetRefCount(), 1);
    {
        tarn::P<CProbe> copy = first;
        tarn::PC<CProbe> constant = first;
        tarn::P<ITalker> talker = first;
        EXPECT_EQ(first->GetRefCount(), 4);
        EXPECT_EQ(talker->Talk(), 7);
        tarn::P<CProbe> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(first->GetRefCount(), 4);
    }
    EXPECT_EQ(first->GetRefCount(), 1);
    first = first;  // self-assignment keeps the object
    EXPECT_EQ(destroyed, 0);
    first = nullptr;
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, CastsFollowTheRunTimeType) {
    int destroyed = 0;
    tarn::P<tarn::IBase> base = tarn::New<CProbe>(&destroyed);
    EXPECT_TRUE(tarn::Cast<ITalker>(base));
    EXPECT_EQ(tarn::Cast<ITalker>(base)->Talk(), 7);
    EXPECT_FALSE(tarn::Cast<CSelfReferencing>(base));
    EXPECT_FALSE(tarn::Cast<ITalker>(tarn::P<tarn::IBase>()));
    EXPECT_TRUE(base->IsObjectOf(1, 2, 3));
    base.Reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, DescriptionNamesTheMostDerivedClass) {
    int destroyed = 0;
    tarn::P<tarn::IBase> base = tarn::New<CProbe>(&destroyed);
    EXPECT_EQ(base->GetObjectDescription(), L"(anonymous namespace)::CProbe object");
}

TEST(ObjectTest, CleaningArrayReleasesItsElements) {
    int destroyed = 0;
    {
        tarn::TCleaningSimpleArray<CProbe> array;
        array.Add(tarn::New<CProbe>(&destroyed));
        array.Add(tarn::New<CProbe>(&destroyed));
        tarn::P<CProbe> kept = array[0];
        array.Clear();
        EXPECT_EQ(destroyed, 1);
        array.Add(kept);
        EXPECT_EQ(kept->GetRefCount(), 2);
    }
    EXPECT_EQ(destroyed, 2);

    tarn::TFrailArray<CProbe> listeners;
    CProbe probe(&destroyed);
    listeners.Add(&probe);
    EXPECT_TRUE(listeners.Contains(&probe));
    EXPECT_EQ(probe.GetRefCount(), 1);  // frail references count nothing
    EXPECT_TRUE(listeners.Remove(&probe));
    EXPECT_FALSE(listeners.Remove(&probe));
}

// A singleton whose construction is slow, so that racing callers arrive while it is built.
class CSlowSingleton : public tarn::CObject {
public:
    CSlowSingleton() {
        ++s_constructions;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_ready = true;
    }
    bool IsReady() const { return m_ready; }

    static std::atomic<int> s_constructions;

private:
    bool m_ready = false;
};
std::atomic<int> CSlowSingleton::s_constructions{0};

tarn::P<CSlowSingleton> SlowInstance() {
    static tarn::TSingletonHolder<CSlowSingleton> holder;
    return holder.Get([] { return tarn::New<CSlowSingleton>(); });
}

TEST(SingletonTest, RacingFirstCallersShareOneCompleteInstance) {
    constexpr int kThreads = 16;
    const int constructionsBefore = CSlowSingleton::s_constructions.load();
    std::atomic<bool> go{false};
    std::vector<const CSlowSingleton*> seen(kThreads, nullptr);
    std::vector<bool> ready(kThreads, false);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go.load()) std::this_thread::yield();
            tarn::P<CSlowSingleton> instance = SlowInstance();
            seen[i] = instance.Get();
            ready[i] = instance->IsReady();
        });
    }
    go.store(true);
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(CSlowSingleton::s_constructions.load(), constructionsBefore + 1);
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(seen[i], seen[0]);
        EXPECT_TRUE(ready[i]) << "thread " << i << " saw a half-built instance";
    }
    EXPECT_EQ(SlowInstance().Get(), seen[0]);
}

std::atomic<int> g_attempts{0};

TEST(SingletonTest, FailedCreationLeavesItToTheNextCaller) {
    static tarn::TSingletonHolder<CSlowSingleton> holder;
    const auto factory = []() -> tarn::P<CSlowSingleton> {
        if (g_attempts++ == 0) throw std::runtime_error("not yet");
        return tarn::New<CSlowSingleton>();
    };
    EXPECT_THROW(holder.Get(factory), std::runtime_error);
    EXPECT_FALSE(holder.IsComplete());
    const tarn::P<CSlowSingleton> instance = holder.Get(factory);
    ASSERT_TRUE(instance);
    EXPECT_TRUE(instance->IsReady());
    EXPECT_EQ(g_attempts.load(), 2);
}

std::atomic<int> g_waits{0};

TEST(SingletonTest, WaitersUseTheInstalledWait) {
    tarn::singleton::SetWaitFunction([] {
        ++g_waits;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    static tarn::TSingletonHolder<CSlowSingleton> holder;
    const int constructionsBefore = CSlowSingleton::s_constructions.load();
    std::thread builder([] { holder.Get([] { return tarn::New<CSlowSingleton>(); }); });
    // Once the builder is inside the constructor, a second caller must wait for it (a fixed
    // pause was too short where threads start slowly, as under Wine on a busy machine).
    while (CSlowSingleton::s_constructions.load() == constructionsBefore) std::this_thread::yield();
    tarn::P<CSlowSingleton> instance = holder.Get([] { return tarn::New<CSlowSingleton>(); });
    builder.join();
    tarn::singleton::SetWaitFunction(nullptr);
    EXPECT_TRUE(instance->IsReady());
    EXPECT_GT(g_waits.load(), 0);
}

}  // namespace
