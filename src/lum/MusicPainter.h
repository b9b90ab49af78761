#pragma once
// Draws the music on/off icon in the bottom-right corner of the page and says whether a
// point hits its visible part. The icon grows with the page's pixels: full screen and the
// desktop's scale factor.

#include <wx/bitmap.h>
#include <wx/gdicmn.h>

#include <map>
#include <utility>

#include "graphics/components/View.h"
#include "tarn/Object.h"

namespace lum {

class CMusicPainter : public tarn::CObject, public virtual graphics::components::IPainter {
public:
    CMusicPainter();

    void Paint(graphics::components::IView& view, graphics::CPaintMatrixDC& dc) override;
    // True inside the last drawn icon where the stopped icon is not (nearly) transparent;
    // x and y in the page's device pixels (CView::ToPagePixels).
    bool HitTest(int x, int y) const;

    bool IsPlaying() const { return m_playing; }
    void SetPlaying(bool playing) { m_playing = playing; }
    // Where the icon was last drawn, in the page's device pixels; empty before the first paint.
    const wxRect& GetIconRect() const { return m_iconRect; }

private:
    const wxBitmap& Icon(bool playing, int side);

    wxBitmap m_stopped;
    wxBitmap m_playingIcon;
    // Icons at other sizes than the art's, by (playing, side).
    std::map<std::pair<bool, int>, wxBitmap> m_scaled;
    wxRect m_iconRect;
    bool m_playing = false;
};

}  // namespace lum
