#pragma once
// "lumtool langpack build|dump": language packs of the player's own texts.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CLangpackCommand : public ICommand {
public:
    explicit CLangpackCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "langpack"; }
    const char* Summary() const override { return "build or dump a user-interface language pack"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

private:
    int Build(const std::vector<std::string>& arguments);
    int Dump(const std::vector<std::string>& arguments);

    std::ostream& m_out;
};

}  // namespace lumtool
