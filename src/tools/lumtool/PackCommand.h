#pragma once
// "lumtool pack": a folder holding product.xml and its attachments becomes a content file.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "Command.h"

namespace lumtool {

class CPackCommand : public ICommand {
public:
    explicit CPackCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "pack"; }
    const char* Summary() const override { return "pack a menu folder into a content file"; }
    std::string Help() const override;
    // The player's loader decides what the content file holds.
    bool NeedsDisplay() const override { return true; }
    int Run(const std::vector<std::string>& arguments) override;

private:
    std::ostream& m_out;
};

struct SPackOptions {
    bool throughLink = false;        // the output may be a link: its file is written
    bool allowOutsideLinks = false;  // files whose links lead out of the folder are packed
    // What the refusal of such links offers instead, for the command at hand.
    std::string outsideLinksRemedy =
        "pack takes only the folder's own files (give --allow-outside-links to pack what they "
        "lead to)";
};

// What PackFolder packed and what it left out, by paths below the folder.
struct SPackResult {
    std::size_t entries = 0;
    std::vector<std::string> forTheDisc;    // named by actions: they go beside the content file
    std::vector<std::string> unreferenced;  // named by nothing
};

// Writes product.xml and the attachments the player's loader reads of it (product.xml first)
// into a ZIP content file, named by their paths relative to the folder with "/" as separator.
// The files that run-file and open-folder actions name are left out (they belong on the disc,
// beside the content file), and so is every file that nothing references. The file is
// written beside the output and renamed over it when complete, so a failure leaves the old
// output as it was. Raises CUsageError when product.xml is missing, not well-formed XML or
// stops the player's loader, when the output is the folder's own or a link (see
// SPackOptions), when links lead out of the folder, or when the file cannot be written. Needs
// the GUI toolkit: the loader makes pictures and fonts.
SPackResult PackFolder(const std::string& folder, const std::string& output,
                       const SPackOptions& options = {});

class CMenuFolder;

// Writes what the read menu folder packs into target (see PackFolder).
void WriteContentFile(const CMenuFolder& menu, const std::filesystem::path& target);
// The same into a new file of a staging folder, which its owner removes on failure: written
// directly, so that a signal is left to the owner's handling, and stopping between entries
// when a signal asks to.
void WriteFreshContentFile(const CMenuFolder& menu, const std::filesystem::path& fresh);

// The longest line CountedNames makes, unless a single name is longer.
inline constexpr std::size_t kNamesLineWidth = 100;

// "3 files WHAT: a, b, and 1 more": as many names as fit one terminal line.
std::string CountedNames(const std::vector<std::string>& names, const std::string& what);

}  // namespace lumtool
