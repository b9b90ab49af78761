#pragma once
// Frames sharing one delay, as a menu stores them.

#include "graphics/animation/FrameAnimation.h"

namespace graphics::animation {

// A delay of 0 or less spreads the frames over one second.
class CAnimation : public CFrameAnimation {
public:
    int GetDelay() const override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::wstring GetTypeName() const override { return L"animation"; }
    tarn::P<IAnimation> NewInstance() const override;

    void AddFrame(const wxBitmap& frame);
    void SetDelay(int delay) { m_delay = delay; }

private:
    int m_delay = -1;
};

}  // namespace graphics::animation
