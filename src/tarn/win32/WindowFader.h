#pragma once
// Shows the steps of a fade from one picture to another in a window as cheaply as the display
// allows. On an X display both pictures are handed to the display server once; each step then
// only asks it to blend them, so no picture crosses to the display again however large the
// window. Where that is not possible the caller paints the step itself.

#include <wx/bitmap.h>
#include <wx/dc.h>

#include <memory>

namespace tarn::win32 {

class CWindowFader {
public:
    CWindowFader();
    ~CWindowFader();
    CWindowFader(const CWindowFader&) = delete;
    CWindowFader& operator=(const CWindowFader&) = delete;

    // Paints from, then over it to at alpha (0 to 255), with their top left corner at (x, y) of
    // the target, in the target's own pixels. The pictures must stay unchanged while the fade
    // lasts. False, with nothing painted, when the target cannot do this.
    bool Paint(wxDC& target, const wxBitmap& from, const wxBitmap& to, int x, int y,
               unsigned char alpha);
    // The fade is over: gives the display its copies back.
    void Reset();

private:
    struct SCopies;
    std::unique_ptr<SCopies> m_copies;
};

}  // namespace tarn::win32
