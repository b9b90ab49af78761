#pragma once
// Which of the disc's files and folders go onto a medium: those that the menu's run-file and
// open-folder actions name, found on the disc the menu comes from, to the same paths below
// the medium's root (beside content.lum), where the player on the medium looks for them.

#include <filesystem>
#include <string>
#include <vector>

#include "MediumTree.h"
#include "lum/data/Product.h"

namespace lumtool {

struct SDiscPlan {
    std::vector<SDiscCopy> copies;         // folders before what they hold
    std::vector<std::string> missing;      // one line each: named, but nowhere on the disc
    std::vector<std::string> notes;        // names that are not copied, and why
    std::vector<std::string> copiedNames;  // the paths of the files copied, for the report
};

// Looks up every name below discRoot. Raises CUsageError when a file to copy is a link that
// leads out of discRoot, when a name would take the place of one of the medium's own files,
// and when a folder to copy holds mediumRoot.
SDiscPlan PlanDiscCopies(const lum::data::CProduct& product, const std::filesystem::path& discRoot,
                         const std::filesystem::path& mediumRoot);

}  // namespace lumtool
