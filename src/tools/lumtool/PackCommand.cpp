#include "PackCommand.h"

#include <wx/log.h>
#include <wx/wfstream.h>
#include <wx/xml/xml.h>
#include <wx/zipstrm.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "graphics/ContentFolder.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";

void CheckDescription(const fs::path& folder) {
    const fs::path description = folder / kDescription;
    if (!fs::is_regular_file(description)) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription);
    }
    wxLogNull quiet;  // the toolkit's parser complains in dialogs otherwise
    wxXmlDocument document;
    if (!document.Load(wxString(description.string())) || !document.GetRoot()) {
        throw CUsageError("'" + description.string() + "' is not well-formed XML");
    }
}

void AddEntry(wxZipOutputStream& zip, const graphics::SContentFile& file) {
    std::ifstream in(file.path, std::ios::binary);
    if (!in) throw CUsageError("cannot read '" + file.path.string() + "'");
    if (!zip.PutNextEntry(file.name)) {
        throw CUsageError("cannot write the entry '" + file.relative + "'");
    }
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        if (in.gcount() > 0) zip.Write(buffer, static_cast<size_t>(in.gcount()));
    }
    zip.CloseEntry();
}

}  // namespace

std::size_t PackFolder(const std::string& folderName, const std::string& output) {
    const fs::path folder(folderName);
    if (!fs::is_directory(folder)) throw CUsageError("'" + folderName + "' is not a folder");
    CheckDescription(folder);
    // Listed as the folder catalogue lists them, so that the folder plays as the file will.
    const std::vector<graphics::SContentFile> files =
        graphics::ListContentFiles(folder, nullptr, fs::path(output));
    for (const graphics::SContentFile& file : files) {
        if (file.name.empty()) {
            throw CUsageError("cannot name an entry for '" + file.path.string() +
                              "': its name is not UTF-8");
        }
    }

    wxLogNull quiet;
    wxFileOutputStream file(wxString::FromUTF8(output));
    if (!file.IsOk()) throw CUsageError("cannot write '" + output + "'");
    {
        // Names are written as UTF-8 and flagged so, which every reader understands.
        wxZipOutputStream zip(file, -1, wxConvUTF8);
        for (const graphics::SContentFile& file : files) AddEntry(zip, file);
        if (!zip.Close()) throw CUsageError("cannot finish '" + output + "'");
    }
    if (!file.Close()) throw CUsageError("cannot finish '" + output + "'");
    return files.size();
}

std::string CPackCommand::Help() const {
    return "usage: lumtool pack FOLDER -o FILE\n"
           "\n"
           "Packs FOLDER, which holds product.xml and the files it names, into the content\n"
           "file FILE (a ZIP archive; put it beside the player as content.lum). Every file\n"
           "below FOLDER becomes an entry named by its path relative to FOLDER, product.xml\n"
           "first; a link to a file is packed under the link's name, links to folders are not\n"
           "followed. A folder without a readable, well-formed product.xml is refused.\n";
}

int CPackCommand::Run(const std::vector<std::string>& arguments) {
    std::string folder;
    std::string output;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-o" || arguments[i] == "--output") {
            if (i + 1 >= arguments.size()) throw CUsageError(arguments[i] + " needs a value");
            output = arguments[++i];
        } else if (!arguments[i].empty() && arguments[i][0] == '-') {
            throw CUsageError("unknown option " + arguments[i]);
        } else if (folder.empty()) {
            folder = arguments[i];
        } else {
            throw CUsageError("more than one folder given");
        }
    }
    if (folder.empty()) throw CUsageError("pack: no FOLDER given");
    if (output.empty()) throw CUsageError("pack: no -o FILE given");
    const std::size_t count = PackFolder(folder, output);
    m_out << "packed " << count << " files into " << output << "\n";
    return 0;
}

}  // namespace lumtool
