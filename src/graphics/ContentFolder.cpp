#include "graphics/ContentFolder.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace graphics {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";

}  // namespace

bool IsUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        std::uint32_t value = 0;
        if (byte < 0x80) {
            ++i;
            continue;
        } else if ((byte & 0xe0) == 0xc0) {
            more = 1;
            value = byte & 0x1f;
        } else if ((byte & 0xf0) == 0xe0) {
            more = 2;
            value = byte & 0x0f;
        } else if ((byte & 0xf8) == 0xf0) {
            more = 3;
            value = byte & 0x07;
        } else {
            return false;
        }
        if (i + more >= text.size()) return false;  // cut short
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            value = (value << 6) | (next & 0x3f);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (value < kLeast[more] || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

std::vector<SContentFile> ListContentFiles(const fs::path& folder, std::vector<SLeftOut>* leftOut,
                                           const fs::path& exclude) {
    std::vector<SContentFile> files;
    std::error_code error;
    const fs::path skip = exclude.empty() ? fs::path() : fs::weakly_canonical(exclude, error);
    const auto note = [&](const fs::path& path, const std::string& reason) {
        if (leftOut) leftOut->push_back({path.lexically_relative(folder).generic_string(), reason});
    };
    // A folder that cannot be read is left out, by the packer as here.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error);
    if (error) return files;
    const auto visit = [&](const fs::directory_entry& entry) {
        // The name below the folder, never resolved through links: a linked file is packed
        // under the link's name.
        const fs::path relative = entry.path().lexically_relative(folder);
        std::error_code statError;
        const bool isLink = entry.is_symlink(statError);
        const fs::file_status target = entry.status(statError);
        if (fs::is_directory(target)) {
            if (isLink) note(entry.path(), "is a link to a folder, which is not followed");
            return;
        }
        if (!fs::is_regular_file(target)) {
            if (isLink && !fs::exists(target)) {
                note(entry.path(), "is a link to nothing");
            } else {
                note(entry.path(), "is not a regular file");
            }
            return;
        }
        if (!skip.empty() && fs::weakly_canonical(entry.path(), statError) == skip) return;
        SContentFile file;
        file.path = entry.path();
        file.relative = relative.generic_string();
        if (IsUtf8(file.relative)) {
            file.name = wxString::FromUTF8(file.relative);
        } else {
            note(entry.path(), "has a name that is not UTF-8, so it cannot be an entry");
        }
        files.push_back(std::move(file));
    };
    for (const fs::recursive_directory_iterator end; it != end;) {
        visit(*it);
        it.increment(error);
        if (error) break;
    }
    if (error) files.clear();  // a folder that changed under the listing: nothing sure
    std::sort(files.begin(), files.end(), [](const SContentFile& a, const SContentFile& b) {
        if ((a.relative == kDescription) != (b.relative == kDescription)) {
            return a.relative == kDescription;
        }
        return a.relative < b.relative;
    });
    return files;
}

}  // namespace graphics
