#pragma once
// Fades the new page in over the old one in ten steps of 10 %.

#include <wx/image.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/components/TransitionController.h"

namespace graphics::components {

class CFastFadeTransitionController : public CTransitionController {
public:
    // Pixels of the new page reach alpha `to`; with `from` above 0, pixels whose own alpha
    // is `from` or less keep it.
    CFastFadeTransitionController(std::int32_t from, std::int32_t to) : m_from(from), m_to(to) {}

    void Begin(std::unique_ptr<wxBitmap> oldPicture, std::unique_ptr<wxBitmap> newPicture) override;
    void Step() override;
    void Paint(wxDC& dc) override;
    bool IsFinished() const override { return m_finished; }
    int GetInterval() const override { return 5; }

    double GetProgress() const { return m_progress; }
    // The new page with the alpha of the current step; null before Begin.
    const wxImage* GetFadingImage() const { return m_fading.get(); }

private:
    std::size_t PixelCount() const;

    std::unique_ptr<wxImage> m_fading;
    // The new page's own alpha: which pixels fade is decided on it, not on the last step.
    std::vector<unsigned char> m_ownAlpha;
    double m_progress = 0;
    bool m_finished = false;
    std::int32_t m_from;
    std::int32_t m_to;
};

}  // namespace graphics::components
