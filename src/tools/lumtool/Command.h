#pragma once
// One subcommand of the authoring tool.

#include <stdexcept>
#include <string>
#include <vector>

namespace lumtool {

// Exit status for bad input or a bad command line.
constexpr int kExitBadInput = 2;

// A failure that ends the command with a one-line message and kExitBadInput.
class CUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ICommand {
public:
    virtual ~ICommand() = default;
    virtual const char* Name() const = 0;
    virtual const char* Summary() const = 0;
    virtual std::string Help() const = 0;
    // True when the command needs the GUI toolkit (and so a display), not only its base.
    virtual bool NeedsDisplay() const { return false; }
    // The same for these arguments (after the command's name), for a command whose
    // subcommands differ.
    virtual bool NeedsDisplay(const std::vector<std::string>&) const { return NeedsDisplay(); }
    // The arguments after the command's name; returns the exit status.
    virtual int Run(const std::vector<std::string>& arguments) = 0;
};

}  // namespace lumtool
