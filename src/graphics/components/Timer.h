#pragma once
// A toolkit timer that reports to the window owning it, under the timer's own id.

#include <wx/timer.h>

namespace graphics::components {

class CTimer : public wxTimer {
public:
    CTimer(wxEvtHandler* owner, int id) : wxTimer(owner, id) {}
};

}  // namespace graphics::components
