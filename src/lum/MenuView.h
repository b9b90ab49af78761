#pragma once
// How the menu shows a page: the view control set up as the player uses it (zoom locked at
// 100 %, no margins, plain button-face background) at the product's client size.

#include "graphics/components/ViewControl.h"
#include "lum/data/Product.h"

namespace lum {

// Zoom mode 1, placement 1, no zoom keys, no margins, the background style off on the
// system button-face colour.
void ConfigureMenuView(graphics::components::CViewControl& view);

// The window's client size for the product: its width and height truncated toward zero,
// kept between 0 and kMaxClientSide (a damaged file may ask for anything).
inline constexpr int kMaxClientSide = 16384;
wxSize MenuClientSize(const lum::data::CProduct& product);

}  // namespace lum
