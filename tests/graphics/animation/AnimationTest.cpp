#include <gtest/gtest.h>

#include "TestSupport.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"
#include "graphics/animation/AnimationRegistry.h"
#include "graphics/animation/Clock.h"
#include "graphics/animation/GIFAnimation.h"
#include "graphics/animation/GraphicAnimationImage.h"
#include "graphics/animation/GraphicElementAnimationFactory.h"

namespace {

using namespace graphics::animation;
using graphics::CPaintMatrixDC;
using testsupport::MakeBitmap;

std::uint32_t g_now = 0;
std::uint32_t FakeNow() { return g_now; }

const wxColour kColours[] = {wxColour(255, 0, 0), wxColour(0, 255, 0), wxColour(0, 0, 255),
                             wxColour(255, 255, 0)};

tarn::P<CAnimation> Frames(int count, int delay, bool loop = false) {
    auto animation = tarn::New<CAnimation>();
    for (int i = 0; i < count; ++i) animation->AddFrame(MakeBitmap(4, 4, kColours[i % 4]));
    animation->SetDelay(delay);
    animation->SetLoop(loop);
    return animation;
}

class AnimationTimingTest : public testing::Test {
protected:
    AnimationTimingTest() {
        SetClock(FakeNow);
        g_now = 5000;
        element->SetCenter({10, 10});
        element->SetSize({20, 20});
    }
    ~AnimationTimingTest() override { SetClock(nullptr); }

    // Paints at the fake time and returns the requested redraw delay.
    std::uint32_t PaintAt(std::uint32_t now) {
        g_now = now;
        CPaintMatrixDC dc(canvas.GetDC(), wxAffineMatrix2D());
        element->Paint(dc);
        return dc.GetRedrawDelay();
    }
    wxColour Shown() { return canvas.Pixel(10, 10); }

