#pragma once
// Generates the test archives once per run, with several ZIP writers.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace testarchives {

class ArchiveTest : public testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // The full path of a generated archive.
    static std::wstring Path(const std::string& name);

private:
    static std::filesystem::path s_folder;
    static std::string s_error;

protected:
    void SetUp() override;
};

}  // namespace testarchives
