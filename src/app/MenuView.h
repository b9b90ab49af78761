#pragma once
// How the menu shows a page: the view control set up as the player uses it (zoom locked at
// 100 %, no margins, plain button-face background) and the breadcrumb text of a page.

#include <string>

#include "graphics/GraphicDocument.h"
#include "graphics/components/ViewControl.h"
#include "lum/data/Product.h"

// Zoom mode 1, placement 1, no zoom keys, no margins, the background style off on the
// system button-face colour.
void ConfigureMenuView(graphics::components::CViewControl& view);

// The window's client size for the product: its width and height truncated toward zero,
// kept between 0 and kMaxClientSide (a damaged file may ask for anything).
inline constexpr int kMaxClientSide = 16384;
wxSize MenuClientSize(const lum::data::CProduct& product);

// Writes text into the page's "$breadcrumb" text element (the first top-level element of
// that name, letter case aside). False when the page has none or it is not a text.
bool ApplyBreadcrumb(graphics::CGraphicDocument& document, const std::wstring& text);