    tarn::P<CGraphicAnimationImage> element = tarn::New<CGraphicAnimationImage>();
    testsupport::CCanvas canvas{20, 20};
};

TEST_F(AnimationTimingTest, StepsOneFrameAndAsksForTheRest) {
    auto animation = Frames(3, 100);
    element->SetAnimation(animation);
    element->StartAnimation();
    EXPECT_EQ(PaintAt(5000), 10u);  // the first paint only notes the time
    EXPECT_EQ(animation->GetIndex(), 0);
    EXPECT_EQ(PaintAt(5130), 70u);
    EXPECT_EQ(animation->GetIndex(), 1);
    EXPECT_TRUE(testsupport::Near(Shown(), kColours[1])) << Shown();
    EXPECT_EQ(PaintAt(5180), 50u);  // 50 ms since the change at 5130
    EXPECT_EQ(animation->GetIndex(), 1);
}

TEST_F(AnimationTimingTest, AutomaticDelaySpreadsTheFramesOverASecond) {
    EXPECT_EQ(Frames(4, -1)->GetDelay(), 250);
    EXPECT_EQ(Frames(4, 0)->GetDelay(), 250);
    EXPECT_EQ(Frames(3, 40)->GetDelay(), 40);
    EXPECT_EQ(Frames(0, -1)->GetDelay(), 0);
    auto animation = Frames(4, -1);
    element->SetAnimation(animation);
    element->StartAnimation();
    PaintAt(5000);
    EXPECT_EQ(PaintAt(5260), 240u);
    EXPECT_EQ(animation->GetIndex(), 1);
}

TEST_F(AnimationTimingTest, WithoutLoopStopsAtTheEndAndShowsTheFirstFrame) {
    auto animation = Frames(2, 100);
    element->SetAnimation(animation);
    element->StartAnimation();
    PaintAt(5000);
    PaintAt(5101);
    EXPECT_EQ(animation->GetIndex(), 1);
    PaintAt(5202);
    EXPECT_FALSE(element->IsAnimated());
    EXPECT_FALSE(animation->IsPlaying());
    EXPECT_TRUE(testsupport::Near(Shown(), kColours[0])) << Shown();
    EXPECT_EQ(PaintAt(5400), 0u);  // stopped: no more requests
}

TEST_F(AnimationTimingTest, WithLoopStartsOver) {
    auto animation = Frames(2, 100, true);
    element->SetAnimation(animation);
    element->StartAnimation();
    PaintAt(5000);
    PaintAt(5101);
    PaintAt(5202);
    EXPECT_TRUE(element->IsAnimated());
    EXPECT_EQ(animation->GetIndex(), 0);
}

TEST_F(AnimationTimingTest, AnimatedButNotPlayingAsksEvery100Ms) {
    auto animation = Frames(2, 500);
    element->SetAnimation(animation);
    element->StartAnimation();
    animation->Stop();
    EXPECT_EQ(PaintAt(5000), 100u);
    EXPECT_EQ(PaintAt(9000), 100u);
    EXPECT_EQ(animation->GetIndex(), 0);
}

TEST_F(AnimationTimingTest, EmptyOrStillAnimationsAskForNothing) {
    element->SetAnimation(Frames(0, -1));
    element->StartAnimation();
    EXPECT_TRUE(element->IsAnimated());
    EXPECT_EQ(PaintAt(5000), 0u);
    element->SetAnimation(Frames(2, 100));  // never started
    element->StopAnimation();
    EXPECT_EQ(PaintAt(5000), 0u);
    EXPECT_TRUE(testsupport::Near(Shown(), kColours[0]));
    auto bare = tarn::New<CGraphicAnimationImage>();
    bare->StartAnimation();
    EXPECT_FALSE(bare->IsAnimated());
}

TEST_F(AnimationTimingTest, ClockWrapKeepsTheInterval) {
    auto animation = Frames(3, 100);
    element->SetAnimation(animation);
    element->StartAnimation();
    PaintAt(0xFFFFFFF0u);
    EXPECT_EQ(PaintAt(0x00000060u), 88u);  // 0x70 = 112 ms later: 12 ms into the frame
    EXPECT_EQ(animation->GetIndex(), 1);
}

TEST(AnimationXmlTest, FramesDelayAndLoopSurviveTheElementForm) {
    auto element = tarn::New<CGraphicAnimationImage>();
    element->SetAnimation(Frames(3, 70, true));
    auto store = tarn::New<testsupport::CMemoryStore>();
    wxXmlNode node(wxXML_ELEMENT_NODE, "animation");
    element->ToXml(node, store.Get());
    auto copy = tarn::New<CGraphicAnimationImage>();
    copy->FromXml(node, *store);
    auto animation = tarn::Cast<CAnimation>(copy->GetAnimation());
    ASSERT_TRUE(animation);
    EXPECT_EQ(animation->GetFrameCount(), 3u);
    EXPECT_EQ(animation->GetDelay(), 70);
    EXPECT_TRUE(animation->GetLoop());
    EXPECT_EQ(animation->GetWidth(), 4);

    auto unknown = testsupport::ParseXml(R"(<animation><animation type="GIF"/></animation>)");
    copy->FromXml(*unknown->GetRoot(), *store);
    EXPECT_EQ(copy->GetAnimation(), tarn::P<IAnimation>(animation.Get()));  // kept
}

// Many stored frames may name one small, well-compressed, huge picture: both kinds stop
// reading at the same total of 64 Mi pixels and keep the frames read so far.
TEST(AnimationXmlTest, StoredFramesOfBothKindsStopAtThePixelBudget) {
    const wxBitmap large = MakeBitmap(2048, 2048, kColours[1]);  // 4 Mi pixels
    auto store = tarn::New<testsupport::CMemoryStore>();

    auto frames = tarn::New<CAnimation>();
    for (int i = 0; i < 20; ++i) frames->AddFrame(large);
    wxXmlNode stored(wxXML_ELEMENT_NODE, "animation");
    frames->ToXml(stored, store.Get());
    auto animation = tarn::New<CAnimation>();
    animation->FromXml(stored, *store);
    EXPECT_EQ(animation->GetFrameCount(), 16u);

    wxXmlNode gif(wxXML_ELEMENT_NODE, "animation");
    graphics::xml::WriteInt(gif, "count", 20);
    for (int i = 19; i >= 0; --i) {
        auto* child = new wxXmlNode(&gif, wxXML_ELEMENT_NODE, wxString::Format("frame%d", i));
        store->StoreBitmap(*child, L"frame", large);
        graphics::xml::WriteInt(*child, "delay", 40);
    }
    auto read = tarn::New<CGIFAnimation>();
    read->FromXml(gif, *store);
    ASSERT_EQ(read->GetFrameCount(), 16u);
    EXPECT_EQ(read->GetFrameDelay(15), 40);
    read->Clear();
    EXPECT_TRUE(read->IsEmpty());
    EXPECT_EQ(read->GetIndex(), 0);
}

TEST(AnimationRegistryTest, KindsByExactNameAndTheFactory) {
    EXPECT_TRUE(tarn::Cast<CAnimation>(CreateAnimation(L"animation")));
    EXPECT_TRUE(tarn::Cast<CGIFAnimation>(CreateAnimation(L"gif")));
    EXPECT_FALSE(CreateAnimation(L"Gif"));
    EXPECT_EQ(Frames(0, -1)->GetWidth(), -1);
    auto factory = tarn::New<CGraphicElementAnimationFactory>();
    auto element = factory->Create(L"Animation-Image");
    ASSERT_TRUE(tarn::Cast<CGraphicAnimationImage>(element));
    EXPECT_EQ(element->GetType(), graphics::GRAPHIC_ANIMATION);
    EXPECT_FALSE(factory->Create(L"animation"));
    element->SetFlag(graphics::CGraphicBase::kFlagEditingHints, true);
    EXPECT_EQ(element->GetHint(), L"Double click to load an animation");
}

}  // namespace
