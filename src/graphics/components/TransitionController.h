#pragma once
// Drives a page change in the view: from a picture of the old page to a picture of the new.

#include <wx/bitmap.h>
#include <wx/dc.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "tarn/Object.h"

namespace graphics {

class CTransitionController : public tarn::CObject {
public:
    virtual bool IsStarted() const { return m_started; }
    // Takes both pictures.
    virtual void Begin(std::unique_ptr<wxBitmap> oldPicture, std::unique_ptr<wxBitmap> newPicture);
    virtual void Step() = 0;
    // Draws the current frame at the origin.
    virtual void Paint(wxDC& dc) = 0;
    virtual bool IsFinished() const = 0;
    // Milliseconds between two steps.
    virtual int GetInterval() const = 0;

    // When the current frame is the new picture over the old one, every pixel at one alpha:
    // that alpha (a display may then blend the two pictures itself). None otherwise.
    virtual std::optional<std::uint8_t> GetUniformAlpha() const { return std::nullopt; }

    // The pictures of the two pages; null before Begin.
    const wxBitmap* GetOldPicture() const { return m_oldPicture.get(); }
    const wxBitmap* GetNewPicture() const { return m_newPicture.get(); }

private:
    std::unique_ptr<wxBitmap> m_oldPicture;
    std::unique_ptr<wxBitmap> m_newPicture;
    bool m_started = false;
};

}  // namespace graphics
