// "lumtool check" on music whose size field does not match its entry, packed and unpacked.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CheckMenu.h"
#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"

namespace {

using namespace checkmenu;

std::string Music(const std::string& entry, const std::string& size) {
    return "<music filename=\"theme.wav\" loop=\"true\"><buffer format=\"wav\"><chunk name=\"" +
           entry + "\" size=\"" + size + "\"/></buffer></music>";
}

std::string MenuWithMusic(const std::string& size) {
    return Product(Page("main", ""), Music("music/theme.wav", size) + ClientSize(400, 300));
}

class SizeFieldCheckTest : public testing::Test {
protected:
    testsupport::TempFolder m_temp;
};

TEST_F(SizeFieldCheckTest, AMusicSizeThatDiffersFromItsEntryIsAnErrorWithTheRightNumber) {
    const std::string wav = Wav(4000);  // 4044 bytes
    const std::string fix = "but 'music/theme.wav' holds 4044; write size=\"4044\"";
    // Too small: the player loops the first bytes, a click; 44 is the header without sound.
    for (const std::string size : {"1000", "44", "4043"}) {
        const std::wstring file =
            lumtest::WriteArchive(m_temp, "m" + size + ".lum",
                                  {{"product.xml", MenuWithMusic(size)}, {"music/theme.wav", wav}});
        const lumtooltest::CRun run =
            lumtooltest::RunTool("check '" + std::filesystem::path(file).string() + "'", m_temp);
        EXPECT_EQ(run.status, 1) << run.out << run.err;
        EXPECT_TRUE(
            Has(run.out, "error: music: the size field says " + size + " bytes, " + fix + "\n"))
            << size << "\n"
            << run.out;
    }
    // Too large, in a folder: the entry's size on disk is the one to write.
    lumtooltest::CRun run = CheckFolder(
        m_temp, "big", {{"product.xml", MenuWithMusic("9999999")}, {"music/theme.wav", wav}});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_EQ(Lines(run.out, "error: "),
              std::vector<std::string>{"music: the size field says 9999999 bytes, " + fix})
        << run.out;
    // The right size, and sizes other checks report already, give no such line.
    run = CheckFolder(m_temp, "right",
                      {{"product.xml", MenuWithMusic("4044")}, {"music/theme.wav", wav}});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "no problems found")) << run.out;
    run = CheckFolder(m_temp, "none",
                      {{"product.xml", MenuWithMusic("0")}, {"music/theme.wav", wav}});
    EXPECT_EQ(
        Lines(run.out, "error: "),
        std::vector<std::string>{
            "music: sound 'music/theme.wav' has no size in product.xml, so none of it is read"})
        << run.out;
}

}  // namespace
