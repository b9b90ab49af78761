#include "MediumCommand.h"

#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "IsoImage.h"
#include "MediumTree.h"
#include "WindowsMedium.h"
#include "graphics/ZipArchive.h"
#include "tarn/Text.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

struct CMediumOptions {
    std::string content;
    std::string folder;
    std::string image;
    std::optional<std::string> label;
    std::string windowsPlayer;
};

// What the medium takes from the product.
struct CProductFacts {
    std::string title;
    std::string iconFile;
};

CMediumOptions ParseArguments(const std::vector<std::string>& arguments) {
    CMediumOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                throw CUsageError(argument + " needs a value");
            }
            return arguments[++i];
        };
        if (argument == "-o" || argument == "--output") {
            options.folder = value();
        } else if (argument == "--iso") {
            options.image = value();
        } else if (argument == "--label") {
            options.label = value();
        } else if (argument == "--windows-player") {
            options.windowsPlayer = value();
        } else if (!argument.empty() && argument[0] == '-') {
            throw CUsageError("unknown option '" + argument + "'");
        } else if (options.content.empty()) {
            options.content = argument;
        } else {
            throw CUsageError("one content file only ('" + argument + "' is a second one)");
        }
    }
    if (options.content.empty()) throw CUsageError("medium: no CONTENT given");
    if (options.folder.empty()) throw CUsageError("medium: no -o FOLDER given");
    if (options.label && options.image.empty()) {
        throw CUsageError("--label names the ISO image; give --iso FILE.iso too");
    }
    return options;
}

// The product's title and icon, read from the content file; also proves that the file is a
// menu.
CProductFacts ReadProduct(const std::string& content) {
    std::error_code error;
    if (!fs::is_regular_file(content, error)) throw CUsageError("no such file: '" + content + "'");
    wxLogNull quiet;
    graphics::CZipArchive archive(tarn::FromUtf8(content));
    if (!archive.IsOk() || archive.GetCatalogue().GetEntryCount() == 0) {
        throw CUsageError("'" + content +
                          "' is not a content file (not a ZIP archive, or an empty one)");
    }
    if (!archive.GetCatalogue().OpenEntry(L"product.xml")) {
        throw CUsageError("'" + content + "' is not a content file (no product.xml)");
    }
    wxXmlDocument description;
    if (!description.Load(archive.GetCatalogue().GetStream()) || !description.GetRoot()) {
        throw CUsageError("'" + content + "': product.xml is not well-formed XML");
    }
    return {description.GetRoot()->GetAttribute("title").utf8_string(),
            description.GetRoot()->GetAttribute("icon-filename").utf8_string()};
}

fs::path ProgramFolder() {
    const wxString program = wxStandardPaths::Get().GetExecutablePath();
    return fs::path(program.utf8_string()).parent_path();
}

// The image goes beside the tree, never into it (it would end up in itself).
void CheckImagePlace(const fs::path& image, const fs::path& folder) {
    std::error_code error;
    fs::path tree = fs::weakly_canonical(fs::absolute(folder), error);
    if (tree.filename().empty()) tree = tree.parent_path();  // "out/" names the folder "out"
    const fs::path parent = fs::weakly_canonical(fs::absolute(image).parent_path(), error);
    const auto [treeEnd, parentAt] =
        std::mismatch(tree.begin(), tree.end(), parent.begin(), parent.end());
    if (treeEnd == tree.end()) {
        throw CUsageError("the ISO image '" + image.string() + "' must not be inside the medium '" +
                          folder.string() + "'");
    }
    if (!fs::is_directory(parent, error)) {
        throw CUsageError("the folder of the ISO image '" + image.string() + "' does not exist");
    }
}

}  // namespace

std::string CMediumCommand::Help() const {
    return "usage: lumtool medium CONTENT -o FOLDER [--iso FILE.iso] [--label NAME]\n"
           "                      [--windows-player FILE]\n"
           "\n"
           "Writes the tree of a medium (a disc, a USB stick, a folder to hand out) that plays\n"
           "the menu CONTENT on Linux desktops with GTK 3 that never installed lumplayer:\n"
           "\n"
           "  FOLDER/content.lum   a copy of CONTENT\n"
           "  FOLDER/lumplayer     starts the menu, from whatever folder it is called\n"
           "  FOLDER/autorun.sh    offered to run by desktops when the medium is mounted\n"
           "  FOLDER/.lumplayer/   the player and the libraries it brings along\n"
           "\n"
           "Other files in FOLDER, such as the documents that the menu's buttons open, stay;\n"
           "put them there before or after. With --iso, also writes an ISO 9660 image of\n"
           "FOLDER (Rock Ridge and Joliet, made with xorriso), labelled NAME or the menu's\n"
           "title.\n"
           "\n"
           "When a Windows player is at hand (lumplayer.exe beside lumtool, or the FILE given\n"
           "with --windows-player), the medium plays on Windows too:\n"
           "\n"
           "  FOLDER/lumplayer.exe  the Windows player\n"
           "  FOLDER/autorun.inf    names it, with the product's icon and title, for AutoPlay\n";
}

int CMediumCommand::Run(const std::vector<std::string>& arguments) {
    const CMediumOptions options = ParseArguments(arguments);
    const CProductFacts product = ReadProduct(options.content);
    const std::string& title = product.title;
    std::error_code error;
    if (fs::exists(options.folder, error) && !fs::is_directory(options.folder, error)) {
        throw CUsageError("'" + options.folder + "' is not a folder");
    }
    fs::path xorriso;
    if (!options.image.empty()) {
        CheckImagePlace(options.image, options.folder);
        xorriso = FindXorriso();
        if (xorriso.empty()) {
            throw CUsageError(
                "xorriso is not installed (Debian package xorriso): it writes the ISO image");
        }
    }
    const fs::path windowsPlayer = FindWindowsPlayer(options.windowsPlayer, ProgramFolder());
    const fs::path payload = FindPayload(ProgramFolder());
    if (PayloadHasSanitizers(payload)) {
        std::cerr << "lumtool: note: this player was built with the sanitizers; make media to hand "
                     "out with a Release build\n";
    }

    WriteMediumTree(options.content, payload, options.folder);
    if (!windowsPlayer.empty()) {
        WriteWindowsPlayer(windowsPlayer, options.folder, title, product.iconFile);
    }
    m_out << "wrote the medium " << options.folder
          << (windowsPlayer.empty() ? " (Linux only: no Windows player at hand)" : "") << "\n";
    if (!options.image.empty()) {
        const std::string label = options.label.value_or(title);
        WriteIsoImage(xorriso, options.folder, options.image, label.empty() ? "MENU" : label);
        m_out << "wrote the image " << options.image << "\n";
    }
    return 0;
}

}  // namespace lumtool
