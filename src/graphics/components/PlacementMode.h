#pragma once
// Where a view puts a page that does not fill its window.

namespace graphics::components {

enum class EPlacementMode : int {
    Centre = 0,
    TopLeft = 1,
    TopRight = 3,
};

}  // namespace graphics::components
