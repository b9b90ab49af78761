#include "MediumCommand.h"

#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>

#include "CheckCommand.h"
#include "DiscCopies.h"
#include "IsoImage.h"
#include "MediumTree.h"
#include "MenuFolder.h"
#include "OptionParser.h"
#include "PackCommand.h"
#include "StagingFolder.h"
#include "StopSignals.h"
#include "WindowsMedium.h"
#include "graphics/QuietAsserts.h"
#include "graphics/XmlReader.h"
#include "graphics/ZipArchive.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
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
    bool throughLink = false;
};

// What the medium takes from the product.
struct CProductFacts {
    std::string title;
    std::string iconFile;
};

CMediumOptions ParseArguments(const std::vector<std::string>& arguments) {
    CMediumOptions options;
    COptionParser("medium")
        .Positional("CONTENT", options.content)
        .Value({"-o", "--output"}, "FOLDER", options.folder, kValueRequired | kValueNotEmpty)
        .Value({"--iso"}, "FILE.iso", options.image, kValueNotEmpty)
        .Value({"--label"}, "NAME", options.label, kValueNotEmpty)
        .Flag({"--through-link"}, options.throughLink)
        .Value({"--windows-player"}, "FILE", options.windowsPlayer, kValueNotEmpty)
        .Parse(arguments);
    if (options.label && options.image.empty()) {
        throw CUsageError("--label names the ISO image; give --iso FILE.iso too");
    }
    if (options.throughLink && options.image.empty()) {
        throw CUsageError("--through-link is about the ISO image; give --iso FILE.iso too");
    }
    return options;
}

CProductFacts FactsOf(const wxXmlNode& root) {
    return {root.GetAttribute("title").utf8_string(),
            root.GetAttribute("icon-filename").utf8_string()};
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
    std::wstring reason;
    switch (graphics::xml::ReadStream(archive.GetCatalogue().GetStream(),
                                      lum::data::CProduct::kMaxDescriptionSize, description,
                                      reason)) {
        case graphics::xml::EStreamRead::Read:
            break;
        case graphics::xml::EStreamRead::TooLarge:
            throw CUsageError("'" + content +
                              "': product.xml is larger than the player reads (64 MiB)");
        case graphics::xml::EStreamRead::Empty:
        case graphics::xml::EStreamRead::Malformed:
            throw CUsageError("'" + content + "': product.xml is not well-formed XML (" +
                              tarn::ToUtf8(reason) + ")");
    }
    return FactsOf(*description.GetRoot());
}

// The product as the player's loader reads it from the content file, for the names its
// actions give.
tarn::P<lum::data::CProduct> LoadProduct(const std::string& content) {
    const lum::data::CElementFactories factories;
    const graphics::CQuietAsserts quiet;
    const wxLogNull silent;
    const auto product = tarn::New<lum::data::CProduct>();
    try {
        product->Load(wxFileName(wxString::FromUTF8(content)));
    } catch (const std::exception& error) {
        throw CUsageError("'" + content + "' cannot be read by the player: " + error.what());
    }
    return product;
}

fs::path ProgramFolder() {
    const wxString program = wxStandardPaths::Get().GetExecutablePath();
    return fs::path(program.utf8_string()).parent_path();
}

// Whether path is folder or lies below it, links resolved where they exist.
bool IsWithin(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    fs::path outer = fs::weakly_canonical(fs::absolute(folder), error);
    if (outer.filename().empty()) outer = outer.parent_path();  // "out/" names the folder "out"
    const fs::path inner = fs::weakly_canonical(fs::absolute(path), error);
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first ==
           outer.end();
}

