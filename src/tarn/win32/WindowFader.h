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
    // The same step drawn straight on a window outside a paint (a wxClientDC): blended aside
    // first, so that the window never shows half a step, and finished by the display before
    // this returns, so that steps cannot queue up behind a busy display. False, with nothing
    // drawn, where the window cannot be drawn on so (not an X display).
    bool PaintOnWindow(wxDC& window, const wxBitmap& from, const wxBitmap& to, int x, int y,
                       unsigned char alpha);
    // Makes the display's room for a fade of pictures of this size on this window ahead of
    // it, so that the first fade does not wait for the display to find memory. False where
    // fades are not blended by the display.
    bool Prepare(wxDC& window, const wxSize& size);
    // Paints the display's copy of picture, the last fade's new picture, at (x, y) of the
    // target, so that it need not cross to the display again. The caller vouches that the
    // picture is unchanged since. False, with nothing painted, when there is no such copy.
    bool PaintCopyOf(wxDC& target, const wxBitmap& picture, int x, int y);
    // The fade is over: its pictures are forgotten, but for the new one when the caller keeps
    // it unchanged (for PaintCopyOf). The display keeps the room it held them in
    // for the next fade of the same size, which then need not be found again.
    void Reset(bool keepNewPicture = false);

private:
    struct SCopies;
    std::unique_ptr<SCopies> m_copies;
};

}  // namespace tarn::win32
