#pragma once
// The animation kinds known by type name, in registration order.

#include <string>

#include "graphics/animation/Animation.h"

namespace graphics::animation {

// A new animation of the first registered kind named exactly typeName, or none.
tarn::P<IAnimation> CreateAnimation(const std::wstring& typeName);
// Appends a kind; the frame animation and the GIF animation are always known.
void RegisterAnimation(const tarn::P<IAnimation>& prototype);

}  // namespace graphics::animation
