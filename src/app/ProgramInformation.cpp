#include "app/ProgramInformation.h"

std::string ProgramVersionText() { return std::string("lumplayer ") + LUM_VERSION; }

std::string ProgramUsageText() {
    return "Usage: lumplayer [CONTENT [-nosplash] [-fullscreen] [-page NAME]\n"
           "                 [-langfolder FOLDER -lang CODE] [-author]]\n"
           "       lumplayer --help | --version\n"
           "\n"
           "Shows the menu of CONTENT, a content file (.lum) or an unpacked menu folder;\n"
           "without it, content.lum beside the program. The options count only after CONTENT:\n"
           "  -nosplash            do not show the menu's splash picture\n"
           "  -fullscreen          start in full screen (F11 switches)\n"
           "  -page NAME           start on the page of that name\n"
           "  -langfolder FOLDER   with -lang: the folder of the player's language packs\n"
           "  -lang CODE           with -langfolder: the language of the player's own texts\n"
           "  -author              read the menu again whenever one of its files changes\n"
           "  --help               show this text\n"
           "  --version            show the player's version\n"
           "\n"
           "When the menu cannot be opened, the reason goes to standard error (and into a\n"
           "message box when standard error is no terminal) and the exit status is 1.\n";
}

std::optional<std::string> ProgramInformationAsked(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 2) return std::nullopt;
    const std::wstring& first = arguments[1];
    if (first == L"--help") return ProgramUsageText();
    if (first == L"--version") return ProgramVersionText() + "\n";
    return std::nullopt;
}
