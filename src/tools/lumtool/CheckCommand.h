#pragma once
// "lumtool check": loads a content file with the player's loader and lists its problems.

#include <ostream>

#include "Command.h"

namespace lumtool {

// Exit status of a check that found problems; a clean file gives 0 and an unreadable one
// kExitBadInput.
constexpr int kExitProblems = 1;

class CCheckCommand : public ICommand {
public:
    explicit CCheckCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "check"; }
    const char* Summary() const override {
        return "load a content file or menu folder and report its problems";
    }
    std::string Help() const override;
    bool NeedsDisplay() const override { return true; }
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

}  // namespace lumtool
