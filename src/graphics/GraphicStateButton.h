#pragma once
// A button with normal, hover and pressed looks; holds the common element form until its
// states are added.

#include <string>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicStateButton : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_STATE_BUTTON; }
    // The toolkit's hand cursor.
    int GetCursorId() const override { return 6; }

    // The text shown on the button (rewritten by text replacement and translation).
    const std::wstring& GetLabel() const { return m_label; }
    void SetLabel(std::wstring label) { m_label = std::move(label); }

private:
    std::wstring m_label;
};

}  // namespace graphics
