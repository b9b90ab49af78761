#include "CheckCommand.h"

#include <wx/string.h>

#include "ContentCheck.h"

namespace lumtool {

std::string CCheckCommand::Help() const {
    return "usage: lumtool check FILE\n"
           "\n"
           "Loads the content file FILE as the player does and reports what would go wrong\n"
           "when it is shown, one problem a line: attachments that are missing from the\n"
           "file or do not decode, go-to-page actions that name no page, button skins\n"
           "without a normal, hover or down look, page names that differ only in letter\n"
           "case, a splash picture or music that will not show or play.\n"
           "\n"
           "Exit status: 0 no problems, 1 problems found, 2 the file cannot be read at all\n"
           "(the reason goes to stderr). Needs a display; without one, lumtool runs itself\n"
           "under xvfb-run when that is installed.\n";
}

int CCheckCommand::Run(const std::vector<std::string>& arguments) {
    std::string file;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == '-')
            throw CUsageError("unknown option " + argument);
        if (!file.empty()) throw CUsageError("check: more than one FILE given");
        file = argument;
    }
    if (file.empty()) throw CUsageError("check: no FILE given");

    CContentCheck check(file);
    check.Run();
    const auto& pages = check.GetPageNames();
    m_out << file << ": " << pages.size() << (pages.size() == 1 ? " page:" : " pages:");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        m_out << (i == 0 ? " '" : ", '") << wxString(pages[i]).utf8_string() << "'";
    }
    m_out << "\n";
    for (const std::string& problem : check.GetProblems()) m_out << problem << "\n";
    const std::size_t count = check.GetProblems().size();
    if (count == 0) {
        m_out << "no problems found\n";
        return 0;
    }
    m_out << count << (count == 1 ? " problem" : " problems") << " found\n";
    return kExitProblems;
}

}  // namespace lumtool
