#include "IsoImage.h"

#include <wx/filefn.h>
#include <wx/process.h>
#include <wx/txtstrm.h>
#include <wx/utils.h>

#include <system_error>
#include <utility>
#include <vector>

#include "Command.h"
#include "MediumTree.h"
#include "StagingFolder.h"
#include "StopSignals.h"

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

// The image while xorriso writes it: removed unless it was renamed into place.
class CPartialFile {
public:
    explicit CPartialFile(fs::path path) : m_path(std::move(path)) {}
    CPartialFile(const CPartialFile&) = delete;
    CPartialFile& operator=(const CPartialFile&) = delete;
    ~CPartialFile() {
        std::error_code error;
        fs::remove(m_path, error);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

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
    if (found.empty()) return {};
    // A relative entry on PATH must not leave a program name that reads as an option.
    return fs::absolute(fs::path(found.utf8_string()));
}

void WriteIsoImage(const fs::path& xorriso, const fs::path& tree, const fs::path& image,
                   const std::string& label) {
    // Absolute paths: a name such as "-v" must reach xorriso as a path, not as an option.
    const fs::path target = fs::absolute(image);
    // A name of its own beside the image, so that no file of the author's is overwritten.
    const CPartialFile partial(
        UnusedName(target.parent_path(), "." + target.filename().string() + ".lumtool-", ".part"));
    // -r: Rock Ridge with every file readable and execute bits kept; -J and -joliet-long:
    // Joliet names up to 103 letters; ISO level 3: files beyond 4 GiB. -m leaves out the
    // staging folders of killed runs.
    const std::vector<std::string> words = {xorriso.string(),
                                            "-as",
                                            "mkisofs",
                                            "-r",
                                            "-J",
                                            "-joliet-long",
                                            "-iso-level",
                                            "3",
                                            "-m",
                                            std::string(kMediumStagingPrefix) + "*",
                                            "-V",
                                            VolumeLabel(label),
                                            "-o",
                                            partial.Path().string(),
                                            fs::absolute(tree).string()};
    std::vector<wxString> converted;
    for (const std::string& word : words) converted.push_back(wxString::FromUTF8(word));
    std::vector<const wchar_t*> argv;
    for (const wxString& word : converted) argv.push_back(word.wc_str());
    argv.push_back(nullptr);

    // Its messages are kept, and shown only when it fails.
    wxProcess process;
    process.Redirect();
    const long status = wxExecute(argv.data(), wxEXEC_SYNC | wxEXEC_NOEVENTS, &process);
    CStopSignals::ThrowIfStopped();
    std::error_code error;
    if (status != 0 || !fs::is_regular_file(partial.Path(), error)) {
        throw CUsageError("xorriso could not write '" + image.string() +
                          "': " + Reason(process.GetErrorStream()));
    }
    fs::rename(partial.Path(), target, error);
    if (error) throw CUsageError("cannot write '" + image.string() + "': " + error.message());
}

}  // namespace lumtool
