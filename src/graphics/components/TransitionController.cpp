#include "graphics/components/TransitionController.h"

namespace graphics {

void CTransitionController::Begin(std::unique_ptr<wxBitmap> oldPicture,
                                  std::unique_ptr<wxBitmap> newPicture) {
    m_started = true;
    m_oldPicture = std::move(oldPicture);
    m_newPicture = std::move(newPicture);
}

}  // namespace graphics
