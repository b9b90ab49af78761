#pragma once
// "lumtool translations export|import": a product's translatable texts as gettext PO files,
// the form translators' tools read and write.

#include <ostream>

#include "Command.h"

namespace lumtool {

class CTranslationsCommand : public ICommand {
public:
    explicit CTranslationsCommand(std::ostream& out) : m_out(out) {}

    const char* Name() const override { return "translations"; }
    const char* Summary() const override {
        return "export or import a menu's texts as a PO file for translators";
    }
    std::string Help() const override;
    // Exporting loads the menu with the player's loader, which needs the toolkit.
    bool NeedsDisplay(const std::vector<std::string>& arguments) const override {
        return !arguments.empty() && arguments[0] == "export";
    }
    int Run(const std::vector<std::string>& arguments) override;

private:
    int Export(const std::vector<std::string>& arguments);
    int Import(const std::vector<std::string>& arguments);

    std::ostream& m_out;
};

// The language of a PO file's "Language" header for a product language code: "de-de" gives
// "de_DE".
std::string PoLanguage(const std::string& code);

}  // namespace lumtool
