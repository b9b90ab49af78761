#include "graphics/animation/AnimationRegistry.h"

#include <vector>

#include "graphics/animation/GIFAnimation.h"
#include "tarn/Singleton.h"

namespace graphics::animation {
namespace {

class CAnimationRegistry : public tarn::CObject {
public:
    CAnimationRegistry() {
        prototypes.push_back(tarn::New<CAnimation>());
        prototypes.push_back(tarn::New<CGIFAnimation>());
    }
    std::vector<tarn::P<IAnimation>> prototypes;
};

tarn::P<CAnimationRegistry> Registry() {
    static tarn::TSingletonHolder<CAnimationRegistry> holder;
    return holder.Get([] { return tarn::New<CAnimationRegistry>(); });
}

}  // namespace

tarn::P<IAnimation> CreateAnimation(const std::wstring& typeName) {
    for (const auto& prototype : Registry()->prototypes) {
        if (prototype->GetTypeName() == typeName) return prototype->NewInstance();
    }
    return nullptr;
}

void RegisterAnimation(const tarn::P<IAnimation>& prototype) {
    if (prototype) Registry()->prototypes.push_back(prototype);
}

}  // namespace graphics::animation
