#include <gtest/gtest.h>
#include <wx/init.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ContentFile.h"
#include "PictureCheck.h"
#include "graphics/PictureHandlers.h"

namespace {

tarn::P<graphics::CSharedBuffer> Buffer(const std::string& bytes) {
    auto buffer = tarn::New<graphics::CSharedBuffer>();
    buffer->Reserve(static_cast<std::uint32_t>(bytes.size()), bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer->GetData());
    buffer->AddLength(static_cast<std::uint32_t>(bytes.size()));
    return buffer;
}

class PictureCheckTest : public testing::Test {
protected:
    void SetUp() override { graphics::InstallPictureHandlers(); }

    wxInitializer m_toolkit;
};

TEST_F(PictureCheckTest, EveryThreadCountGivesEachPictureItsOwnVerdictInOrder) {
    const std::string good = lumtest::PngBytes(30, 20);
    const std::string cut = good.substr(0, good.size() / 2);
    // Good, damaged, unreadable, refused unread and of a type that is not read, in turn.
    const auto picture = [&](std::size_t index) -> lumtool::SPictureBytes {
        switch (index % 5) {
            case 0: return {Buffer(good), wxBITMAP_TYPE_PNG, {}};
            case 1: return {Buffer(cut), wxBITMAP_TYPE_PNG, {}};
            case 2: return {nullptr, wxBITMAP_TYPE_PNG, {}};
            case 3: return {nullptr, wxBITMAP_TYPE_PNG, "is larger than allowed"};
            default: return {Buffer(good), wxBITMAP_TYPE_TIFF, {}};
        }
    };
    constexpr std::size_t kCount = 41;
    const std::thread::id caller = std::this_thread::get_id();
    for (const unsigned threads : {1u, 2u, 5u, 0u}) {
        std::vector<std::size_t> asked;
        const auto verdicts = lumtool::DecodePictures(
            kCount,
            [&](std::size_t index) {
                // Reading stays on the calling thread, one picture after the other.
                EXPECT_EQ(std::this_thread::get_id(), caller);
                asked.push_back(index);
                return picture(index);
            },
            threads);
        ASSERT_EQ(verdicts.size(), kCount);
        EXPECT_EQ(asked.size(), kCount);
        for (std::size_t i = 0; i < kCount; ++i) {
            EXPECT_EQ(asked[i], i);
            switch (i % 5) {
                case 0: EXPECT_EQ(verdicts[i], "") << i; break;
                case 1: EXPECT_EQ(verdicts[i].rfind("does not decode", 0), 0u) << verdicts[i]; break;
                case 2: EXPECT_EQ(verdicts[i], "cannot be read from the content"); break;
                case 3: EXPECT_EQ(verdicts[i], "is larger than allowed"); break;
                default: EXPECT_EQ(verdicts[i], "is not of a picture type that is read"); break;
            }
        }
    }
    EXPECT_TRUE(lumtool::DecodePictures(0, picture).empty());
}

TEST_F(PictureCheckTest, AReaderThatFailsStopsTheWorkWithoutLeavingThreadsBehind) {
    const std::string good = lumtest::PngBytes(8, 8);
    const auto read = [&](std::size_t index) -> lumtool::SPictureBytes {
        if (index == 7) throw std::runtime_error("the content went away");
        return {Buffer(good), wxBITMAP_TYPE_PNG, {}};
    };
    EXPECT_THROW(lumtool::DecodePictures(20, read, 2), std::runtime_error);
}

}  // namespace
