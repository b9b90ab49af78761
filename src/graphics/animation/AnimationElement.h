#pragma once
// What pages need of an element that plays an animation.

#include "graphics/animation/Animation.h"

namespace graphics::animation {

class IAnimationElement : public virtual tarn::IBase {
public:
    virtual void StopAnimation() = 0;
    virtual void StartAnimation() = 0;
    virtual bool IsAnimated() const = 0;
    virtual bool HasAnimation() const = 0;
    virtual bool IsHovered() const = 0;
    virtual tarn::P<IAnimation> GetAnimation() const = 0;
};

}  // namespace graphics::animation
