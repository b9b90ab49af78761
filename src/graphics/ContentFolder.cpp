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

CListingError::CListingError(const std::string& entry, const std::error_code& reason)
    : tarn::CError(
          wxString::FromUTF8("cannot list '" + entry + "': " + reason.message()).ToStdWstring()) {}

tarn::P<tarn::CException> CListingError::Clone() const { return tarn::New<CListingError>(*this); }

fs::path ResolveBelow(const fs::path& root, const fs::path& file) {
    std::error_code error;
    fs::path resolved = fs::canonical(file, error);
    if (error) return {};
    const fs::path inside = resolved.lexically_relative(root);
    if (inside.empty() || *inside.begin() == "..") return {};
    return resolved;
}

namespace {

// One walk over a folder, depth first; links to folders are never entered.
class CListing {
public:
    CListing(const fs::path& folder, std::vector<SLeftOut>* leftOut, const fs::path& exclude)
        : m_folder(folder), m_leftOut(leftOut) {
        std::error_code error;
        m_root = fs::canonical(folder, error);
        if (error) throw CListingError(folder.string(), error);
        if (!exclude.empty()) m_skip = fs::weakly_canonical(exclude, error);
    }

    std::vector<SContentFile> Run() {
        List(m_folder, true);
        return std::move(m_files);
    }

private:
    std::string Relative(const fs::path& path) const {
        return path.lexically_relative(m_folder).generic_string();
    }
    void Note(const fs::path& path, const std::string& reason) {
        if (m_leftOut) m_leftOut->push_back({Relative(path), reason});
    }

    void List(const fs::path& folder, bool isRoot) {
        std::error_code error;
        fs::directory_iterator it(folder, error);
        if (error == std::errc::permission_denied && !isRoot) {
            // The packer cannot read it either; the author hears of it.
            Note(folder, "is a folder that may not be read (permission denied)");
            return;
        }
        const std::string name = isRoot ? folder.string() : Relative(folder);
        if (error) throw CListingError(name, error);
        for (const fs::directory_iterator end; it != end;) {
            Visit(*it);
            it.increment(error);
            if (error) throw CListingError(name, error);
        }
    }

    void Visit(const fs::directory_entry& entry) {
        std::error_code error;
        const fs::file_status own = entry.symlink_status(error);
        if (error) throw CListingError(Relative(entry.path()), error);
        const bool isLink = fs::is_symlink(own);
        const fs::file_status target = isLink ? entry.status(error) : own;
        if (isLink && error && target.type() != fs::file_type::not_found) {
            // A link's target is whatever its maker chose; the packer cannot follow it either.
            Note(entry.path(), "is a link that cannot be followed (" + error.message() + ")");
            return;
        }
        if (fs::is_directory(target)) {
            if (isLink) {
                Note(entry.path(), "is a link to a folder, which is not followed");
            } else {
                List(entry.path(), false);
            }
            return;
        }
        if (!fs::is_regular_file(target)) {
            if (isLink && !fs::exists(target)) {
                Note(entry.path(), "is a link to nothing");
            } else {
                Note(entry.path(), "is not a regular file");
            }
            return;
        }
        if (!m_skip.empty() && fs::weakly_canonical(entry.path(), error) == m_skip) return;
        AddFile(entry.path());
    }

    void AddFile(const fs::path& path) {
        // The name below the folder, never resolved through links: a linked file is packed
        // under the link's name.
        SContentFile file;
        file.path = path;
        file.relative = Relative(path);
        std::error_code error;
        file.target = fs::canonical(path, error);
        if (error) throw CListingError(file.relative, error);  // gone since it was listed
        file.leavesFolder = ResolveBelow(m_root, path).empty();
        if (IsUtf8(file.relative)) {
            file.name = wxString::FromUTF8(file.relative);
        } else {
            Note(path, "has a name that is not UTF-8, so it cannot be an entry");
        }
        m_files.push_back(std::move(file));
    }

    fs::path m_folder;
    fs::path m_root;  // the folder with its links resolved
    fs::path m_skip;
    std::vector<SLeftOut>* m_leftOut;
    std::vector<SContentFile> m_files;
};

}  // namespace

std::vector<SContentFile> ListContentFiles(const fs::path& folder, std::vector<SLeftOut>* leftOut,
                                           const fs::path& exclude) {
    std::vector<SContentFile> files = CListing(folder, leftOut, exclude).Run();
    std::sort(files.begin(), files.end(), [](const SContentFile& a, const SContentFile& b) {
        if ((a.relative == kDescription) != (b.relative == kDescription)) {
            return a.relative == kDescription;
        }
        return a.relative < b.relative;
    });
    return files;
}

}  // namespace graphics
