#include "IsoImage.h"

#include <wx/filefn.h>
#include <wx/process.h>
#include <wx/txtstrm.h>
#include <wx/utils.h>

#include <system_error>
#include <vector>

#include "Command.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

// The last of xorriso's messages that reports a problem, or else its last line.
std::string Reason(wxInputStream* messages) {
    wxString last = "no message";
    wxString problem;
    if (messages == nullptr) return last.utf8_string();
    wxTextInputStream text(*messages);
    while (!messages->Eof()) {
        const wxString line = text.ReadLine();
        if (line.empty()) continue;
        last = line;
        if (line.Contains("FAILURE") || line.Contains("SORRY")) problem = line;
    }
    return (problem.empty() ? last : problem).utf8_string();
}

}  // namespace

std::string VolumeLabel(const std::string& name) {
    std::string label;
    for (const char letter : name) {
        const auto byte = static_cast<unsigned char>(letter);
        label += byte < 0x20 || byte == 0x7f ? ' ' : letter;
    }
    if (label.size() <= kMaxVolumeLabel) return label;
    std::size_t end = kMaxVolumeLabel;
    // Back to the first byte of the letter that does not fit whole.
    while (end > 0 && (static_cast<unsigned char>(label[end]) & 0xC0) == 0x80) --end;
    return label.substr(0, end);
}

fs::path FindXorriso() {
    wxPathList path;
    path.AddEnvList("PATH");
    const wxString found = path.FindAbsoluteValidPath("xorriso");
    return fs::path(found.utf8_string());
}

void WriteIsoImage(const fs::path& xorriso, const fs::path& tree, const fs::path& image,
                   const std::string& label) {
    const fs::path partial = image.string() + ".part";
    std::error_code error;
    fs::remove(partial, error);
    // -r: Rock Ridge with every file readable and execute bits kept; -J and -joliet-long:
    // Joliet names up to 103 letters; ISO level 3: files beyond 4 GiB.
    const std::vector<std::string> words = {xorriso.string(),
                                            "-as",
                                            "mkisofs",
                                            "-r",
                                            "-J",
                                            "-joliet-long",
                                            "-iso-level",
                                            "3",
                                            "-V",
                                            VolumeLabel(label),
                                            "-o",
                                            partial.string(),
                                            tree.string()};
    std::vector<wxString> converted;
    for (const std::string& word : words) converted.push_back(wxString::FromUTF8(word));
    std::vector<const wchar_t*> argv;
    for (const wxString& word : converted) argv.push_back(word.wc_str());
    argv.push_back(nullptr);

    // Its messages are kept, and shown only when it fails.
    wxProcess process;
    process.Redirect();
    const long status = wxExecute(argv.data(), wxEXEC_SYNC | wxEXEC_NOEVENTS, &process);
    if (status != 0 || !fs::is_regular_file(partial, error)) {
        fs::remove(partial, error);
        throw CUsageError("xorriso could not write '" + image.string() +
                          "': " + Reason(process.GetErrorStream()));
    }
    fs::rename(partial, image, error);
    if (error) {
        fs::remove(partial, error);
        throw CUsageError("cannot write '" + image.string() + "'");
    }
}

}  // namespace lumtool
