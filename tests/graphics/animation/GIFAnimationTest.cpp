#include <gtest/gtest.h>

#include <wx/filename.h>
#include <wx/mstream.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PictureBytes.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/animation/Clock.h"
#include "graphics/animation/GIFAnimation.h"
#include "graphics/animation/GraphicAnimationImage.h"

namespace {

using graphics::animation::CGIFAnimation;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class GIFTest : public testing::Test {
protected:
    void SetUp() override {
#ifdef LUM_PREMADE_GIFS
        // Made with their composed frames on the build machine, where convert runs.
        std::filesystem::copy(LUM_PREMADE_GIFS, folder.Path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
#else
        ASSERT_STRNE(LUM_CONVERT, "") << "ImageMagick convert is needed";
        const std::string command =
            Quote(LUM_MAKE_GIFS) + " " + Quote(LUM_CONVERT) + " " + Quote(folder.Path());
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
#endif
    }

    std::string Gif(const std::string& name) const { return (folder / (name + ".gif")).string(); }

    // The frames ImageMagick composes for the GIF.
    std::vector<wxImage> Coalesced(const std::string& name) const {
#ifndef LUM_PREMADE_GIFS
        const std::string pattern = (folder / (name + "-%d.png")).string();
        const std::string command = Quote(LUM_CONVERT) + " " + Quote(Gif(name)) +
                                    " -coalesce " + Quote("PNG32:" + pattern);
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
#endif
        std::vector<wxImage> frames;
        for (int i = 0;; ++i) {
            const wxString file = (folder / (name + "-" + std::to_string(i) + ".png")).string();
            if (!wxFileName::FileExists(file)) break;
            wxImage image(file, wxBITMAP_TYPE_PNG);
            if (!image.HasAlpha()) image.InitAlpha();
            frames.push_back(image);
        }
        return frames;
    }

    testsupport::TempFolder folder;
};

// Differences as text: empty when equal; fully transparent pixels match whatever colour.
std::string Compare(const wxImage& mine, const wxImage& theirs) {
    if (mine.GetSize() != theirs.GetSize()) return "size differs";
    for (int y = 0; y < mine.GetHeight(); ++y) {
        for (int x = 0; x < mine.GetWidth(); ++x) {
            const int a = mine.HasAlpha() ? mine.GetAlpha(x, y) : 255;
            const int b = theirs.GetAlpha(x, y);
            const bool same =
                a == b && (a == 0 || (mine.GetRed(x, y) == theirs.GetRed(x, y) &&
                                      mine.GetGreen(x, y) == theirs.GetGreen(x, y) &&
                                      mine.GetBlue(x, y) == theirs.GetBlue(x, y)));
            if (!same) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " alpha " +
                       std::to_string(a) + " vs " + std::to_string(b);
            }
        }
    }
    return {};
}

TEST_F(GIFTest, FramesMatchAnIndependentDecoderForEachDisposal) {
    for (const std::string name : {"unspecified", "donotdispose", "background"}) {
        auto animation = tarn::New<CGIFAnimation>();
        ASSERT_TRUE(animation->LoadFile(Gif(name))) << name;
        const std::vector<wxImage> expected = Coalesced(name);
        ASSERT_EQ(animation->GetFrameCount(), 4u) << name;
        ASSERT_EQ(expected.size(), 4u) << name;
        EXPECT_EQ(animation->GetSize(), wxSize(16, 12));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const wxImage mine = animation->GetFrame(i).ConvertToImage();
            EXPECT_EQ(Compare(mine, expected[i]), "") << name << " frame " << i;
        }
    }
}

TEST_F(GIFTest, DisposalsReallyDiffer) {
    // Guards the comparison above against GIFs whose disposal shows nowhere.
    auto keep = tarn::New<CGIFAnimation>();
    auto clear = tarn::New<CGIFAnimation>();
    ASSERT_TRUE(keep->LoadFile(Gif("donotdispose")));
    ASSERT_TRUE(clear->LoadFile(Gif("background")));
    EXPECT_NE(Compare(keep->GetFrame(2).ConvertToImage(), clear->GetFrame(2).ConvertToImage()),
              "");
}

