#pragma once
// "lumtool render": paints one page of a content file to a PNG, with the player's own view
// control set up as the player sets it up.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CRenderCommand : public ICommand {
public:
    explicit CRenderCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "render"; }
    const char* Summary() const override { return "paint a page to PNG as the player shows it"; }
    std::string Help() const override;
    bool NeedsDisplay() const override { return true; }
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

}  // namespace lumtool
