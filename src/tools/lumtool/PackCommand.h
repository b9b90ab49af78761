#pragma once
// "lumtool pack": a folder holding product.xml and its attachments becomes a content file.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CPackCommand : public ICommand {
public:
    explicit CPackCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "pack"; }
    const char* Summary() const override { return "pack a menu folder into a content file"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

struct SPackOptions {
    bool throughLink = false;        // the output may be a link: its file is written
    bool allowOutsideLinks = false;  // files whose links lead out of the folder are packed
};

// Writes every regular file below folder (product.xml first) into a ZIP content file, with
// paths relative to the folder and "/" as separator. The file is written beside the output
// and renamed over it when complete, so a failure leaves the old output as it was. Raises
// CUsageError when product.xml is missing or not well-formed XML, when the output is the
// folder's own or a link (see SPackOptions), when links lead out of the folder, or when the
// file cannot be written. Returns the number of entries written.
std::size_t PackFolder(const std::string& folder, const std::string& output,
                       const SPackOptions& options = {});

}  // namespace lumtool
