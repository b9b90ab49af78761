#pragma once
// The product's translations against the texts that use them: text ids translated into some
// of the product's languages but not all, and rich texts that a translation cannot replace
// as a whole. The player puts the translation in place of each run of a rich text, so a text
// of several runs shows it once per run (each in the run's own style).

#include <vector>

#include "ContentCheck.h"
#include "lum/data/Product.h"

namespace lumtool {

// Warnings: one for each text id in use whose translations leave out some of the product's
// languages (at its first use, the others counted), and one for each element with a text id
// whose rich text has more than one run. The product must not be translated yet.
std::vector<SFinding> CheckTranslations(const lum::data::CProduct& product);

}  // namespace lumtool
