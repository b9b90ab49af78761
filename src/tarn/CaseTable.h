#pragma once
// Unicode's simple lower-case mappings as runs of characters; the table is generated at build
// time by tools/gen_case_table.py.

#include <cstddef>
#include <cstdint>

namespace tarn::casetable {

// Characters first, first + stride, ... up to last map to themselves plus delta.
struct SLowerRun {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::int32_t stride;
};

// Sorted by first; runs do not overlap.
extern const SLowerRun kLowerRuns[];
extern const std::size_t kLowerRunCount;

}  // namespace tarn::casetable
