#include "app/EventForwarder.h"

bool CEventForwarder::Forward(wxEvent& event) {
    if (m_target == nullptr || m_types.count(event.GetEventType()) == 0) return false;
    if (event.GetId() == m_forwardingId || event.GetEventType() == m_forwardingType) return false;
    m_forwardingType = event.GetEventType();
    m_forwardingId = event.GetId();
    const bool handled = m_target->GetEventHandler()->ProcessEvent(event);
    m_forwardingType = 0;
    m_forwardingId = 0;
    return handled;
}
