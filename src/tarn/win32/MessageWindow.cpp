#include "tarn/win32/MessageWindow.h"

#include <wx/app.h>
#include <wx/event.h>

#include "tarn/Exception.h"
#include "tarn/Messages.h"
#include "tarn/StringLocalizer.h"

namespace tarn::win32 {

class CMessageWindow::CSink : public wxEvtHandler {};

CMessageWindow::CMessageWindow() {
    if (!wxTheApp) throw CError(Localize(messages::kCreateWindowError));
    m_sink = std::make_unique<CSink>();
}

CMessageWindow::~CMessageWindow() {
    // A copy: a listener may remove itself while it is told.
    const TFrailArray<IDestructListener> listeners = m_destructListeners;
    for (IDestructListener* listener : listeners) listener->OnDestruct(*this);
}

void CMessageWindow::Post(const CWindowMessage& message) {
    // The sink goes with this object, and with it every message still queued.
    m_sink->CallAfter([this, message] { Send(message); });
}

void CMessageWindow::Send(const CWindowMessage& message) {
    const CDispatch dispatch(*this);
    const TFrailArray<IMessageListener> listeners = m_messageListeners;
    for (IMessageListener* listener : listeners) {
        if (IsDying()) return;
        if (m_messageListeners.Contains(listener)) listener->OnMessage(*this, message);
    }
    if (!IsDying()) HandleMessage(message);
}

CMessageWindow::CDispatch::CDispatch(CMessageWindow& window) : m_window(window) {
    ++m_window.m_dispatching;
    // Only a window someone holds can be held; a dying one is already on its way out.
    if (!m_window.IsDying()) m_hold = tarn::P<CMessageWindow>(&m_window);
}

CMessageWindow::CDispatch::~CDispatch() {
    m_hold.Reset();  // may hand the window to Destroy, which then defers
    --m_window.m_dispatching;
}

void CMessageWindow::Destroy() {
    if (m_dispatching > 0 && wxTheApp) {
        wxTheApp->CallAfter([this] { delete this; });
        return;
    }
    delete this;
}

void CMessageWindow::AddMessageListener(PFrail<IMessageListener> listener) {
    if (listener && !m_messageListeners.Contains(listener)) m_messageListeners.Add(listener);
}

void CMessageWindow::RemoveMessageListener(PFrail<IMessageListener> listener) {
    m_messageListeners.Remove(listener);
}

void CMessageWindow::AddDestructListener(PFrail<IDestructListener> listener) {
    if (listener && !m_destructListeners.Contains(listener)) m_destructListeners.Add(listener);
}

void CMessageWindow::RemoveDestructListener(PFrail<IDestructListener> listener) {
    m_destructListeners.Remove(listener);
}

void CMessageWindow::HandleMessage(const CWindowMessage&) {}

wxEvtHandler& CMessageWindow::GetSink() { return *m_sink; }

}  // namespace tarn::win32
