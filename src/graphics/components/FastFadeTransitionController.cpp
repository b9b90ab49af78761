#include "graphics/components/FastFadeTransitionController.h"

#include <algorithm>
#include <cmath>

namespace graphics::components {

void CFastFadeTransitionController::Begin(std::unique_ptr<wxBitmap> oldPicture,
                                          std::unique_ptr<wxBitmap> newPicture) {
    const wxBitmap* fresh = newPicture.get();
    CTransitionController::Begin(std::move(oldPicture), std::move(newPicture));
    if (fresh == nullptr || !fresh->IsOk()) return;
    m_fading = std::make_unique<wxImage>(fresh->ConvertToImage());
    if (!m_fading->HasAlpha()) m_fading->InitAlpha();
    const unsigned char* alpha = m_fading->GetAlpha();
    m_ownAlpha.assign(alpha, alpha + PixelCount());
}

void CFastFadeTransitionController::Step() {
    m_progress += 10.0;
    if (m_progress >= 100.0) {
        m_progress = 100.0;
        m_finished = true;
    }
    if (!m_fading || !m_fading->HasAlpha()) return;
    // Computed in double precision: 2.55 * 100 lands just below 255.
    const double exact = static_cast<double>(m_to) / 100.0 * m_progress;
    const auto alpha = static_cast<std::int32_t>(std::min<double>(std::trunc(exact), m_to));
    const unsigned char value = static_cast<unsigned char>(std::clamp(alpha, 0, 255));
    unsigned char* pixels = m_fading->GetAlpha();
    for (std::size_t i = 0; i < m_ownAlpha.size(); ++i) {
        if (m_from == 0 || m_ownAlpha[i] > m_from) pixels[i] = value;
    }
}

std::size_t CFastFadeTransitionController::PixelCount() const {
    if (!m_fading) return 0;
    return static_cast<std::size_t>(m_fading->GetWidth()) *
           static_cast<std::size_t>(m_fading->GetHeight());
}

void CFastFadeTransitionController::Paint(wxDC& dc) {
    if (const wxBitmap* old = GetOldPicture(); old != nullptr && old->IsOk()) {
        dc.DrawBitmap(*old, 0, 0, false);
    }
    if (m_fading && m_fading->IsOk()) dc.DrawBitmap(wxBitmap(*m_fading), 0, 0, false);
}

}  // namespace graphics::components
