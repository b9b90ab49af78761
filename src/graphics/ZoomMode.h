#pragma once
// How a view scales its page, and with it how painters reach the target.

namespace graphics {

enum class EZoomMode : int {
    // The page is fitted into the window and the zoom commands zoom further; painters may
    // paint through pictures of their own (offscreen steps, text effects).
    Fit = 0,
    // The zoom factor is the scale, without zoom commands (the player's menus); painters paint
    // straight into the target.
    Fixed = 1,
};

}  // namespace graphics
