#include "NewCommand.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "FileCopy.h"
#include "OptionParser.h"
#include "StagingFolder.h"
#include "StopSignals.h"
#include "Templates.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultTemplate = "blank";

const STemplate* FindTemplate(const std::string& name, std::string& known) {
    std::size_t count = 0;
    const STemplate* templates = GetTemplates(count);
    const STemplate* found = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        known += (known.empty() ? "" : ", ") + std::string(templates[i].name);
        if (name == templates[i].name) found = &templates[i];
    }
    return found;
}

// How the staging folders of "new" begin; inside the menu folder, one left by a killed run
// does not make the folder count as holding files.
constexpr const char* kStagingPrefix = ".lumtool-new-";

bool IsLeftover(const fs::path& entry) {
    return entry.filename().string().rfind(kStagingPrefix, 0) == 0;
}

// The folder's files, leaving out what killed runs of "new" left there.
bool HoldsFiles(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!IsLeftover(entry.path())) return true;
    }
    return static_cast<bool>(error);
}

void RemoveLeftovers(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (IsLeftover(entry.path())) fs::remove_all(entry.path(), ignored);
    }
}

// Writes one file; the message names the system's reason (a full disk, say).
void WriteFile(const fs::path& path, const STemplateFile& file) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(file.data, static_cast<std::streamsize>(file.size));
    out.close();
    if (!out) FailOnFile("write", path);
}

void WriteFiles(const STemplate& chosen, const fs::path& folder) {
    std::error_code error;
    for (std::size_t i = 0; i < chosen.count; ++i) {
        CStopSignals::ThrowIfStopped();
        const STemplateFile& file = chosen.files[i];
        const fs::path path = folder / fs::path(file.name);
        fs::create_directories(path.parent_path(), error);
        if (error) {
            throw CUsageError("cannot make the folder '" + path.parent_path().string() +
                              "': " + error.message());
        }
        WriteFile(path, file);
    }
}

// A missing folder: the menu is written into a staging folder beside it, which becomes the
// folder by one rename. Until then the folder does not exist, even when the run is killed.
void WriteAsNewFolder(const STemplate& chosen, const fs::path& folder) {
    CCreatedFolder parents(folder.parent_path());
    CStagingFolder staging(folder.parent_path(), "." + folder.filename().string() + kStagingPrefix);
    WriteFiles(chosen, staging.Path());
    CStopSignals::ThrowIfStopped();
    std::error_code error;
    fs::rename(staging.Path(), folder, error);
    if (error) {
        throw CUsageError("cannot write the folder '" + folder.string() + "': " + error.message());
    }
    staging.Keep();
    parents.Keep();
}

// An empty folder (a mounted stick, say, which cannot be replaced): the menu is written into
// a staging folder inside it, and its files and folders are moved up at the end. On failure
// the folder is left empty.
void WriteIntoEmptyFolder(const STemplate& chosen, const fs::path& folder) {
    RemoveLeftovers(folder);
    CStagingFolder staging(folder, kStagingPrefix);
    WriteFiles(chosen, staging.Path());
    CStopSignals::ThrowIfStopped();
    std::vector<fs::path> moved;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(staging.Path(), error)) {
        const fs::path target = folder / entry.path().filename();
        fs::rename(entry.path(), target, error);
        if (error) break;
        moved.push_back(target);
    }
    if (error) {
        const std::error_code reason = error;
        for (const fs::path& path : moved) fs::remove_all(path, error);
        throw CUsageError("cannot write into '" + folder.string() + "': " + reason.message());
    }
}

}  // namespace

std::size_t WriteTemplate(const std::string& templateName, const std::string& folderName) {
    std::string known;
    const STemplate* chosen = FindTemplate(templateName, known);
    if (!chosen)
        throw CUsageError("no template named '" + templateName + "' (there are " + known + ")");
    fs::path folder = fs::absolute(fs::path(folderName)).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();  // "menu/" is "menu"
    std::error_code error;
    // Declared first, so that what was written is gone before a signal ends the process.
    const CStopSignals stopSignals;
    if (fs::exists(fs::symlink_status(folder, error))) {
        if (!fs::is_directory(folder, error)) {
            throw CUsageError("'" + folderName + "' exists and is not a folder");
        }
        if (HoldsFiles(folder)) {
            throw CUsageError("'" + folderName + "' is not empty; name a new or empty folder");
        }
        WriteIntoEmptyFolder(*chosen, folder);
    } else {
        WriteAsNewFolder(*chosen, folder);
    }
    return chosen->count;
}

std::string CNewCommand::Help() const {
    return "usage: lumtool new FOLDER [--template demo|blank]\n"
           "\n"
           "Starts a menu: writes product.xml and the files it names into FOLDER, which must\n"
           "not exist yet or be empty. The blank template (the default) is one page with a\n"
           "background picture, a title and two buttons, one opening readme.txt and one\n"
           "quitting; the demo template is the demo menu of the player. Play the folder with\n"
           "'lumplayer FOLDER -author' while you edit it, check it with 'lumtool check FOLDER'\n"
           "and pack it with 'lumtool pack FOLDER -o content.lum'.\n"
           "\n"
           "The files are written into a new folder first (.FOLDER.lumtool-new-XXXXXX beside\n"
           "a missing FOLDER, FOLDER/.lumtool-new-XXXXXX in an empty one) and moved into\n"
           "place at the end: a failure (a full disk, Ctrl+C) leaves FOLDER as it was,\n"
           "missing or empty, so that the command can simply be run again. A run that is\n"
           "killed outright may leave that folder behind; it can be removed, and a later\n"
           "run does not count it as a file in FOLDER.\n";
}

int CNewCommand::Run(const std::vector<std::string>& arguments) {
    std::string folder;
    std::string chosen = kDefaultTemplate;
    COptionParser("new")
        .Positional("FOLDER", folder)
        .Value({"--template", "-t"}, "NAME", chosen)
        .Parse(arguments);
    const std::size_t count = WriteTemplate(chosen, folder);
    m_out << "wrote the " << chosen << " template into " << folder << " (" << count << " files)\n";
    return 0;
}

}  // namespace lumtool
