#pragma once
// One finding of `lumtool check`.

#include <string>

namespace lumtool {

// An error breaks the menu for its users; a warning may be meant, or hurts only some of them.
enum class ESeverity { Warning, Error };

struct SFinding {
    ESeverity severity;
    std::string text;  // one line, in UTF-8, for the menu's author
};

}  // namespace lumtool
