#pragma once
// Which buttons of a page take the keyboard focus, and where Tab and the arrow keys move it:
// reading order (top to bottom, then left to right, by centre) and the nearest button in a
// direction.

#include <vector>

#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElement.h"
#include "tarn/Pointer.h"

namespace graphics::components {

enum class EFocusDirection { Left, Right, Up, Down };

class CFocusOrder {
public:
    // A button the pointer could click: a state button (or derived) at the top level of the
    // page, visible, with one of the flag bits the view hit-tests for.
    static bool TakesFocus(const CGraphicElement& element);
    // The page's buttons that take the focus, in reading order: by the centre's y, and for
    // equal y by the centre's x; elements at the same centre keep their page order.
    static std::vector<tarn::P<CGraphicElement>> ReadingOrder(const CGraphicDocument& document);
    // The next button after current (Tab), or the one before it (Shift+Tab), wrapping round
    // at both ends. Without a current button (or one that no longer takes the focus): the
    // first, or the last going backward. Empty when the page has no such button.
    static tarn::P<CGraphicElement> Next(const CGraphicDocument& document,
                                         const tarn::P<CGraphicElement>& current, bool backward);
    // The nearest button whose centre lies in that direction from current's centre: buttons
    // within 45 degrees of the direction first, nearest by distance; else any button on that
    // side, with the sideways offset counting twice. Empty when none lies that way. Without
    // a current button: the first in reading order.
    static tarn::P<CGraphicElement> Nearest(const CGraphicDocument& document,
                                            const tarn::P<CGraphicElement>& current,
                                            EFocusDirection direction);
};

}  // namespace graphics::components
