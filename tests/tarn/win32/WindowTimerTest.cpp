#include "tarn/win32/WindowTimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "tarn/Exception.h"
#include "tarn/win32/TickCount.h"

namespace {

using namespace std::chrono_literals;
using tarn::win32::CMessageWindow;
using tarn::win32::CWindowMessage;
using tarn::win32::CWindowTimer;

class CCountingListener : public tarn::CObject, public virtual CWindowTimer::ITimerListener {
public:
    CCountingListener(std::vector<std::string>* order, std::string name,
                      std::chrono::milliseconds work = 0ms)
        : m_order(order), m_name(std::move(name)), m_work(work) {}

    void TimerFired(CWindowTimer&) override {
        ++calls;
        if (m_order) m_order->push_back(m_name);
        std::this_thread::sleep_for(m_work);
    }

    int calls = 0;

private:
    std::vector<std::string>* m_order;
    std::string m_name;
    std::chrono::milliseconds m_work;
};

TEST(WindowTimerTest, NegativeIntervalIsRefusedAndChangesNothing) {
    const auto timer = tarn::New<CWindowTimer>(25);
    try {
        timer->SetInterval(-1);
        FAIL() << "no error";
    } catch (const tarn::CInvalidArgError& error) {
        EXPECT_NE(error.GetDescription().find(L"window timer intervals have to be >=0"),
                  std::wstring::npos);
    }
    EXPECT_EQ(timer->GetInterval(), 25);
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_THROW(tarn::New<CWindowTimer>(-5), tarn::CInvalidArgError);
}

TEST(WindowTimerTest, ListenersRunLastAddedFirstUntilStopped) {
    std::vector<std::string> order;
    const auto timer = tarn::New<CWindowTimer>(5);
    const auto first = tarn::New<CCountingListener>(&order, "first");
    const auto second = tarn::New<CCountingListener>(&order, "second");
    timer->AddTimerListener(first.Get());
    timer->AddTimerListener(second.Get());
    timer->Start();
    ASSERT_TRUE(testsupport::RunEventsUntil([&] { return first->calls >= 3; }, 5s));
    timer->Stop();
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], "second");
    EXPECT_EQ(order[1], "first");
    const int callsAtStop = first->calls;
    testsupport::RunEventsFor(60ms);
    EXPECT_EQ(first->calls, callsAtStop);
}

// Records when each call ends; the first call is slow.
class CSlowOnceListener : public tarn::CObject, public virtual CWindowTimer::ITimerListener {
public:
    void TimerFired(CWindowTimer&) override {
        if (ends.empty()) std::this_thread::sleep_for(200ms);
        ends.push_back(std::chrono::steady_clock::now());
    }

    std::vector<std::chrono::steady_clock::time_point> ends;
};

TEST(WindowTimerTest, SlowListenerIsCalledOncePerPendingPeriod) {
    // The first call takes twenty intervals: the periods missed meanwhile must not arrive as a
    // burst of calls right after it.
    const auto timer = tarn::New<CWindowTimer>(10);
    const auto listener = tarn::New<CSlowOnceListener>();
    timer->AddTimerListener(listener.Get());
    timer->Start();
    ASSERT_TRUE(testsupport::RunEventsUntil([&] { return listener->ends.size() >= 4; }, 3s));
    timer->Stop();
    int callsRightAfter = 0;
    for (std::size_t i = 1; i < listener->ends.size(); ++i) {
        if (listener->ends[i] - listener->ends[0] < 5ms) ++callsRightAfter;
    }
    EXPECT_LE(callsRightAfter, 1);
    // The calls after the slow one keep to the interval again.
    EXPECT_GE(listener->ends[3] - listener->ends[1], 12ms);
}

TEST(WindowTimerTest, NewIntervalRestartsARunningTimer) {
    const auto timer = tarn::New<CWindowTimer>(1000);
    const auto listener = tarn::New<CCountingListener>(nullptr, "l");
    timer->AddTimerListener(listener.Get());
    timer->Start();
    timer->SetInterval(5);
    EXPECT_TRUE(timer->IsRunning());
    EXPECT_TRUE(testsupport::RunEventsUntil([&] { return listener->calls >= 2; }, 2s));
    timer->RemoveTimerListener(listener.Get());
    const int calls = listener->calls;
    testsupport::RunEventsFor(40ms);
    EXPECT_EQ(listener->calls, calls);
}

// Lets go of the timer from inside its own event.
class CDroppingListener : public tarn::CObject, public virtual CWindowTimer::ITimerListener {
public:
    void TimerFired(CWindowTimer&) override {
        ++calls;
        timer.Reset();
    }

    tarn::P<CWindowTimer> timer;
    int calls = 0;
};

TEST(WindowTimerTest, ListenerMayDropTheLastReferenceToTheTimer) {
    const auto dropper = tarn::New<CDroppingListener>();
    const auto other = tarn::New<CCountingListener>(nullptr, "other");
    dropper->timer = tarn::New<CWindowTimer>(5);
    dropper->timer->AddTimerListener(other.Get());
    dropper->timer->AddTimerListener(dropper.Get());  // told first
    dropper->timer->Start();
    ASSERT_TRUE(testsupport::RunEventsUntil([&] { return dropper->calls == 1; }, 2s));
    testsupport::RunEventsFor(30ms);
    EXPECT_EQ(dropper->calls, 1);
    // The round under way still reaches every listener; then the timer is gone.
    EXPECT_EQ(other->calls, 1);
}

class CRecorder : public tarn::CObject,
                  public virtual CMessageWindow::IMessageListener,
                  public virtual CMessageWindow::IDestructListener {
public:
    void OnMessage(CMessageWindow&, const CWindowMessage& message) override {
        ids.push_back(message.id);
    }
    void OnDestruct(CMessageWindow&) override { ++destructs; }

    std::vector<int> ids;
    int destructs = 0;
};

TEST(MessageWindowTest, PostedMessagesArriveOnTheLoopInOrder) {
    const auto recorder = tarn::New<CRecorder>();
    {
        const auto window = tarn::New<CMessageWindow>();
        window->AddMessageListener(recorder.Get());
        window->AddDestructListener(recorder.Get());
        std::thread poster([&] {
            window->Post(CWindowMessage{1, 0});
            window->Post(CWindowMessage{2, 0});
        });
        poster.join();
        EXPECT_TRUE(recorder->ids.empty());
        EXPECT_TRUE(testsupport::RunEventsUntil([&] { return recorder->ids.size() == 2; }, 2s));
        EXPECT_EQ(recorder->ids, (std::vector<int>{1, 2}));
        window->Post(CWindowMessage{3, 0});  // never delivered: the window goes first
    }
    EXPECT_EQ(recorder->destructs, 1);
    testsupport::RunEventsFor(20ms);
    EXPECT_EQ(recorder->ids.size(), 2u);
}

}  // namespace