TEST_F(GIFTest, ShortDelaysCountAsOneHundredMilliseconds) {
    auto animation = tarn::New<CGIFAnimation>();
    ASSERT_TRUE(animation->LoadFile(Gif("unspecified")));
    EXPECT_EQ(animation->GetFrameDelay(0), 100);
    EXPECT_EQ(animation->GetFrameDelay(1), 0);
    EXPECT_EQ(animation->GetDelay(), 100);
    animation->NextFrame();
    EXPECT_EQ(animation->GetDelay(), 100);  // stored 0
    animation->NextFrame();
    EXPECT_EQ(animation->GetDelay(), 300);
}

std::uint32_t g_now = 0;
std::uint32_t FakeNow() { return g_now; }

TEST_F(GIFTest, ZeroDelayFrameKeepsThePageMoving) {
    graphics::animation::SetClock(FakeNow);
    auto animation = tarn::New<CGIFAnimation>();
    ASSERT_TRUE(animation->LoadFile(Gif("unspecified")));
    auto element = tarn::New<graphics::animation::CGraphicAnimationImage>();
    element->SetCenter({8, 6});
    element->SetSize({16, 12});
    element->SetAnimation(animation);
    element->StartAnimation();
    testsupport::CCanvas canvas(16, 12);
    for (std::uint32_t now : {1000u, 1150u, 1230u, 1400u}) {
        g_now = now;
        graphics::CPaintMatrixDC dc(canvas.GetDC(), wxAffineMatrix2D());
        element->Paint(dc);
        EXPECT_GT(dc.GetRedrawDelay(), 0u) << now;
        EXPECT_LE(dc.GetRedrawDelay(), 300u) << now;
    }
    EXPECT_GE(animation->GetIndex(), 1);
    graphics::animation::SetClock(nullptr);
}

TEST_F(GIFTest, DamagedFilesFailCleanly) {
    auto animation = tarn::New<CGIFAnimation>();
    EXPECT_FALSE(animation->LoadFile((folder / "missing.gif").string()));
    folder.Write("garbage.gif", "GIF89a this is not really a picture");
    EXPECT_FALSE(animation->LoadFile((folder / "garbage.gif").string()));
    EXPECT_TRUE(animation->IsEmpty());
    std::ifstream in(Gif("background"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    for (std::size_t cut : {std::size_t(13), bytes.size() / 2, bytes.size() - 3}) {
        folder.Write("cut.gif", bytes.substr(0, cut));
        animation->LoadFile((folder / "cut.gif").string());  // may load a part, never crash
        EXPECT_EQ(animation->GetFrameCount() > 0, !animation->IsEmpty());
    }
}

TEST(GIFLimitsTest, FramesAboveTheLimitsAreRefusedBeforeDecoding) {
    using namespace picturebytes;
    const std::vector<Rgba> colours{{255, 0, 0, 255}, {0, 0, 255, 255}};
    const auto load = [](const Bytes& file) {
        wxMemoryInputStream stream(file.data(), file.size());
        auto animation = tarn::New<CGIFAnimation>();
        const bool loaded = animation->Load(stream);
        EXPECT_EQ(loaded, !animation->IsEmpty());
        return loaded;
    };
    const Bytes frame = GifControl(4) + GifImage(0, 0, 2, 2, {0, 1, 1, 0});
    EXPECT_TRUE(load(picturebytes::Gif(2, 2, colours, frame + frame)));
    // A huge frame inside a small canvas, a canvas above 16 Mi pixels, too many frames.
    EXPECT_FALSE(load(picturebytes::Gif(2, 2, colours, frame + GifImage(0, 0, 65535, 65535, {0}))));
    EXPECT_FALSE(load(picturebytes::Gif(4097, 4096, colours, frame)));
    Bytes many;
    for (int i = 0; i < 10001; ++i) many += GifImage(0, 0, 1, 1, {0});
    EXPECT_FALSE(load(picturebytes::Gif(1, 1, colours, many)));
}

}  // namespace
