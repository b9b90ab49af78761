#include <gtest/gtest.h>

#include "lum/BuiltInIcons.h"

namespace {

int CountClickable(bool playing) {
    int count = 0;
    for (int y = 0; y < lum::kMusicIconSize; ++y) {
        for (int x = 0; x < lum::kMusicIconSize; ++x) {
            if (lum::GetMusicIconAlpha(playing, x, y) > lum::kMusicIconHitAlpha) ++count;
        }
    }
    return count;
}

}  // namespace

TEST(MusicIconsTest, RawPixelsBecomeAnImageRowByRowInRgbaOrder) {
    // clang-format off
    const std::uint8_t pixels[] = {
        1, 2, 3, 4,      5, 6, 7, 8,      9, 10, 11, 12,
        13, 14, 15, 16,  17, 18, 19, 20,  21, 22, 23, 24,
    };
    // clang-format on
    const wxImage image = lum::MakeRgbaImage({3, 2, pixels});
    ASSERT_TRUE(image.IsOk());
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetSize(), wxSize(3, 2));
    EXPECT_EQ(image.GetRed(2, 0), 9);
    EXPECT_EQ(image.GetGreen(2, 0), 10);
    EXPECT_EQ(image.GetBlue(2, 0), 11);
    EXPECT_EQ(image.GetAlpha(2, 0), 12);
    EXPECT_EQ(image.GetRed(0, 1), 13);
    EXPECT_EQ(image.GetAlpha(1, 1), 20);
}

TEST(MusicIconsTest, BothIconsAre34PixelDiscsWithAlpha) {
    for (const bool playing : {false, true}) {
        SCOPED_TRACE(playing ? "playing" : "stopped");
        const wxBitmap bitmap = lum::MakeMusicIconBitmap(playing);
        ASSERT_TRUE(bitmap.IsOk());
        EXPECT_EQ(bitmap.GetSize(), wxSize(lum::kMusicIconSize, lum::kMusicIconSize));
        const wxImage image = bitmap.ConvertToImage();
        ASSERT_TRUE(image.HasAlpha());
        // Corners let clicks through, the middle takes them.
        for (const auto& [x, y] : {std::pair{0, 0}, {33, 0}, {0, 33}, {33, 33}, {2, 2}}) {
            EXPECT_EQ(lum::GetMusicIconAlpha(playing, x, y), 0) << x << "," << y;
            EXPECT_EQ(image.GetAlpha(x, y), 0) << x << "," << y;
        }
        EXPECT_EQ(lum::GetMusicIconAlpha(playing, 17, 17), 255);
        EXPECT_EQ(image.GetAlpha(17, 17), 255);
        // Outside the icon nothing is clickable.
        EXPECT_EQ(lum::GetMusicIconAlpha(playing, -1, 17), 0);
        EXPECT_EQ(lum::GetMusicIconAlpha(playing, 34, 17), 0);
        // About the area of a disc of radius 16.
        const int clickable = CountClickable(playing);
        EXPECT_GT(clickable, 700);
        EXPECT_LT(clickable, 900);
    }
}

TEST(MusicIconsTest, StatesLookDifferentButShareTheirOutline) {
    const wxImage playing = lum::MakeMusicIconBitmap(true).ConvertToImage();
    const wxImage stopped = lum::MakeMusicIconBitmap(false).ConvertToImage();
    int differing = 0;
    for (int y = 0; y < lum::kMusicIconSize; ++y) {
        for (int x = 0; x < lum::kMusicIconSize; ++x) {
            EXPECT_EQ(lum::GetMusicIconAlpha(true, x, y), lum::GetMusicIconAlpha(false, x, y));
            if (playing.GetRed(x, y) != stopped.GetRed(x, y)) ++differing;
        }
    }
    EXPECT_GT(differing, 50);
}

TEST(MusicIconsTest, MainIconComesInSeveralSizes) {
    const wxIconBundle icons = lum::GetMainIcons();
    EXPECT_EQ(icons.GetIconCount(), 3u);
    for (const int size : {16, 32, 48}) {
        const wxIcon icon = icons.GetIconOfExactSize(wxSize(size, size));
        ASSERT_TRUE(icon.IsOk()) << size;
        const wxImage image = icon.ConvertToImage();
        ASSERT_TRUE(image.HasAlpha()) << size;
        EXPECT_EQ(image.GetAlpha(0, 0), 0) << size;
        EXPECT_EQ(image.GetAlpha(size / 2, size / 2), 255) << size;
    }
    EXPECT_EQ(lum::GetMainIcon().GetSize(), wxSize(32, 32));
}
