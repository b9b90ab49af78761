// lumtool: the command-line companion for menu authors.

#include <wx/init.h>
#include <wx/log.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CheckCommand.h"
#include "Command.h"
#include "GifCommand.h"
#include "GuiToolkit.h"
#include "LangpackCommand.h"
#include "MediumCommand.h"
#include "NewCommand.h"
#include "PackCommand.h"
#include "RenderCommand.h"
#include "TranslationsCommand.h"
#include "wxutil/MyStringLocalizer.h"

namespace {

using lumtool::ICommand;

std::vector<std::unique_ptr<ICommand>> Commands() {
    std::vector<std::unique_ptr<ICommand>> commands;
    commands.push_back(std::make_unique<lumtool::CCheckCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CGifCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CLangpackCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CMediumCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CNewCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CPackCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CRenderCommand>(std::cout));
    commands.push_back(std::make_unique<lumtool::CTranslationsCommand>(std::cout));
    return commands;
}

void PrintUsage(const std::vector<std::unique_ptr<ICommand>>& commands) {
    std::cout << "usage: lumtool COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const auto& command : commands) {
        std::cout << "  " << command->Name() << std::string(14 - std::string(command->Name()).size(), ' ')
                  << command->Summary() << "\n";
    }
    std::cout << "\n'lumtool COMMAND --help' describes one command.\n";
}

bool WantsHelp(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") return true;
    }
    return false;
}

// The GUI toolkit starts only for a command that needs it and is not just asked for help.
bool NeedsDisplay(const std::vector<std::unique_ptr<ICommand>>& commands,
                  const std::vector<std::string>& arguments) {
    if (arguments.empty() || WantsHelp(arguments)) return false;
    for (const auto& command : commands) {
        if (arguments[0] == command->Name()) {
            return command->NeedsDisplay(
                std::vector<std::string>(arguments.begin() + 1, arguments.end()));
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (NeedsDisplay(Commands(), std::vector<std::string>(argv + 1, argv + argc)) &&
        !lumtool::PrepareGuiToolkit(argv)) {
        return lumtool::kExitBadInput;
    }
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        std::cerr << "lumtool: the toolkit could not start\n";
        return lumtool::kExitBadInput;
    }
    // Messages go to the terminal, never to a dialog.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxutil::CMyStringLocalizer::Install();

    const auto commands = Commands();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(commands);
        return arguments.empty() ? lumtool::kExitBadInput : 0;
    }
    for (const auto& command : commands) {
        if (arguments[0] != command->Name()) continue;
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (WantsHelp(rest)) {
            std::cout << command->Help();
            return 0;
        }
        try {
            return command->Run(rest);
        } catch (const lumtool::CUsageError& error) {
            std::cerr << "lumtool: " << error.what() << "\n";
        } catch (const std::exception& error) {
            std::cerr << "lumtool: " << error.what() << "\n";
        }
        return lumtool::kExitBadInput;
    }
    std::cerr << "lumtool: unknown command '" << arguments[0] << "' (see lumtool --help)\n";
    return lumtool::kExitBadInput;
}
