#pragma once
// An invisible placeholder that never gets smaller than its minimum size.

#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicDummy : public CGraphicElement {
public:
    static constexpr double kDefaultMinimum = 1.0;

    int GetType() const override;
    // Stores at least the minimum width and height.
    void SetSize(CDSize size) override;
    void CopyFrom(const CGraphicElement& other) override;

    CDSize GetMinimumSize() const { return m_minimum; }
    void SetMinimumSize(CDSize minimum) { m_minimum = minimum; }

private:
    CDSize m_minimum{kDefaultMinimum, kDefaultMinimum};
};

}  // namespace graphics
