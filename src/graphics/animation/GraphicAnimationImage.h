#pragma once
// The element that shows an animation: still until started, then a frame further whenever
// a paint finds the delay passed, asking to be painted again when the next frame is due.

#include <cstdint>
#include <optional>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"
#include "graphics/animation/AnimationElement.h"

namespace graphics::animation {

class CGraphicAnimationImage : public CGraphicElement, public virtual IAnimationElement {
public:
    // How often an animated element that is not playing asks to be painted.
    static constexpr std::uint32_t kIdleRedraw = 100;

    int GetType() const override { return GRAPHIC_ANIMATION; }
    std::wstring GetTypeName() const override { return L"animation-image"; }
    void Paint(CPaintMatrixDC& dc) override;
    bool IsContentEmpty() const override;
    std::wstring GetHint() const override;
    void CopyFrom(const CGraphicElement& other) override;
    void ClearContent() override { SetAnimation(nullptr); }
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    void StopAnimation() override;
    void StartAnimation() override;
    bool IsAnimated() const override { return m_animated; }
    bool HasAnimation() const override { return m_animation != nullptr; }
    bool IsHovered() const override { return HasFlag(kFlagHovered); }
    tarn::P<IAnimation> GetAnimation() const override { return m_animation; }
    void SetAnimation(const tarn::P<IAnimation>& animation);

private:
    // Steps the animation by the clock and returns the milliseconds until the next frame.
    std::uint32_t Step();
    void PaintPlaceholder(CPaintMatrixDC& dc) const;

    tarn::P<IAnimation> m_animation;
    std::optional<std::uint32_t> m_lastChange;
    bool m_animated = false;
};

}  // namespace graphics::animation
