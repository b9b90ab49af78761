// lumtool: the command-line companion for menu authors.

#include <wx/init.h>
#include <wx/log.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandTable.h"
#include "GuiToolkit.h"
#include "OptionParser.h"
#include "wxutil/MyStringLocalizer.h"

int main(int argc, char** argv) {
    const lumtool::CCommandTable commands = lumtool::LumtoolCommands(std::cout);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    lumtool::ICommand* const command = arguments.empty() ? nullptr : commands.Find(arguments[0]);
    const std::vector<std::string> rest =
        command ? std::vector<std::string>(arguments.begin() + 1, arguments.end())
                : std::vector<std::string>();
    const bool wantsHelp = command && lumtool::COptionParser::AsksForHelp(rest);
    // The GUI toolkit starts only for a command that needs it and is not just asked for help.
    if (command && !wantsHelp && command->NeedsDisplay(rest) && !lumtool::PrepareGuiToolkit(argv)) {
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

    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::cout << commands.Usage();
        return arguments.empty() ? lumtool::kExitBadInput : 0;
    }
    if (!command) {
        std::cerr << "lumtool: unknown command '" << arguments[0] << "' (see lumtool --help)\n";
        return lumtool::kExitBadInput;
    }
    try {
        if (wantsHelp) throw lumtool::CHelpRequest();
        return command->Run(rest);
    } catch (const lumtool::CHelpRequest&) {
        std::cout << command->Help();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "lumtool: " << error.what() << "\n";
    }
    return lumtool::kExitBadInput;
}
