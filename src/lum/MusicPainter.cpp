#include "lum/MusicPainter.h"

#include <algorithm>
#include <cmath>

#include "lum/BuiltInIcons.h"

namespace lum {

CMusicPainter::CMusicPainter()
    : m_stopped(MakeMusicIconBitmap(false)), m_playingIcon(MakeMusicIconBitmap(true)) {}

const wxBitmap& CMusicPainter::Icon(bool playing, int side) {
    if (side == kMusicIconSize) return playing ? m_playingIcon : m_stopped;
    const auto key = std::make_pair(playing, side);
    auto found = m_scaled.find(key);
    if (found == m_scaled.end()) {
        // A few sizes at most: the window's and the full screen's.
        if (m_scaled.size() >= 8) m_scaled.clear();
        found = m_scaled.emplace(key, wxBitmap(MakeMusicIconImage(playing, side), 32)).first;
    }
    return found->second;
}

void CMusicPainter::Paint(graphics::components::IView&, graphics::CPaintMatrixDC& dc) {
    // The page's corner in the page's own pixels, whatever the page's transform.
    const wxRect page = dc.GetClientRect();
    const double scale = dc.GetPixelScale() > 0 ? dc.GetPixelScale() : 1.0;
    const int side = std::max(1, static_cast<int>(std::lround(kMusicIconSize * scale)));
    m_iconRect = wxRect(page.GetRight() + 1 - side, page.GetBottom() + 1 - side, side, side);
    dc.GetDC().DrawBitmap(Icon(m_playing, side), m_iconRect.GetTopLeft(), false);
}

bool CMusicPainter::HitTest(int x, int y) const {
    if (m_iconRect.IsEmpty() || !m_iconRect.Contains(x, y)) return false;
    // The point on the icon's art.
    const int artX = (x - m_iconRect.x) * kMusicIconSize / m_iconRect.width;
    const int artY = (y - m_iconRect.y) * kMusicIconSize / m_iconRect.height;
    return GetMusicIconAlpha(false, artX, artY) > kMusicIconHitAlpha;
}

}  // namespace lum
