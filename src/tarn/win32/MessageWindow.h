#pragma once
// A hidden event sink on the GUI thread that offers every message posted to it to its
// listeners, then to its own handling.

#include <cstdint>
#include <memory>

#include "tarn/Arrays.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

class wxEvtHandler;

namespace tarn::win32 {

struct CWindowMessage {
    int id = 0;
    std::intptr_t parameter = 0;
};

class CMessageWindow : public CObject {
public:
    class IMessageListener : public virtual IBase {
    public:
        virtual void OnMessage(CMessageWindow& window, const CWindowMessage& message) = 0;
    };
    class IDestructListener : public virtual IBase {
    public:
        virtual void OnDestruct(CMessageWindow& window) = 0;
    };

    // Raises CError "Error creating window." when the toolkit has not been started.
    CMessageWindow();
    ~CMessageWindow() override;
    CMessageWindow(const CMessageWindow&) = delete;
    CMessageWindow& operator=(const CMessageWindow&) = delete;

    // Queues a message for the GUI thread; may be called from any thread.
    void Post(const CWindowMessage& message);
    // Delivers a message now, on the calling thread.
    void Send(const CWindowMessage& message);

    void AddMessageListener(PFrail<IMessageListener> listener);
    void RemoveMessageListener(PFrail<IMessageListener> listener);
    void AddDestructListener(PFrail<IDestructListener> listener);
    void RemoveDestructListener(PFrail<IDestructListener> listener);

protected:
    // What the sink does after the listeners have seen a message; nothing by default.
    virtual void HandleMessage(const CWindowMessage& message);
    wxEvtHandler& GetSink();

    // Keeps the window alive while one of its events is handled: a listener may drop the
    // last reference, and the sink must not be deleted inside its own event.
    class CDispatch {
    public:
        explicit CDispatch(CMessageWindow& window);
        ~CDispatch();
        CDispatch(const CDispatch&) = delete;
        CDispatch& operator=(const CDispatch&) = delete;

    private:
        CMessageWindow& m_window;
        tarn::P<CMessageWindow> m_hold;
    };
    // Whether the last reference has gone (the window is only waiting to be deleted).
    bool IsDying() const { return GetRefCount() < 0; }

    void Destroy() override;

private:
    class CSink;

    std::unique_ptr<CSink> m_sink;
    int m_dispatching = 0;
    TFrailArray<IMessageListener> m_messageListeners;
    TFrailArray<IDestructListener> m_destructListeners;
};

}  // namespace tarn::win32
