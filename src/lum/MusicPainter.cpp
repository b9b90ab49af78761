#include "lum/MusicPainter.h"

#include "lum/BuiltInIcons.h"

namespace lum {

CMusicPainter::CMusicPainter()
    : m_stopped(MakeMusicIconBitmap(false)), m_playingIcon(MakeMusicIconBitmap(true)) {}

void CMusicPainter::Paint(graphics::components::IView& view, graphics::CPaintMatrixDC& dc) {
    const wxSize client = view.GetWindow()->GetClientSize();
    m_iconRect = wxRect(client.x - m_stopped.GetWidth(), client.y - m_stopped.GetHeight(),
                        m_stopped.GetWidth(), m_stopped.GetHeight());
    // Drawn in window pixels, whatever the page's own transform.
    dc.GetDC().DrawBitmap(m_playing ? m_playingIcon : m_stopped, m_iconRect.GetTopLeft(), false);
}

bool CMusicPainter::HitTest(int x, int y) const {
    if (!m_iconRect.Contains(x, y)) return false;
    return GetMusicIconAlpha(false, x - m_iconRect.x, y - m_iconRect.y) > kMusicIconHitAlpha;
}

}  // namespace lum
