#include "PackCommand.h"

#include <wx/log.h>
#include <wx/wfstream.h>
#include <wx/xml/xml.h>
#include <wx/zipstrm.h>

#include <filesystem>
#include <cstdio>
#include <memory>
#include <iostream>
#include <vector>

#include "InputFile.h"
#include "OutputFile.h"
#include "graphics/ContentFolder.h"
#include "graphics/XmlReader.h"
#include "lum/data/Product.h"
#include "tarn/win32/FileReplacement.h"
#include "tarn/win32/RegularFile.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";

void CheckDescription(const fs::path& folder) {
    const fs::path description = folder / kDescription;
    if (!fs::is_regular_file(description)) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription);
    }
    wxXmlDocument document;
    std::wstring reason;
    const std::string text = ReadInputFile(description, lum::data::CProduct::kMaxDescriptionSize);
    if (!graphics::xml::ReadDocument(text, document, reason)) {
        throw CUsageError("'" + description.string() + "' is not well-formed XML (" +
                          wxString(reason).utf8_string() + ")");
    }
}

void AddEntry(wxZipOutputStream& zip, const graphics::SContentFile& file) {
    // Opened as it is now: a name listed as a file may have become a FIFO or a device since.
    std::string reason;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
        tarn::win32::OpenRegularFileForReading(file.target, reason), &std::fclose);
    if (!in) throw CUsageError("cannot read '" + file.relative + "' (" + reason + ")");
    if (!zip.PutNextEntry(file.name)) {
        throw CUsageError("cannot write the entry '" + file.relative + "'");
    }
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;) {
        zip.Write(buffer, got);
    }
    if (std::ferror(in.get())) throw CUsageError("cannot read '" + file.relative + "'");
    zip.CloseEntry();
}

// The files to pack; raises CUsageError for what a content file must not hold.
std::vector<graphics::SContentFile> FilesToPack(const fs::path& folder,
                                                const SPackOptions& options) {
    std::vector<graphics::SContentFile> files;
    for (graphics::SContentFile& file : graphics::ListContentFiles(folder)) {
        if (tarn::win32::IsTemporaryName(file.path.filename().string())) {
            std::cerr << "lumtool: warning: '" << file.relative
                      << "' was left by a write that was cut short; not packed (remove it)\n";
            continue;
        }
        files.push_back(std::move(file));
    }
    if (files.empty() || files.front().relative != kDescription) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription +
                          " any more; nothing written");
    }
    std::string outside;
    for (const graphics::SContentFile& file : files) {
        if (file.name.empty()) {
            throw CUsageError("cannot name an entry for '" + file.path.string() +
                              "': its name is not UTF-8");
        }
        if (file.leavesFolder && !options.allowOutsideLinks) {
            outside += (outside.empty() ? "" : ", ") + ("'" + file.relative + "'");
        }
    }
    if (!outside.empty()) {
        throw CUsageError("links lead out of the menu folder: " + outside +
                          "; pack takes only the folder's own files (give "
                          "--allow-outside-links to pack what they lead to)");
    }
    return files;
}

}  // namespace

std::size_t PackFolder(const std::string& folderName, const std::string& output,
                       const SPackOptions& options) {
    const fs::path folder(folderName);
    if (!fs::is_directory(folder)) throw CUsageError("'" + folderName + "' is not a folder");
    CheckDescription(folder);
    const fs::path target = CheckOutput(fs::path(output), {folder}, options.throughLink);
    // Listed as the folder catalogue lists them, so that the folder plays as the file will.
    const std::vector<graphics::SContentFile> files = FilesToPack(folder, options);

    wxLogNull quiet;
    tarn::win32::CFileReplacement replacement(target);
    CReplacementStream stream(replacement);
    {
        // Names are written as UTF-8 and flagged so, which every reader understands.
        wxZipOutputStream zip(stream, -1, wxConvUTF8);
        for (const graphics::SContentFile& file : files) {
            AddEntry(zip, file);
            if (!stream.GetProblem().empty()) throw CUsageError(stream.GetProblem());
        }
        if (!zip.Close() || !stream.GetProblem().empty()) {
            throw CUsageError(stream.GetProblem().empty() ? "cannot finish '" + output + "'"
                                                          : stream.GetProblem());
        }
    }
    replacement.Commit();
    return files.size();
}

std::string CPackCommand::Help() const {
    return "usage: lumtool pack FOLDER -o FILE [--through-link] [--allow-outside-links]\n"
           "\n"
           "Packs FOLDER, which holds product.xml and the files it names, into the content\n"
           "file FILE (a ZIP archive; put it beside the player as content.lum). Every file\n"
           "below FOLDER becomes an entry named by its path relative to FOLDER, product.xml\n"
           "first; a link to a file is packed under the link's name, links to folders are not\n"
           "followed. A folder without a readable, well-formed product.xml is refused.\n"
           "\n"
           "FILE is written beside its final name and renamed into place once complete, so a\n"
           "failure (a full disk, an interruption) leaves an older FILE as it was. FILE must\n"
           "lie outside FOLDER. Refused unless asked:\n"
           "  --through-link         FILE is a symbolic link: write the file it leads to\n"
           "  --allow-outside-links  pack files whose links lead out of FOLDER\n";
}

int CPackCommand::Run(const std::vector<std::string>& arguments) {
    std::string folder;
    std::string output;
    SPackOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-o" || arguments[i] == "--output") {
            if (i + 1 >= arguments.size()) throw CUsageError(arguments[i] + " needs a value");
            output = arguments[++i];
        } else if (arguments[i] == kThroughLinkOption) {
            options.throughLink = true;
        } else if (arguments[i] == "--allow-outside-links") {
            options.allowOutsideLinks = true;
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
    const std::size_t count = PackFolder(folder, output, options);
    m_out << "packed " << count << " files into " << output << "\n";
    return 0;
}

}  // namespace lumtool
