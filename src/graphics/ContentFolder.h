#pragma once
// The files of an unpacked menu folder, listed the one way that both the packer and the
// folder catalogue use, so that a folder and the content file packed from it hold the same
// entries under the same names in the same order.

#include <wx/string.h>

#include <filesystem>
#include <string>
#include <vector>

namespace graphics {

struct SContentFile {
    std::filesystem::path path;  // folder / relative
    std::string relative;        // the path below the folder, with "/", bytes as on disk
    wxString name;               // the entry name when packed; empty when it cannot be one
    bool leavesFolder = false;   // a link leads it out of the folder
};

// A file or folder below the folder that a content file would not hold.
struct SLeftOut {
    std::string relative;
    std::string
        reason;  // for a menu author, such as "is a link to a folder, which is not followed"
};

// Every regular file below folder (a link to a file counts, under the link's own name; links to
// folders are not followed), "product.xml" first and the rest ordered by their relative path.
// exclude (when given) is left out: the content file being written into the folder. What is
// left out for another reason goes to leftOut when given.
std::vector<SContentFile> ListContentFiles(const std::filesystem::path& folder,
                                           std::vector<SLeftOut>* leftOut = nullptr,
                                           const std::filesystem::path& exclude = {});

// True when text is well-formed UTF-8.
bool IsUtf8(const std::string& text);

}  // namespace graphics
