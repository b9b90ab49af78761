// The table of lumtool's commands: found by name and listed for --help.

#include "CommandTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using lumtool::CCommandTable;

class CNamedCommand : public lumtool::ICommand {
public:
    CNamedCommand(std::string name, std::string summary)
        : m_name(std::move(name)), m_summary(std::move(summary)) {}
    const char* Name() const override { return m_name.c_str(); }
    const char* Summary() const override { return m_summary.c_str(); }
    std::string Help() const override { return "usage: lumtool " + m_name + "\n"; }
    int Run(const std::vector<std::string>&) override { return 0; }

private:
    std::string m_name;
    std::string m_summary;
};

CCommandTable TableOf(const std::vector<std::string>& names) {
    std::vector<std::unique_ptr<lumtool::ICommand>> commands;
    for (const std::string& name : names) {
        commands.push_back(std::make_unique<CNamedCommand>(name, "does " + name));
    }
    return CCommandTable(std::move(commands));
}

TEST(CommandTableTest, TheListingKeepsASpaceBeforeEverySummary) {
    const std::string longest(40, 'x');
    const std::string usage =
        TableOf({"pack", "thirteenchars", "fourteenchars!", "fifteen-letters", longest}).Usage();
    EXPECT_NE(usage.find("\n  pack          does pack\n"), std::string::npos) << usage;
    EXPECT_NE(usage.find("\n  thirteenchars does thirteenchars\n"), std::string::npos) << usage;
    EXPECT_NE(usage.find("\n  fourteenchars! does fourteenchars!\n"), std::string::npos) << usage;
    EXPECT_NE(usage.find("\n  fifteen-letters does fifteen-letters\n"), std::string::npos) << usage;
    EXPECT_NE(usage.find("\n  " + longest + " does " + longest + "\n"), std::string::npos);
    EXPECT_LT(usage.size(), 1000u);
}

TEST(CommandTableTest, EveryLumtoolCommandIsFoundByItsName) {
    std::ostringstream out;
    const CCommandTable table = lumtool::LumtoolCommands(out);
    const std::string usage = table.Usage();
    for (const char* name :
         {"check", "gif", "langpack", "medium", "new", "pack", "render", "translations"}) {
        const lumtool::ICommand* command = table.Find(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_EQ(std::string(command->Name()), name);
        EXPECT_NE(usage.find(std::string("\n  ") + name + " "), std::string::npos) << usage;
    }
    EXPECT_EQ(table.Find("Check"), nullptr);
    EXPECT_EQ(table.Find(""), nullptr);
    EXPECT_EQ(table.Find("--help"), nullptr);
}

}  // namespace
