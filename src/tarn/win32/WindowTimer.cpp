#include "tarn/win32/WindowTimer.h"

#include <wx/timer.h>

#include <algorithm>
#include <limits>

#include "tarn/Exception.h"
#include "tarn/Messages.h"
#include "tarn/StringLocalizer.h"

namespace tarn::win32 {

CWindowTimer::CWindowTimer(std::int64_t intervalMilliseconds)
    : m_timer(std::make_unique<wxTimer>(&GetSink(), kTimerId)) {
    GetSink().Bind(wxEVT_TIMER, &CWindowTimer::OnTimer, this, kTimerId);
    if (intervalMilliseconds != 0) SetInterval(intervalMilliseconds);
}

CWindowTimer::~CWindowTimer() { Stop(); }

void CWindowTimer::SetInterval(std::int64_t milliseconds) {
    if (milliseconds < 0) {
        throw CInvalidArgError(L"SetInterval", Localize(messages::kTimerIntervalGEZero), this);
    }
    m_interval = milliseconds;
    if (IsRunning()) Start();
}

void CWindowTimer::Start() {
    Stop();
    // An interval of 0 runs at the shortest period the toolkit offers.
    const auto period = static_cast<int>(
        std::clamp<std::int64_t>(m_interval, 1, std::numeric_limits<int>::max()));
    m_timer->Start(period, wxTIMER_CONTINUOUS);
    m_runningId = kTimerId;
}

void CWindowTimer::Stop() {
    // The toolkit queues no further timer events once its timer is stopped.
    if (m_timer->IsRunning()) m_timer->Stop();
    m_runningId = 0;
}

void CWindowTimer::AddTimerListener(PFrail<ITimerListener> listener) {
    if (listener && !m_listeners.Contains(listener)) m_listeners.Add(listener);
}

void CWindowTimer::RemoveTimerListener(PFrail<ITimerListener> listener) {
    m_listeners.Remove(listener);
}

void CWindowTimer::OnTimer(wxTimerEvent&) {
    if (m_runningId == 0 || IsDying()) return;
    const CDispatch dispatch(*this);
    // The toolkit's timer never piles up expirations: one event per pending period reaches
    // here however slow the listeners are. Listeners are told from the last added to the
    // first, each kept alive while it runs.
    const TFrailArray<ITimerListener> listeners = m_listeners;
    for (std::size_t i = listeners.Size(); i-- > 0;) {
        if (IsDying()) return;
        if (!m_listeners.Contains(listeners[i])) continue;
        const P<ITimerListener> listener(listeners[i]);
        listener->TimerFired(*this);
    }
    if (!IsDying()) Send(CWindowMessage{kTimerId, 0});
}

}  // namespace tarn::win32
