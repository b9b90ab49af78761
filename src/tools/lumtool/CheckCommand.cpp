#include "CheckCommand.h"

#include <wx/string.h>

#include "ContentCheck.h"

namespace lumtool {

std::string CCheckCommand::Help() const {
    return "usage: lumtool check CONTENT\n"
           "\n"
           "Loads CONTENT, a content file or an unpacked folder holding product.xml and its\n"
           "files, as the player does and reports what would go wrong when it is shown, one\n"
           "problem a line: attachments that are missing from it or do not decode (names\n"
           "compare with letter case, packed or not), go-to-page actions that name no page,\n"
           "button skins without a normal, hover or down look, page names that differ only in\n"
           "letter case, a splash picture or music that will not show or play. For a folder\n"
           "also what a content file packed from it would not hold (links to folders, names\n"
           "that are not UTF-8) and the links that lead out of the folder, which pack refuses.\n"
           "\n"
           "Exit status: 0 no problems, 1 problems found, 2 the file cannot be read at all,\n"
           "or a part of the folder cannot be listed (the reason goes to stderr). Needs a\n"
           "display; without one, lumtool runs itself under xvfb-run when that is installed.\n";
}

int CCheckCommand::Run(const std::vector<std::string>& arguments) {
    std::string file;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == '-')
            throw CUsageError("unknown option " + argument);
        if (!file.empty()) throw CUsageError("check: more than one CONTENT given");
        file = argument;
    }
    if (file.empty()) throw CUsageError("check: no FILE given (a content file or a folder)");

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
