// "lumtool new" through the real binary: both templates make a folder that checks clean and
// packs, the demo template is the demo menu, and nothing is written over.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "TempFolder.h"
#include "ToolRun.h"

#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

namespace {

namespace fs = std::filesystem;
using lumtooltest::CRun;
using lumtooltest::RunTool;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every file below the folder: relative path to content.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().lexically_relative(folder).generic_string()] = bytes.str();
    }
    return files;
}

class NewTest : public testing::Test {
protected:
    testsupport::TempFolder m_temp;
};

TEST_F(NewTest, BothTemplatesCheckCleanAndPack) {
    for (const std::string name : {"blank", "demo"}) {
        const fs::path folder = m_temp / name;
        CRun run = RunTool("new " + Quote(folder) + " --template " + name, m_temp);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(Has(run.out, "wrote the " + name + " template into")) << run.out;
        run = RunTool("check " + Quote(folder), m_temp);
        EXPECT_EQ(run.status, 0) << name << "\n" << run.out << run.err;
        EXPECT_TRUE(Has(run.out, "no problems found")) << run.out;
        const fs::path file = m_temp / (name + ".lum");
        run = RunTool("pack " + Quote(folder) + " -o " + Quote(file), m_temp);
        EXPECT_EQ(run.status, 0) << run.err;
        // The files its buttons open stay in the folder, the disc of both.
        run = RunTool("check " + Quote(file) + " --disc " + Quote(folder), m_temp);
        EXPECT_EQ(run.status, 0) << name << "\n" << run.out << run.err;
    }
}

TEST_F(NewTest, TheBlankTemplateIsOnePageWithABackgroundATitleAndTwoButtons) {
    const fs::path folder = m_temp / "menu";
    ASSERT_EQ(RunTool("new " + Quote(folder), m_temp).status, 0);  // blank is the default
    const auto files = Files(folder);
    for (const char* name : {"product.xml", "art/background.png", "text/title.xml", "readme.txt"}) {
        EXPECT_EQ(files.count(name), 1u) << name;
    }
    const std::string& description = files.at("product.xml");
    EXPECT_EQ(std::count(description.begin(), description.end(), '\n') > 0, true);
    const auto count = [&](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = description.find(part, at)) != std::string::npos; ++at) ++n;
        return n;
    };
    EXPECT_EQ(count("<page "), 1u);
    EXPECT_EQ(count("<image "), 1u);
    EXPECT_EQ(count("<text "), 1u);
    EXPECT_EQ(count("<state-button "), 2u);
    EXPECT_TRUE(Has(description, "<action type=\"run-file\" file=\"readme.txt\"/>"));
    EXPECT_TRUE(Has(description, "<action type=\"quit-program\"/>"));
    const CRun run = RunTool("check " + Quote(folder), m_temp);
    EXPECT_TRUE(Has(run.out, "1 page: 'main'")) << run.out;
}

TEST_F(NewTest, TheDemoTemplateIsTheDemoMenu) {
    const fs::path made = m_temp / "made";
    const std::string make = "python3 " + Quote(fs::path(DEMO_FOLDER) / "make_assets.py") + " " +
                             Quote(made) + " >/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const fs::path folder = m_temp / "demo";
    ASSERT_EQ(RunTool("new " + Quote(folder) + " --template demo", m_temp).status, 0);
    const auto expected = Files(made);
    const auto written = Files(folder);
    ASSERT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        ASSERT_EQ(written.count(name), 1u) << name;
        EXPECT_TRUE(written.at(name) == bytes) << name;
    }
}

TEST_F(NewTest, NothingIsWrittenOver) {
    m_temp.Write("busy/product.xml", "<product>mine</product>");
    CRun run = RunTool("new " + Quote(m_temp / "busy"), m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "is not empty")) << run.err;
    EXPECT_EQ(Files(m_temp / "busy").at("product.xml"), "<product>mine</product>");
    m_temp.Write("plain.txt", "x");
    run = RunTool("new " + Quote(m_temp / "plain.txt"), m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "is not a folder")) << run.err;
    run = RunTool("new " + Quote(m_temp / "fresh") + " --template fancy", m_temp);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "no template named 'fancy' (there are demo, blank)")) << run.err;
    EXPECT_FALSE(fs::exists(m_temp / "fresh"));
    // An empty folder is fine.
    fs::create_directories(m_temp / "empty");
    EXPECT_EQ(RunTool("new " + Quote(m_temp / "empty"), m_temp).status, 0);
}

// A killed run may leave its staging folder in an empty folder: it is not the author's, so
// the folder still counts as empty, and the leftover does not end up in the menu.
TEST_F(NewTest, ALeftoverOfAKilledRunDoesNotMakeTheFolderBusy) {
    m_temp.Write("stick/.lumtool-new-k1ll3d/product.xml", "<product>half");
    const CRun run = RunTool("new " + Quote(m_temp / "stick"), m_temp);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto files = Files(m_temp / "stick");
    EXPECT_EQ(files.count("product.xml"), 1u);
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(name.find(".lumtool-new-"), std::string::npos) << name;
    // And no staging folder of this run stays beside a folder made new.
    ASSERT_EQ(RunTool("new " + Quote(m_temp / "made"), m_temp).status, 0);
    for (const auto& entry : fs::directory_iterator(m_temp.Path())) {
        EXPECT_EQ(entry.path().filename().string().find("lumtool-new"), std::string::npos)
            << entry.path();
    }
}

}  // namespace
