#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tarn/Exception.h"
#include "tarn/win32/Mutex.h"
#include "tarn/win32/Thread.h"
#include "tarn/win32/ThreadManager.h"
#include "tarn/win32/TickCount.h"

namespace {

using tarn::win32::CGlobalMutexImpl;

// A child process that takes the lock file's lock and then waits to be killed; only system
// calls run after fork.
pid_t LockInChild(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
        if (descriptor < 0 || ::flock(descriptor, LOCK_EX) != 0) _exit(1);
        const char byte = 'x';
        if (::write(ready[1], &byte, 1) != 1) _exit(1);
        for (;;) pause();
    }
    ::close(ready[1]);
    char byte = 0;
    const bool locked = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return locked ? child : -1;
}

TEST(GlobalMutexTest, OwnerKilledWhileHoldingReleasesIt) {
    const std::wstring name = L"lum test/" + std::to_wstring(getpid());
    CGlobalMutexImpl mutex(name);
    const pid_t owner = LockInChild(mutex.GetLockPath());
    ASSERT_GT(owner, 0);
    EXPECT_FALSE(mutex.TryLock(50));
    ::kill(owner, SIGKILL);
    ::waitpid(owner, nullptr, 0);
    EXPECT_TRUE(mutex.TryLock(1000));
    mutex.Unlock();
    mutex.Lock();
    mutex.Unlock();
    ::unlink(mutex.GetLockPath().c_str());
}

TEST(GlobalMutexTest, TwoHoldersOfOneNameExcludeEachOther) {
    const std::wstring name = L"lum-test-pair-" + std::to_wstring(getpid());
    CGlobalMutexImpl first(name);
    CGlobalMutexImpl second(name);
    first.Lock();
    EXPECT_FALSE(second.TryLock(20));
    first.Unlock();
    EXPECT_TRUE(second.TryLock(20));
    second.Unlock();
    // Names that differ only in characters outside the safe set still get their own file.
    EXPECT_NE(CGlobalMutexImpl::LockPathFor(L"a/b"), CGlobalMutexImpl::LockPathFor(L"a_b"));
    ::unlink(first.GetLockPath().c_str());
}

TEST(GlobalMutexTest, ThreadsOfOneProcessExcludeEachOtherAndNest) {
    CGlobalMutexImpl mutex(L"lum-test-threads-" + std::to_wstring(getpid()));
    mutex.Lock();
    EXPECT_TRUE(mutex.TryLock(0));  // the owner may lock again
    const auto otherThreadGetsIt = [&] {
        bool got = true;
        std::thread other([&] {
            got = mutex.TryLock(20);
            if (got) mutex.Unlock();
        });
        other.join();
        return got;
    };
    EXPECT_FALSE(otherThreadGetsIt());
    mutex.Unlock();
    EXPECT_FALSE(otherThreadGetsIt());  // still held once
    // Another process is kept out as long as the outermost lock is held.
    CGlobalMutexImpl sameName(mutex.GetName());
    mutex.Unlock();
    EXPECT_TRUE(otherThreadGetsIt());
    EXPECT_TRUE(sameName.TryLock(0));
    sameName.Unlock();
    ::unlink(mutex.GetLockPath().c_str());
}

TEST(GlobalMutexTest, OnlyTheOwningThreadMayUnlock) {
    CGlobalMutexImpl mutex(L"lum-test-unlock-" + std::to_wstring(getpid()));
    CGlobalMutexImpl sameName(mutex.GetName());
    mutex.Unlock();  // nobody holds it: nothing to do
    mutex.Lock();
    std::thread([&] { mutex.Unlock(); }).join();  // refused
    bool otherThreadGotIt = true;
    std::thread([&] {
        otherThreadGotIt = mutex.TryLock(20);
        if (otherThreadGotIt) mutex.Unlock();
    }).join();
    EXPECT_FALSE(otherThreadGotIt);
    EXPECT_FALSE(sameName.TryLock(20));  // the file lock is still held as well
    mutex.Unlock();
    EXPECT_TRUE(sameName.TryLock(0));
    sameName.Unlock();
    ::unlink(mutex.GetLockPath().c_str());
}

TEST(GlobalMutexTest, UncreatableLockFileRaises) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    // A folder in which nobody, not even root, can create a file.
    setenv("TMPDIR", "/proc/self", 1);
    try {
        CGlobalMutexImpl mutex(L"x");
        ADD_FAILURE() << "no error";
    } catch (const tarn::CException& error) {
        EXPECT_EQ(error.GetDescription(), L"Error createing global mutex");
    }
    if (old) setenv("TMPDIR", saved.c_str(), 1); else unsetenv("TMPDIR");
}

TEST(MutexTest, OwnerMayLockAgainOthersWait) {
    tarn::win32::CMutexImpl mutex;
    mutex.Lock();
    EXPECT_TRUE(mutex.TryLock(0));
    std::atomic<bool> otherGotIt{true};
    std::thread other([&] { otherGotIt = mutex.TryLock(20); });
    other.join();
    EXPECT_FALSE(otherGotIt.load());
    mutex.Unlock();
    mutex.Unlock();
    std::thread again([&] {
        otherGotIt = mutex.TryLock(20);
        if (otherGotIt) mutex.Unlock();
    });
    again.join();
    EXPECT_TRUE(otherGotIt.load());
}

TEST(ThreadTest, RunsItsBodyAndSurvivesAFailingOne) {
    std::atomic<int> runs{0};
    {
        const auto thread = tarn::New<tarn::win32::CThreadImpl>([&] { ++runs; });
        thread->Wait();
        EXPECT_TRUE(thread->IsFinished());
    }
    const auto failing = tarn::New<tarn::win32::CThreadImpl>([&] {
        ++runs;
        throw tarn::CError(L"worker failed");
    });
    failing->Wait();
    EXPECT_TRUE(failing->IsFinished());
    EXPECT_EQ(runs.load(), 2);
}

TEST(ThreadTest, ObjectLivesUntilItsBodyEnds) {
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
    {
        // The creator lets go while the body still runs: the body's thread ends the object.
        tarn::New<tarn::win32::CThreadImpl>([&] {
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            finished = true;
        });
    }
    release = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!finished && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(finished.load());
}

TEST(ThreadTest, PriorityCanBeLowered) {
    std::atomic<bool> stop{false};
    const auto thread = tarn::New<tarn::win32::CThreadImpl>([&] {
        while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    thread->SetPriority(tarn::win32::EThreadPriority::Lowest);
    EXPECT_EQ(thread->GetPriority(), tarn::win32::EThreadPriority::Lowest);
    stop = true;
    thread->Wait();
    // A finished thread has no priority to change.
    try {
        thread->SetPriority(tarn::win32::EThreadPriority::Normal);
        ADD_FAILURE() << "no error";
    } catch (const tarn::CException& error) {
        EXPECT_EQ(error.GetDescription(), L"Error setting thread priority");
    }
}

TEST(ThreadManagerTest, SleepsAndTicks) {
    const auto manager = tarn::win32::CThreadManager::Instance();
    EXPECT_EQ(manager, tarn::win32::CThreadManager::Instance());
    const std::uint32_t before = tarn::win32::GetTickCount();
    manager->Sleep(30);
    manager->Yield(true);
    manager->Yield(false);
    const std::uint32_t elapsed = tarn::win32::GetTickCount() - before;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 2000u);
}

}  // namespace
