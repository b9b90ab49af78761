#include "graphics/components/FastFadeTransitionController.h"

#include <wx/graphics.h>

#include <algorithm>
#include <cmath>

namespace graphics::components {

void CFastFadeTransitionController::Begin(std::unique_ptr<wxBitmap> oldPicture,
                                          std::unique_ptr<wxBitmap> newPicture) {
    const wxBitmap* fresh = newPicture.get();
    CTransitionController::Begin(std::move(oldPicture), std::move(newPicture));
    if (m_from == 0 || fresh == nullptr || !fresh->IsOk()) return;
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
    // Computed in double precision: 2.55 * 100 lands just below 255.
    const double exact = static_cast<double>(m_to) / 100.0 * m_progress;
    const auto alpha = static_cast<std::int32_t>(std::min<double>(std::trunc(exact), m_to));
    m_alpha = static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
    if (!m_fading || !m_fading->HasAlpha()) return;
    unsigned char* pixels = m_fading->GetAlpha();
    for (std::size_t i = 0; i < m_ownAlpha.size(); ++i) {
        if (m_ownAlpha[i] > m_from) pixels[i] = m_alpha;
    }
}

std::size_t CFastFadeTransitionController::PixelCount() const {
    if (!m_fading) return 0;
    return static_cast<std::size_t>(m_fading->GetWidth()) *
           static_cast<std::size_t>(m_fading->GetHeight());
}

std::optional<std::uint8_t> CFastFadeTransitionController::GetUniformAlpha() const {
    if (!IsStarted() || m_fading) return std::nullopt;
    return m_alpha;
}

bool CFastFadeTransitionController::PaintUniform(wxDC& dc) const {
    const wxBitmap* fresh = GetNewPicture();
    wxGraphicsContext* context = dc.GetGraphicsContext();
    if (context == nullptr || fresh == nullptr || !fresh->IsOk()) return false;
    context->BeginLayer(m_alpha / 255.0);
    context->DrawBitmap(*fresh, 0, 0, fresh->GetWidth(), fresh->GetHeight());
    context->EndLayer();
    return true;
}

void CFastFadeTransitionController::Paint(wxDC& dc) {
    if (const wxBitmap* old = GetOldPicture(); old != nullptr && old->IsOk()) {
        dc.DrawBitmap(*old, 0, 0, false);
    }
    if (m_fading) {
        if (m_fading->IsOk()) dc.DrawBitmap(wxBitmap(*m_fading), 0, 0, false);
        return;
    }
    if (!PaintUniform(dc) && GetNewPicture() != nullptr && GetNewPicture()->IsOk()) {
        // A device without a graphics layer: the slow way, pixel by pixel.
        wxImage image = GetNewPicture()->ConvertToImage();
        if (!image.HasAlpha()) image.InitAlpha();
        std::fill_n(image.GetAlpha(), static_cast<std::size_t>(image.GetWidth()) * image.GetHeight(),
                    m_alpha);
        dc.DrawBitmap(wxBitmap(image), 0, 0, false);
    }
}

}  // namespace graphics::components
