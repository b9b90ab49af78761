#pragma once
// A button with normal, hover and pressed looks; holds the common element form until its
// states are added.

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicStateButton : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_STATE_BUTTON; }
    // The toolkit's hand cursor.
    int GetCursorId() const override { return 6; }
};

}  // namespace graphics
