#include "ArchiveFixture.h"

#include <unistd.h>

#include <cstdlib>

namespace testarchives {

std::filesystem::path ArchiveTest::s_folder;
std::string ArchiveTest::s_error;

namespace {
std::string Quoted(const std::string& text) { return "'" + text + "'"; }
}  // namespace

void ArchiveTest::SetUpTestSuite() {
    if (!s_folder.empty()) return;
    s_folder = std::filesystem::temp_directory_path() /
               ("lum-archives-" + std::to_string(::getpid()));
#ifdef LUM_PREMADE_ARCHIVES
    // Made on the build machine (this program runs where no python3 or zip is at hand); a
    // copy, so that no test changes them for the next run.
    std::error_code failed;
    std::filesystem::copy(LUM_PREMADE_ARCHIVES, s_folder,
                          std::filesystem::copy_options::recursive, failed);
    if (failed) s_error = "copying the archives made at build time failed: " + failed.message();
    return;
#endif
    if (std::string(LUM_ZIP_PROGRAM).empty()) {
        s_error = "Info-ZIP zip is not installed (apt-get install zip)";
        return;
    }
    if (std::string(LUM_PYTHON).empty()) {
        s_error = "python3 is not installed";
        return;
    }
    const std::string command = Quoted(LUM_PYTHON) + " " + Quoted(LUM_MAKE_ARCHIVES) + " " +
                                Quoted(s_folder.string()) + " " + Quoted(LUM_ZIP_PROGRAM);
    if (std::system(command.c_str()) != 0) s_error = "generating the archives failed: " + command;
}

void ArchiveTest::TearDownTestSuite() {
    std::error_code ignored;
    if (!s_folder.empty()) std::filesystem::remove_all(s_folder, ignored);
    s_folder.clear();
    s_error.clear();
}

void ArchiveTest::SetUp() { ASSERT_TRUE(s_error.empty()) << s_error; }

std::wstring ArchiveTest::Path(const std::string& name) { return (s_folder / name).wstring(); }

}  // namespace testarchives
