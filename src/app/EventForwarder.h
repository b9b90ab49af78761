#pragma once
// Hands events that nobody in the frame took (keys, menu commands, update-UI) to the view,
// so that its accelerators and commands work while the frame has the focus.

#include <wx/event.h>
#include <wx/window.h>

#include <set>

class CEventForwarder {
public:
    void AddType(wxEventType type) { m_types.insert(type); }
    void SetTarget(wxWindow* target) { m_target = target; }

    // True when the target handled the event.
    bool Forward(wxEvent& event);

private:
    std::set<wxEventType> m_types;
    wxWindow* m_target = nullptr;
    // The event being forwarded, so that one the target passes back up is not sent again.
    wxEventType m_forwardingType = 0;
    int m_forwardingId = 0;
};
