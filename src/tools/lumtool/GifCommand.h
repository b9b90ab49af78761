#pragma once
// "lumtool gif": an animated GIF becomes composed PNG frames and the XML of an animation.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CGifCommand : public ICommand {
public:
    explicit CGifCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "gif"; }
    const char* Summary() const override {
        return "turn an animated GIF into PNG frames and an animation element";
    }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

}  // namespace lumtool
