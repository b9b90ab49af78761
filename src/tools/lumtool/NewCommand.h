#pragma once
// "lumtool new": starts a menu folder from a template.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CNewCommand : public ICommand {
public:
    explicit CNewCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "new"; }
    const char* Summary() const override { return "start a menu folder from a template"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

// Writes the files of the named template below folder, which must not exist or be empty.
// Raises CUsageError for an unknown template, a folder that holds files, or a failure to
// write (the folder is then as it was). Returns the number of files written.
std::size_t WriteTemplate(const std::string& templateName, const std::string& folder);

}  // namespace lumtool
