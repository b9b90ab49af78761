#pragma once
// A timer that calls its listeners on the GUI thread at a fixed interval. A listener slower
// than the interval is called once per pending period, never in a burst of missed ones.

#include <cstdint>
#include <memory>

#include "tarn/Arrays.h"
#include "tarn/win32/MessageWindow.h"

class wxTimer;
class wxTimerEvent;

namespace tarn::win32 {

class CWindowTimer : public CMessageWindow {
public:
    class ITimerListener : public virtual IBase {
    public:
        virtual void TimerFired(CWindowTimer& timer) = 0;
    };

    static constexpr int kTimerId = 17;

    // A non-zero interval is set at once; the timer starts with Start.
    explicit CWindowTimer(std::int64_t intervalMilliseconds = 0);
    ~CWindowTimer() override;

    // Raises CInvalidArgError for a negative interval and then changes nothing; a running
    // timer restarts with the new interval.
    void SetInterval(std::int64_t milliseconds);
    std::int64_t GetInterval() const { return m_interval; }
    void Start();
    void Stop();
    bool IsRunning() const { return m_runningId != 0; }

    void AddTimerListener(PFrail<ITimerListener> listener);
    void RemoveTimerListener(PFrail<ITimerListener> listener);

private:
    void OnTimer(wxTimerEvent& event);

    std::unique_ptr<wxTimer> m_timer;
    TFrailArray<ITimerListener> m_listeners;
    std::int64_t m_interval = 0;
    int m_runningId = 0;
};

}  // namespace tarn::win32
