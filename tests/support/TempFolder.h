#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace testsupport {

class TempFolder {
public:
    // A new folder, never one that exists: create_directory says whether it made it.
    TempFolder() {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::random_device seed;
        std::mt19937 random(seed());
        const std::filesystem::path temp = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "lumtest-";
            for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
            std::error_code error;
            if (std::filesystem::create_directory(temp / name, error)) {
                m_path = temp / name;
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be made");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Names are UTF-8 (as the tests write them), on Windows too, where a narrow name would be
    // read in the ANSI code page.
    std::filesystem::path operator/(const std::string& name) const {
        return m_path / Relative(name);
    }

    // Writes a file below the folder and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = m_path / Relative(name);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    static std::filesystem::path Relative(const std::string& name) {
#ifdef _WIN32
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
        return name;  // any bytes, UTF-8 or not
#endif
    }

    std::filesystem::path m_path;
};

}  // namespace testsupport
