#include "CommandTable.h"

#include <utility>

#include "CheckCommand.h"
#include "GifCommand.h"
#include "LangpackCommand.h"
#include "MediumCommand.h"
#include "NewCommand.h"
#include "PackCommand.h"
#include "RenderCommand.h"
#include "TranslationsCommand.h"

namespace lumtool {

namespace {

// The summaries start in one column; a longer name still keeps a space before its summary.
constexpr std::size_t kNameWidth = 14;

}  // namespace

CCommandTable::CCommandTable(std::vector<std::unique_ptr<ICommand>> commands)
    : m_commands(std::move(commands)) {}

ICommand* CCommandTable::Find(const std::string& name) const {
    for (const auto& command : m_commands) {
        if (name == command->Name()) return command.get();
    }
    return nullptr;
}

std::string CCommandTable::Usage() const {
    std::string usage = "usage: lumtool COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const auto& command : m_commands) {
        const std::string name = command->Name();
        const std::size_t padding = name.size() < kNameWidth ? kNameWidth - name.size() : 1;
        usage += "  " + name + std::string(padding, ' ') + command->Summary() + "\n";
    }
    return usage + "\n'lumtool COMMAND --help' describes one command.\n";
}

CCommandTable LumtoolCommands(std::ostream& out) {
    std::vector<std::unique_ptr<ICommand>> commands;
    commands.push_back(std::make_unique<CCheckCommand>(out));
    commands.push_back(std::make_unique<CGifCommand>(out));
    commands.push_back(std::make_unique<CLangpackCommand>(out));
    commands.push_back(std::make_unique<CMediumCommand>(out));
    commands.push_back(std::make_unique<CNewCommand>(out));
    commands.push_back(std::make_unique<CPackCommand>(out));
    commands.push_back(std::make_unique<CRenderCommand>(out));
    commands.push_back(std::make_unique<CTranslationsCommand>(out));
    return CCommandTable(std::move(commands));
}

}  // namespace lumtool
