#include "CheckCommand.h"

#include <wx/string.h>

#include <filesystem>
#include <system_error>

#include "ContentCheck.h"
#include "OptionParser.h"

namespace lumtool {

std::string CCheckCommand::Help() const {
    return "usage: lumtool check CONTENT [--strict] [--disc DIR]\n"
           "\n"
           "Loads CONTENT, a content file or an unpacked folder holding product.xml and its\n"
           "files, as the player does and reports what would go wrong when it is shown, one\n"
           "finding a line, each naming its page and element (tag, name, top-left corner and\n"
           "size in pixels) and what to do. An \"error:\" breaks the menu for its users:\n"
           "attachments that are missing from it or do not decode (names compare with letter\n"
           "case, packed or not), go-to-page actions that name no page, button skins without a\n"
           "normal, hover or down look, page names that differ only in letter case, a splash\n"
           "picture or music that will not show or play, a music size other than its file's,\n"
           "elements wholly outside the page. A \"warning:\" may be meant, or hurts only some\n"
           "users: elements partly outside the page, texts cut off by their boxes (as written\n"
           "and in each language), overlapping buttons, text ids translated into some of the\n"
           "menu's languages only, translated rich texts of several runs. For a folder also\n"
           "what a content file packed from it would not\n"
           "hold (links to folders, names that are not UTF-8) and the links that lead out of\n"
           "the folder, which pack refuses.\n"
           "\n"
           "The files and folders that run-file and open-folder actions name are not in the\n"
           "content file but on the disc: they are looked for as the player looks for them,\n"
           "below the disc's root (and the product's base folder there). One that is missing,\n"
           "or leads out of the disc, is an error (with the nearest existing name when one is\n"
           "close); one found only in other letter case, or an absolute path, is a warning.\n"
           "\n"
           "  --strict     warnings count as errors for the exit status\n"
           "  --disc DIR   the disc's root (by default the folder beside a content file, or\n"
           "               the menu folder itself)\n"
           "\n"
           "Exit status: 0 no errors (warnings alone, unless --strict), 1 errors found, 2 a\n"
           "usage error, the file cannot be read at all, or a part of the folder cannot be\n"
           "listed (the reason goes to stderr). Needs a display; without one, lumtool runs\n"
           "itself under xvfb-run when that is installed.\n";
}

namespace {

std::string Counted(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

int CCheckCommand::Run(const std::vector<std::string>& arguments) {
    std::string file;
    std::string disc;
    bool strict = false;
    COptionParser("check")
        .Positional("FILE", file, "a content file or a folder")
        .Flag({"--strict"}, strict)
        .Value({"--disc"}, "DIR", disc)
        .Parse(arguments);

    std::error_code error;
    if (!disc.empty() && !std::filesystem::is_directory(disc, error)) {
        throw CUsageError("check: the disc '" + disc + "' is not a folder");
    }

    CContentCheck check(file);
    check.SetDiscRoot(disc);
    try {
        check.Run();
    } catch (const CUsageError&) {
        // What was found before the menu proved unreadable may well be why.
        for (const SFinding& finding : check.GetFindings()) {
            m_out << (finding.severity == ESeverity::Error ? "error: " : "warning: ")
                  << finding.text << "\n";
        }
        throw;
    }
    const auto& pages = check.GetPageNames();
    m_out << file << ": " << pages.size() << (pages.size() == 1 ? " page:" : " pages:");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        m_out << (i == 0 ? " '" : ", '") << wxString(pages[i]).utf8_string() << "'";
    }
    m_out << "\n";
    std::size_t errors = 0;
    for (const SFinding& finding : check.GetFindings()) {
        const bool error = finding.severity == ESeverity::Error;
        errors += error ? 1 : 0;
        m_out << (error ? "error: " : "warning: ") << finding.text << "\n";
    }
    const std::size_t warnings = check.GetFindings().size() - errors;
    if (errors == 0 && warnings == 0) {
        m_out << "no problems found\n";
        return 0;
    }
    if (warnings == 0) {
        m_out << Counted(errors, "error") << " found\n";
    } else if (errors == 0) {
        m_out << Counted(warnings, "warning") << " found\n";
    } else {
        m_out << Counted(errors, "error") << " and " << Counted(warnings, "warning") << " found\n";
    }
    return errors > 0 || strict ? kExitProblems : 0;
}

}  // namespace lumtool
