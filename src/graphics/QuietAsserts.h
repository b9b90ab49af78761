#pragma once
// Keeps the toolkit's assertions quiet while content is read. A damaged content file can fail
// one of the toolkit's own checks (a malformed colour in a rich text, for example); that must
// not open a modal assertion dialog in front of the user or hang a headless run. The toolkit
// goes on with the fallback value of its check, as its release builds do.
// The handler is one for the whole program, so only the main thread sets it: a thread that
// reads content on its behalf runs while the main thread holds one of these.

#include <wx/debug.h>
#include <wx/thread.h>

namespace graphics {

class CQuietAsserts {
public:
    CQuietAsserts() : m_main(wxIsMainThread()) {
        if (m_main) m_previous = wxSetAssertHandler(&Ignore);
    }
    ~CQuietAsserts() {
        if (m_main) wxSetAssertHandler(m_previous);
    }
    CQuietAsserts(const CQuietAsserts&) = delete;
    CQuietAsserts& operator=(const CQuietAsserts&) = delete;

private:
    static void Ignore(const wxString&, int, const wxString&, const wxString&, const wxString&) {}

    bool m_main;
    wxAssertHandler_t m_previous = nullptr;
};

}  // namespace graphics
