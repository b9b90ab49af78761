#pragma once
// The pages a page's buttons lead to, so that the player can get them ready while the page is
// looked at.

#include <vector>

#include "lum/data/Page.h"
#include "lum/data/Product.h"
#include "tarn/Pointer.h"

namespace lum {

// The named pages and the main page that the page's action buttons go to, in the order of the
// buttons, each once, without the page itself. Names compare as a click compares them.
std::vector<tarn::P<data::CPage>> LinkedPages(const data::CProduct& product,
                                              const data::CPage& page);

}  // namespace lum
