#pragma once
// The commands of lumtool, made once: the program finds the one it is asked for by name and
// lists them all for --help.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Command.h"

namespace lumtool {

class CCommandTable {
public:
    explicit CCommandTable(std::vector<std::unique_ptr<ICommand>> commands);

    // The command of that name, or null.
    ICommand* Find(const std::string& name) const;
    // What "lumtool --help" prints: the usage and a line for each command with its summary.
    std::string Usage() const;

private:
    std::vector<std::unique_ptr<ICommand>> m_commands;
};

// Every lumtool command, each writing its results to out.
CCommandTable LumtoolCommands(std::ostream& out);

}  // namespace lumtool
