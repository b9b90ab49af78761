#include "PackCommand.h"

#include <wx/log.h>
#include <wx/wfstream.h>
#include <wx/xml/xml.h>
#include <wx/zipstrm.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

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

// The files to pack, product.xml first and the rest in a stable order.
std::vector<fs::path> FilesToPack(const fs::path& folder, const fs::path& output) {
    std::vector<fs::path> files;
    std::error_code error;
    const fs::path skip = fs::weakly_canonical(output, error);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        if (fs::weakly_canonical(entry.path(), error) == skip) continue;
        files.push_back(fs::relative(entry.path(), folder));
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        if ((a == kDescription) != (b == kDescription)) return a == kDescription;
        return a.generic_string() < b.generic_string();
    });
    return files;
}

void AddEntry(wxZipOutputStream& zip, const fs::path& folder, const fs::path& relative) {
    std::ifstream in(folder / relative, std::ios::binary);
    if (!in) throw CUsageError("cannot read '" + (folder / relative).string() + "'");
    if (!zip.PutNextEntry(wxString::FromUTF8(relative.generic_string()))) {
        throw CUsageError("cannot write the entry '" + relative.generic_string() + "'");
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
    const std::vector<fs::path> files = FilesToPack(folder, output);

    wxLogNull quiet;
    wxFileOutputStream file(wxString::FromUTF8(output));
    if (!file.IsOk()) throw CUsageError("cannot write '" + output + "'");
    {
        // Names are written as UTF-8 and flagged so, which every reader understands.
        wxZipOutputStream zip(file, -1, wxConvUTF8);
        for (const fs::path& relative : files) AddEntry(zip, folder, relative);
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
           "below FOLDER becomes an entry named by its path relative to FOLDER. A folder\n"
           "without a readable, well-formed product.xml is refused.\n";
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
