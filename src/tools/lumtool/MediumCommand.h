#pragma once
// "lumtool medium": the tree of a medium that plays a content file on Linux desktops which
// never installed lumplayer, and optionally its ISO 9660 image.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CMediumCommand : public ICommand {
public:
    explicit CMediumCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "medium"; }
    const char* Summary() const override {
        return "make a medium (folder or ISO image) that plays a menu";
    }
    std::string Help() const override;
    // The player's loader reads the menu for the files its actions name.
    bool NeedsDisplay() const override { return true; }
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

}  // namespace lumtool