// The file the image is to be written to: the one named, or, with --through-link, the file
// that a symbolic link of that name leads to. Without it a link is refused, since writing
// through it would replace a file somewhere else.
fs::path ImageTarget(const std::string& image, bool throughLink) {
    fs::path path = fs::absolute(image);
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    if (!throughLink) {
        throw CUsageError("the ISO image '" + image +
                          "' is a symbolic link; give --through-link to write through it");
    }
    for (int hops = 0; fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path next = fs::read_symlink(path, error);
        if (error || hops == 40) {
            throw CUsageError("the ISO image '" + image + "' is a link that leads nowhere");
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path.lexically_normal();
}

// The image goes beside the tree, never into it (it would end up in itself), and never
// over a file the medium is made from.
void CheckImagePlace(const fs::path& image, const std::string& named, const fs::path& folder,
                     const std::vector<std::string>& inputs) {
    std::error_code error;
    if (IsWithin(image.parent_path(), folder)) {
        throw CUsageError("the ISO image '" + named + "' must not be inside the medium '" +
                          folder.string() + "'");
    }
    if (!fs::is_directory(image.parent_path(), error)) {
        throw CUsageError("the folder of the ISO image '" + named + "' does not exist");
    }
    if (fs::is_directory(image, error)) {
        throw CUsageError("the ISO image '" + named + "' is a folder");
    }
    for (const std::string& input : inputs) {
        if (!input.empty() && fs::exists(image, error) && fs::equivalent(image, input, error)) {
            throw CUsageError("the ISO image '" + named + "' is '" + input +
                              "', which the medium is made from; name another file");
        }
    }
}

// The disc's files that go onto the medium; prints why not and returns false when some are
// nowhere.
bool PlanDisc(const lum::data::CProduct& product, const fs::path& discRoot, const fs::path& root,
              SDiscPlan& plan) {
    plan = PlanDiscCopies(product, discRoot, root);
    for (const std::string& note : plan.notes) std::cerr << "lumtool: note: " << note << "\n";
    if (plan.missing.empty()) return true;
    for (const std::string& line : plan.missing) std::cerr << "lumtool: " << line << "\n";
    std::cerr << "lumtool: " << plan.missing.size()
              << (plan.missing.size() == 1 ? " name that an action gives is"
                                           : " names that actions give are")
              << " not on the disc; nothing written\n";
    return false;
}

// Tells about staging folders of killed runs in the medium's root (they are harmless).
void NoteLeftovers(const fs::path& root) {
    for (const fs::path& leftover : LeftoverStagingFolders(root)) {
        std::cerr << "lumtool: note: '" << leftover.string()
                  << "' is left from an interrupted run and can be removed\n";
    }
}

}  // namespace

std::string CMediumCommand::Help() const {
    return "usage: lumtool medium CONTENT -o FOLDER [--iso FILE.iso [--through-link]]\n"
           "                      [--label NAME] [--windows-player FILE]\n"
           "\n"
           "Writes the tree of a medium (a disc, a USB stick, a folder to hand out) that plays\n"
           "the menu CONTENT, a content file or a menu folder, on Linux desktops with GTK 3\n"
           "that never installed lumplayer:\n"
           "\n"
           "  FOLDER/content.lum   a copy of CONTENT, or the menu folder packed as lumtool pack\n"
           "                       packs it\n"
           "  FOLDER/lumplayer     starts the menu, from whatever folder it is called\n"
           "  FOLDER/autorun.sh    offered to run by desktops when the medium is mounted\n"
           "  FOLDER/.lumplayer/   the player and the libraries it brings along\n"
           "\n"
           "The files and folders that the menu's run-file and open-folder actions name are\n"
           "copied from the disc the menu comes from (the menu folder, or the folder beside\n"
           "the content file, and the product's base folder there) to the same paths below\n"
           "FOLDER, where the player looks for them. When one is on the disc nowhere, each is\n"
           "named and nothing is written (exit status 1); links that lead off that disc are\n"
           "refused. Other files in FOLDER, such as your own documents, stay. With --iso, also\n"
           "writes an ISO 9660 image of FOLDER (Rock Ridge and Joliet, made with xorriso),\n"
           "labelled NAME or the menu's title. Needs a display, as check does: the player's\n"
           "loader reads the menu.\n"
           "\n"
           "When a Windows player is at hand (lumplayer.exe beside lumtool, or the FILE given\n"
           "with --windows-player), the medium plays on Windows too:\n"
           "\n"
           "  FOLDER/lumplayer.exe  the Windows player\n"
           "  FOLDER/autorun.inf    names it, with the product's icon and title, for AutoPlay\n"
           "\n"
           "These files are first written into a new folder FOLDER/.lumtool-medium-XXXXXX and\n"
           "then renamed into place, replacing those of an older medium: a failure (a full\n"
           "disk, Ctrl+C) leaves the old medium as it was. A run that is killed outright may\n"
           "leave that folder behind; it can be removed, and the image leaves it out. The\n"
           "image, too, is written under a new name beside FILE.iso and renamed at the end.\n"
           "A FILE.iso that is a symbolic link is refused unless --through-link is given\n"
           "(write through an output that is a symbolic link).\n";
}

int CMediumCommand::Run(const std::vector<std::string>& arguments) {
    const CMediumOptions options = ParseArguments(arguments);
    std::error_code error;
    // A menu folder is packed on the way; its folder stands for the disc.
    std::unique_ptr<CMenuFolder> menu;
    if (fs::is_directory(options.content, error)) {
        menu = std::make_unique<CMenuFolder>(options.content);
    }
    const CProductFacts product =
        menu ? FactsOf(menu->GetDescription()) : ReadProduct(options.content);
    const std::string& title = product.title;
    const fs::path root = fs::absolute(options.folder);
    if (fs::exists(root, error) && !fs::is_directory(root, error)) {
        throw CUsageError("'" + options.folder + "' is not a folder");
    }
    fs::path image;
    fs::path xorriso;
    if (!options.image.empty()) {
        image = ImageTarget(options.image, options.throughLink);
        CheckImagePlace(image, options.image, options.folder,
                        {options.content, options.windowsPlayer});
        xorriso = FindXorriso();
        if (xorriso.empty()) {
            throw CUsageError(
                "xorriso is not installed (Debian package xorriso): it writes the ISO image");
        }
    }
    const fs::path windowsPlayer = FindWindowsPlayer(options.windowsPlayer, ProgramFolder());
    const fs::path payload = FindPayload(ProgramFolder());
    if (IsWithin(root, payload / kPrivateFolder)) {
        throw CUsageError("the medium '" + options.folder +
                          "' must not be inside the player's files '" +
                          (payload / kPrivateFolder).string() + "'");
    }
    if (PayloadHasSanitizers(payload)) {
        std::cerr << "lumtool: note: this player was built with the sanitizers; make media to hand "
                     "out with a Release build\n";
    }
    SDiscPlan disc;
    if (menu) {
        if (IsWithin(root, menu->GetFolder())) {
            throw CUsageError("the medium '" + options.folder +
                              "' must not be inside the menu folder '" + options.content +
                              "', which is read");
        }
        SPackOptions packing;
        packing.outsideLinksRemedy = "a medium takes only the folder's own files";
        menu->Read(packing);
        if (!PlanDisc(menu->GetProduct(), menu->GetFolder(), root, disc)) return kExitProblems;
    } else {
        // Let go before the swap: Windows renames no file over one that is open.
        const auto loaded = LoadProduct(options.content);
        const fs::path beside = fs::absolute(options.content).parent_path();
        if (!PlanDisc(*loaded, beside, root, disc)) return kExitProblems;
    }

    // Declared first, so that the staging folder is gone before a signal ends the process.
    const CStopSignals stopSignals;
    CCreatedFolder created(root);
    NoteLeftovers(root);
    {
        CStagingFolder staging(root, kMediumStagingPrefix);
        if (menu) {
            WriteFreshContentFile(*menu, staging.Path() / "content.lum");
            StagePlayer(payload, staging.Path());
        } else {
            StageMediumTree(options.content, payload, staging.Path());
        }
        StageDiscFiles(disc.copies, staging.Path());
        if (!windowsPlayer.empty()) {
            WriteWindowsPlayer(windowsPlayer, staging.Path(), title, product.iconFile);
        }
        CStopSignals::ThrowIfStopped();
        SwapIntoPlace(staging.Path(), root);
    }  // the staging folder goes, with the old player's folder
    created.Keep();
    m_out << "wrote the medium " << options.folder
          << (windowsPlayer.empty() ? " (Linux only: no Windows player at hand)" : "") << "\n";
    if (menu) {
        m_out << "packed " << menu->GetPacked().size() << " files into its content.lum\n";
        if (!menu->GetUnreferenced().empty()) {
            m_out << CountedNames(menu->GetUnreferenced(), "nothing references, left out") << "\n";
        }
    }
    if (!disc.copiedNames.empty()) {
        m_out << CountedNames(disc.copiedNames, "for the disc, copied beside content.lum") << "\n";
    }
    if (!image.empty()) {
        const std::string label = options.label.value_or(title);
        WriteIsoImage(xorriso, root, image, label.empty() ? "MENU" : label);
        m_out << "wrote the image " << options.image << "\n";
    }
    return 0;
}

}  // namespace lumtool
