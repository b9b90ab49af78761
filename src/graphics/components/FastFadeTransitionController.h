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
    // The old picture, and over it the new one at the current step's alpha.
    void Paint(wxDC& dc) override;
    bool IsFinished() const override { return m_finished; }
    int GetInterval() const override { return 5; }
    std::optional<std::uint8_t> GetUniformAlpha() const override;

    double GetProgress() const { return m_progress; }
    // The new page's alpha at the current step, 0 before the first.
    std::uint8_t GetAlpha() const { return m_alpha; }
    // With `from` above 0: the new page with the alpha of the current step, pixel by pixel;
    // null otherwise and before Begin.
    const wxImage* GetFadingImage() const { return m_fading.get(); }

private:
    std::size_t PixelCount() const;
    // Every pixel at the step's alpha: one blend of two native pictures, which the graphics
    // layer does in a fraction of the step's 5 ms.
    bool PaintUniform(wxDC& dc) const;

    // Only for `from` above 0, where pixels differ in how they fade.
    std::unique_ptr<wxImage> m_fading;
    // The new page's own alpha: which pixels fade is decided on it, not on the last step.
    std::vector<unsigned char> m_ownAlpha;
    double m_progress = 0;
    std::uint8_t m_alpha = 0;
    bool m_finished = false;
    std::int32_t m_from;
    std::int32_t m_to;
};

}  // namespace graphics::components
