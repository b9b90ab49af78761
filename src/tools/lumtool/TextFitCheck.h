#pragma once
// Texts cut off by their boxes, measured by the player's own painting code at the size the
// player shows the page: rich texts whose lines fall below the box or run past its side,
// labels that do not fit even at their smallest font, and button labels that a skin's text
// layer cuts off. Each text is measured as written and in every language of the product's
// translations, as a player started in that language shows it.

#include <vector>

#include "ContentCheck.h"
#include "lum/data/Product.h"

namespace lumtool {

// Warnings, one for each text and each different wording of it that does not fit. Texts the
// player fills in itself (the breadcrumb, hint texts) are left out. The product must not be
// translated yet; it stays so. Needs the GUI toolkit and the element factories.
std::vector<SFinding> CheckTextFit(const tarn::P<lum::data::CProduct>& product);

}  // namespace lumtool
