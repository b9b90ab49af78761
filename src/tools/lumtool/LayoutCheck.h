#pragma once
// Where the elements of each page lie against the page the player shows: elements outside
// it, and clickable buttons that overlap (the one painted on top takes the clicks there).

#include <vector>

#include "ContentCheck.h"
#include "lum/data/Product.h"

namespace lumtool {

// Errors for visible elements wholly outside their page, warnings for those partly outside
// and for each pair of overlapping buttons. The page is the product's client size with its
// top-left corner at the document's content box (the player's window onto the page); without
// a client size there is no page to measure against, and nothing is reported.
std::vector<SFinding> CheckLayout(const lum::data::CProduct& product);

}  // namespace lumtool
