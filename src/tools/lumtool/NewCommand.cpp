#include "NewCommand.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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

}  // namespace

std::size_t WriteTemplate(const std::string& templateName, const std::string& folderName) {
    std::string known;
    const STemplate* chosen = FindTemplate(templateName, known);
    if (!chosen)
        throw CUsageError("no template named '" + templateName + "' (there are " + known + ")");
    const fs::path folder(folderName);
    std::error_code error;
    if (fs::exists(folder, error)) {
        if (!fs::is_directory(folder, error)) {
            throw CUsageError("'" + folderName + "' exists and is not a folder");
        }
        if (!fs::is_empty(folder, error)) {
            throw CUsageError("'" + folderName + "' is not empty; name a new or empty folder");
        }
    }
    for (std::size_t i = 0; i < chosen->count; ++i) {
        const STemplateFile& file = chosen->files[i];
        const fs::path path = folder / fs::path(file.name);
        fs::create_directories(path.parent_path(), error);
        if (error) {
            throw CUsageError("cannot make the folder '" + path.parent_path().string() +
                              "': " + error.message());
        }
        std::ofstream out(path, std::ios::binary);
        out.write(file.data, static_cast<std::streamsize>(file.size));
        out.close();
        if (!out) throw CUsageError("cannot write '" + path.string() + "'");
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
           "and pack it with 'lumtool pack FOLDER -o content.lum'.\n";
}

int CNewCommand::Run(const std::vector<std::string>& arguments) {
    std::string folder;
    std::string chosen = kDefaultTemplate;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--template" || arguments[i] == "-t") {
            if (i + 1 >= arguments.size()) throw CUsageError(arguments[i] + " needs a value");
            chosen = arguments[++i];
        } else if (!arguments[i].empty() && arguments[i][0] == '-') {
            throw CUsageError("unknown option " + arguments[i]);
        } else if (folder.empty()) {
            folder = arguments[i];
        } else {
            throw CUsageError("more than one folder given");
        }
    }
    if (folder.empty()) throw CUsageError("new: no FOLDER given");
    const std::size_t count = WriteTemplate(chosen, folder);
    m_out << "wrote the " << chosen << " template into " << folder << " (" << count << " files)\n";
    return 0;
}

}  // namespace lumtool
