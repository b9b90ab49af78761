#include "PackCommand.h"

#include <wx/log.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "FileCopy.h"
#include "MenuFolder.h"
#include "OptionParser.h"
#include "OutputFile.h"
#include "StopSignals.h"
#include "graphics/ContentFolder.h"
#include "tarn/win32/FileReplacement.h"
#include "tarn/win32/RegularFile.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

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

// Writes what the menu folder packs into stream as a ZIP archive; problem() is what went wrong
// with the stream, empty while all is well.
template <typename Problem>
void WriteArchive(const CMenuFolder& menu, wxOutputStream& stream, const fs::path& target,
                  Problem problem) {
    // Names are written as UTF-8 and flagged so, which every reader understands.
    wxZipOutputStream zip(stream, -1, wxConvUTF8);
    for (const graphics::SContentFile& file : menu.GetPacked()) {
        CStopSignals::ThrowIfStopped();
        AddEntry(zip, file);
        if (const std::string why = problem(); !why.empty()) throw CUsageError(why);
    }
    if (!zip.Close() || !problem().empty()) {
        const std::string why = problem();
        throw CUsageError(why.empty() ? "cannot finish '" + target.string() + "'" : why);
    }
}

}  // namespace

void WriteContentFile(const CMenuFolder& menu, const fs::path& target) {
    wxLogNull quiet;
    tarn::win32::CFileReplacement replacement(target);
    CReplacementStream stream(replacement);
    WriteArchive(menu, stream, target, [&] { return stream.GetProblem(); });
    replacement.Commit();
}

void WriteFreshContentFile(const CMenuFolder& menu, const fs::path& fresh) {
    wxLogNull quiet;
    errno = 0;
    wxFFileOutputStream stream(wxString(fresh.c_str(), *wxConvFileName), "wb");
    if (!stream.IsOk()) FailOnFile("write", fresh);
    WriteArchive(menu, stream, fresh, [&] {
        return stream.GetLastError() == wxSTREAM_NO_ERROR
                   ? std::string()
                   : "cannot write '" + fresh.string() + "': " +
                         std::error_code(errno != 0 ? errno : EIO, std::generic_category())
                             .message();
    });
    if (!stream.Close()) FailOnFile("write", fresh);
}

SPackResult PackFolder(const std::string& folderName, const std::string& output,
                       const SPackOptions& options) {
    CMenuFolder menu(folderName);
    const fs::path target = CheckOutput(fs::path(output), {menu.GetFolder()}, options.throughLink);
    menu.Read(options);
    WriteContentFile(menu, target);
    return {menu.GetPacked().size(), menu.GetForTheDisc(), menu.GetUnreferenced()};
}

std::string CountedNames(const std::vector<std::string>& names, const std::string& what) {
    std::string line =
        std::to_string(names.size()) + (names.size() == 1 ? " file " : " files ") + what + ": ";
    const std::size_t start = line.size();
    std::size_t shown = 0;
    for (const std::string& name : names) {
        // As many names as a terminal line holds, and always the first; all but the last
        // leave room for the count of those that did not fit.
        const bool last = shown + 1 == names.size();
        const std::size_t room =
            last ? 0 : std::string(", and  more").size() + std::to_string(names.size()).size();
        if (shown > 0 && line.size() + 2 + name.size() + room > kNamesLineWidth) break;
        line += (line.size() == start ? "" : ", ") + name;
        ++shown;
    }
    if (shown < names.size()) line += ", and " + std::to_string(names.size() - shown) + " more";
    return line;
}

std::string CPackCommand::Help() const {
    return "usage: lumtool pack FOLDER -o FILE [--through-link] [--allow-outside-links]\n"
           "\n"
           "Packs the menu folder FOLDER into the content file FILE (a ZIP archive; put it\n"
           "beside the player as content.lum). The content file holds product.xml (its first\n"
           "entry) and the attachments the player's loader reads of it (pictures, rich texts,\n"
           "music), each named by its path relative to FOLDER; a link to a file is packed\n"
           "under the link's name, links to folders are not followed. The files and folders\n"
           "that run-file and open-folder actions name are left out: the player looks for\n"
           "them on the disc beside the content file (lumtool medium copies them there), and\n"
           "so are the files nothing references. One line each says how many were left out\n"
           "and which. A folder without a readable, well-formed product.xml is refused, and\n"
           "so is one the player's loader stops on. Needs a display, as check does.\n"
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
    COptionParser("pack")
        .Positional("FOLDER", folder)
        .Value({"-o", "--output"}, "FILE", output, kValueRequired | kValueNotEmpty)
        .Flag({kThroughLinkOption}, options.throughLink)
        .Flag({"--allow-outside-links"}, options.allowOutsideLinks)
        .Parse(arguments);
    const SPackResult result = PackFolder(folder, output, options);
    m_out << "packed " << result.entries << " files into " << output << "\n";
    if (!result.forTheDisc.empty()) {
        m_out << CountedNames(result.forTheDisc, "for the disc, left out") << "\n";
    }
    if (!result.unreferenced.empty()) {
        m_out << CountedNames(result.unreferenced, "nothing references, left out") << "\n";
    }
    return 0;
}

}  // namespace lumtool
