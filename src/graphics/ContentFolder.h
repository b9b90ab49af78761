#pragma once
// The files of an unpacked menu folder, listed the one way that both the packer and the
// folder catalogue use, so that a folder and the content file packed from it hold the same
// entries under the same names in the same order.

#include <wx/string.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tarn/Exception.h"

namespace graphics {

struct SContentFile {
    std::filesystem::path path;  // folder / relative
    std::string relative;        // the path below the folder, with "/", bytes as on disk
    wxString name;               // the entry name when packed; empty when it cannot be one
    std::filesystem::path target;  // where the file lies, every link resolved
    // True when the file, through a link at any level, lies outside the folder: the player
    // does not read it and the packer refuses it, yet it is listed so that both can name it.
    bool leavesFolder = false;
};

// A folder, or a file of it, that cannot be listed: the listing is incomplete, and nothing may
// be taken from it. The description names the entry and the system's reason, such as
// "cannot list 'art/tmp': No such file or directory".
class CListingError : public tarn::CError {
public:
    CListingError(const std::string& entry, const std::error_code& reason);
    tarn::P<tarn::CException> Clone() const override;
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
// left out for another reason goes to leftOut when given; so do a link that cannot be followed
// (a loop) and a subfolder that may not be read (permission denied). Raises CListingError when any other part of the folder cannot be
// listed, and when an entry vanishes between being listed and being looked at: the folder is
// changing under the listing, and a file skipped for that could be one the menu needs.
std::vector<SContentFile> ListContentFiles(const std::filesystem::path& folder,
                                           std::vector<SLeftOut>* leftOut = nullptr,
                                           const std::filesystem::path& exclude = {});

// The file with every link resolved when it lies below root (itself resolved), else empty: it
// leads out of the folder, or it cannot be resolved (any more).
std::filesystem::path ResolveBelow(const std::filesystem::path& root,
                                   const std::filesystem::path& file);

// True when text is well-formed UTF-8.
bool IsUtf8(const std::string& text);

}  // namespace graphics
