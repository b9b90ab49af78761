#pragma once
// Small notification hubs: handlers register a method and an id filter, and every matching
// one is called, in the order of registration, when the hub fires.

#include <wx/event.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tarn/Object.h"

namespace graphics::components {

// A notification with two plain payload fields (0 when the view fires it).
class CNotifyEvent : public wxEvent {
public:
    explicit CNotifyEvent(int id = 0, std::int32_t first = 0, std::int32_t second = 0)
        : wxEvent(id, wxEVT_NULL), m_first(first), m_second(second) {}

    std::int32_t GetFirst() const { return m_first; }
    std::int32_t GetSecond() const { return m_second; }
    wxEvent* Clone() const override { return new CNotifyEvent(*this); }

private:
    std::int32_t m_first;
    std::int32_t m_second;
};

template <class TEvent>
class CEventHubBase : public tarn::CObject {
public:
    using Method = void (wxEvtHandler::*)(TEvent&);
    static constexpr int kAnyId = -1;

    // Registers handler->method for events whose id equals id (or every id with kAnyId).
    template <class THandler>
    void Connect(THandler* handler, void (THandler::*method)(TEvent&), int id = kAnyId) {
        m_connections.push_back({handler, static_cast<Method>(method), id});
    }
    // Forgets every connection of the handler (a handler must disconnect before it dies).
    void Disconnect(wxEvtHandler* handler) {
        std::erase_if(m_connections, [&](const Connection& c) { return c.handler == handler; });
    }
    std::size_t GetConnectionCount() const { return m_connections.size(); }

    void Fire(TEvent& event) {
        // A handler may connect or disconnect others while it runs: walk a copy, and call
        // only connections that are still there.
        const std::vector<Connection> connections = m_connections;
        for (const Connection& connection : connections) {
            if (connection.method == nullptr || connection.handler == nullptr) continue;
            if (connection.id != kAnyId && connection.id != event.GetId()) continue;
            if (std::find(m_connections.begin(), m_connections.end(), connection) ==
                m_connections.end()) {
                continue;
            }
            (connection.handler->*connection.method)(event);
        }
    }

private:
    struct Connection {
        wxEvtHandler* handler;
        Method method;
        int id;
        bool operator==(const Connection&) const = default;
    };
    std::vector<Connection> m_connections;
};

// Lets a hub listen to a window: events pushed into the connector fire the hub.
template <class TEvent>
class CHubConnector : public wxEvtHandler {
public:
    explicit CHubConnector(CEventHubBase<TEvent>& hub) : m_hub(hub) {}

    bool ProcessEvent(wxEvent& event) override {
        if (auto* typed = dynamic_cast<TEvent*>(&event)) m_hub.Fire(*typed);
        return false;
    }

private:
    CEventHubBase<TEvent>& m_hub;
};

// A hub of plain toolkit events.
class CEventHub : public CEventHubBase<wxEvent> {};

// A hub of one event class of our own, with a connector ready to be pushed onto a window.
template <class TEvent = CNotifyEvent>
class CCustomEventHub : public CEventHubBase<TEvent> {
public:
    CCustomEventHub() : m_connector(std::make_unique<CHubConnector<TEvent>>(*this)) {}
    CHubConnector<TEvent>& GetConnector() { return *m_connector; }

private:
    std::unique_ptr<CHubConnector<TEvent>> m_connector;
};

}  // namespace graphics::components
