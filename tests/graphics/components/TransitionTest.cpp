// The fade between two pages: its alpha steps, the swap after the last one, and how a page
// change during a fade restarts it.

#include <wx/dcmemory.h>

#include <algorithm>
#include <cstdlib>

#include "ViewFixture.h"
#ifdef __WXGTK3__
#include "WindowPixels.h"
#endif
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicImage.h"
#include "graphics/components/FastFadeTransitionController.h"

namespace {

using namespace graphics;
using namespace graphics::components;
using namespace testsupport;

std::unique_ptr<wxBitmap> Filled(const wxColour& colour, int size = 4) {
    auto bitmap = std::make_unique<wxBitmap>(size, size, 32);
    wxMemoryDC dc(*bitmap);
    dc.SetBackground(wxBrush(colour));
    dc.Clear();
    return bitmap;
}

// The middle pixel of the frame the fade paints now.
wxColour PaintedMiddle(CFastFadeTransitionController& fade) {
    wxBitmap frame(4, 4, 24);
    {
        wxMemoryDC dc(frame);
        fade.Paint(dc);
    }
    const wxImage image = frame.ConvertToImage();
    return wxColour(image.GetRed(2, 3), image.GetGreen(2, 3), image.GetBlue(2, 3));
}

TEST(FastFadeTest, TenStepsBlendTheNewPageInAtTheirAlphas) {
    CFastFadeTransitionController fade(0, 255);
    fade.Begin(Filled(*wxRED), Filled(*wxBLUE));
    EXPECT_EQ(PaintedMiddle(fade), *wxRED);  // before the first step: the old page
    std::vector<int> alphas;
    for (int step = 0; step < 10; ++step) {
        EXPECT_FALSE(fade.IsFinished()) << step;
        fade.Step();
        alphas.push_back(fade.GetAlpha());
        // Each frame blends both pages: red falls as blue rises.
        const wxColour seen = PaintedMiddle(fade);
        EXPECT_NEAR(seen.Red(), 255 - fade.GetAlpha(), 1) << "step " << step;
        EXPECT_NEAR(seen.Blue(), fade.GetAlpha(), 1) << "step " << step;
        EXPECT_EQ(seen.Green(), 0) << "step " << step;
    }
    EXPECT_EQ(alphas, (std::vector<int>{25, 51, 76, 102, 127, 153, 178, 204, 229, 254}));
    EXPECT_TRUE(fade.IsFinished());
    EXPECT_EQ(fade.GetInterval(), 5);
    // Uniform fades need no picture of their own per step.
    EXPECT_EQ(fade.GetFadingImage(), nullptr);
}

TEST(FastFadeTest, FromKeepsPixelsAtOrBelowItsAlpha) {
    wxImage picture(3, 1);
    picture.InitAlpha();
    picture.SetAlpha(0, 0, 50);
    picture.SetAlpha(1, 0, 100);
    picture.SetAlpha(2, 0, 200);
    CFastFadeTransitionController fade(100, 255);
    fade.Begin(Filled(*wxRED, 3), std::make_unique<wxBitmap>(picture, 32));
    fade.Step();
    fade.Step();
    const wxImage& image = *fade.GetFadingImage();
    EXPECT_EQ(image.GetAlpha(0, 0), 50);
    EXPECT_EQ(image.GetAlpha(1, 0), 100);
    // Fades on, although its alpha fell below 100 after the first step.
    EXPECT_EQ(image.GetAlpha(2, 0), 51);
}

// Records what the view shows at every step and the pictures it was given.
class CWatchingFade : public CFastFadeTransitionController {
public:
    explicit CWatchingFade(CView& view) : CFastFadeTransitionController(0, 255), m_view(view) {}
    void Begin(std::unique_ptr<wxBitmap> oldPicture,
               std::unique_ptr<wxBitmap> newPicture) override {
        const wxImage oldImage = oldPicture->ConvertToImage();
        const wxImage newImage = newPicture->ConvertToImage();
        oldCentre = wxColour(oldImage.GetRed(200, 150), oldImage.GetGreen(200, 150),
                             oldImage.GetBlue(200, 150));
        newCentre = wxColour(newImage.GetRed(200, 150), newImage.GetGreen(200, 150),
                             newImage.GetBlue(200, 150));
        CFastFadeTransitionController::Begin(std::move(oldPicture), std::move(newPicture));
    }
    void Step() override {
        shownAtStep.push_back(m_view.GetDocument());
        // Held half-way, so that a test can interrupt it there however slow the machine is.
        if (holdAt >= 0 && GetProgress() >= holdAt) return;
        CFastFadeTransitionController::Step();
    }
    double holdAt = -1;
    std::vector<tarn::P<CGraphicDocument>> shownAtStep;
    wxColour oldCentre;
    wxColour newCentre;

private:
    CView& m_view;
};

class ViewTransitionTest : public ViewFixture {
protected:
    static tarn::P<CGraphicDocument> Page(const wxColour& colour) {
        auto page = tarn::New<CGraphicDocument>();
        page->Add(MakeRectangle(0, 0, 400, 300, colour));
        page->SetContentBox({0, 0, 400, 300});
        return page;
    }
};

TEST_F(ViewTransitionTest, TheFirstPageIsShownWithoutAFade) {
    const auto first = Page(*wxRED);
    view->ChangeDocument(first, tarn::New<CFastFadeTransitionController>(0, 255));
    EXPECT_EQ(view->GetDocument(), first);
    EXPECT_FALSE(view->GetPendingDocument());
    Settle();
    EXPECT_FALSE(view->IsTransitionRunning());
}

TEST_F(ViewTransitionTest, SwapsOnTheTickAfterTheTenthStep) {
    const auto red = Page(*wxRED);
    const auto blue = Page(*wxBLUE);
    view->SetDocument(red);
    Settle();
    auto fade = tarn::New<CWatchingFade>(*view);
    view->ChangeDocument(blue, fade);
    EXPECT_EQ(view->GetDocument(), red);
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == blue; }));
    EXPECT_EQ(fade->shownAtStep.size(), 10u);
    for (const auto& shown : fade->shownAtStep) EXPECT_EQ(shown, red);
    EXPECT_TRUE(fade->IsFinished());
    EXPECT_EQ(fade->oldCentre, *wxRED);
    EXPECT_EQ(fade->newCentre, *wxBLUE);
    Settle();
    EXPECT_FALSE(view->GetTransitionTimer().IsRunning());
    EXPECT_FALSE(view->GetPendingDocument());
}

// A page of one rectangle that counts its paints.
tarn::P<CGraphicDocument> CountingPage(const wxColour& colour,
                                       tarn::P<CAnimatedRectangle>& rectangle) {
    rectangle = tarn::New<CAnimatedRectangle>();
    rectangle->SetSize({400, 300});
    rectangle->SetCenter({200, 150});
    rectangle->SetBrush(wxBrush(colour));
    auto page = tarn::New<CGraphicDocument>();
    page->Add(rectangle);
    page->SetContentBox({0, 0, 400, 300});
    return page;
}

TEST_F(ViewTransitionTest, TheFadeBlendsPicturesAndPaintsNoElement) {
    tarn::P<CAnimatedRectangle> oldRectangle;
    tarn::P<CAnimatedRectangle> newRectangle;
    const auto red = CountingPage(*wxRED, oldRectangle);
    const auto blue = CountingPage(*wxBLUE, newRectangle);
    view->SetDocument(red);
    Settle();
    const int oldPaints = oldRectangle->paints;
    auto fade = tarn::New<CWatchingFade>(*view);
    view->ChangeDocument(blue, fade);
    // A frame in the middle of the fade shows both pages at once. On a slow machine the fade
    // may be over by now: rendering the page shown then would paint it once more.
    ASSERT_TRUE(WaitFor([&] { return fade->GetProgress() >= 50 || view->GetDocument() == blue; }));
    if (view->GetDocument() == red) {
        const wxImage middle = view->RenderBitmap().ConvertToImage();
        EXPECT_GT(middle.GetRed(200, 150), 20);
        EXPECT_GT(middle.GetBlue(200, 150), 20);
    }
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == blue; }));
    Settle();
    // The old page came from what the window showed, the new one was painted once for its
    // picture, and that picture is what the window shows after the swap.
    EXPECT_EQ(oldRectangle->paints, oldPaints);
    EXPECT_EQ(newRectangle->paints, 1);
    EXPECT_EQ(fade->oldCentre, *wxRED);
    EXPECT_EQ(fade->newCentre, *wxBLUE);
    const wxImage after = Capture();
    EXPECT_EQ(wxColour(after.GetRed(200, 150), after.GetGreen(200, 150), after.GetBlue(200, 150)),
              *wxBLUE);
}

TEST_F(ViewTransitionTest, TheDisplayBlendsAUniformFadeAsTheFadeItselfPaintsIt) {
    const auto red = Page(*wxRED);
    view->SetDocument(red);
    Settle();
    auto fade = tarn::New<CFastFadeTransitionController>(0, 255);
    view->ChangeDocument(Page(*wxBLUE), fade);
    // This paint starts the fade and shows its first step: the display blends the pictures.
    const wxImage shown = view->RenderBitmap().ConvertToImage();
    ASSERT_EQ(fade->GetAlpha(), 25);
    wxBitmap painted(shown.GetWidth(), shown.GetHeight(), 24);
    {
        wxMemoryDC dc(painted);
        fade->Paint(dc);
    }
    const wxImage expected = painted.ConvertToImage();
    int worst = 0;
    for (int y = 0; y < shown.GetHeight(); ++y) {
        for (int x = 0; x < shown.GetWidth(); ++x) {
            worst = std::max({worst, std::abs(shown.GetRed(x, y) - expected.GetRed(x, y)),
                              std::abs(shown.GetGreen(x, y) - expected.GetGreen(x, y)),
                              std::abs(shown.GetBlue(x, y) - expected.GetBlue(x, y))});
        }
    }
    EXPECT_LE(worst, 1);
    EXPECT_NEAR(shown.GetBlue(200, 150), 25, 1);

    // A page change during the fade blends the new fade's pictures, not the last ones.
    auto next = tarn::New<CFastFadeTransitionController>(0, 255);
    view->ChangeDocument(Page(*wxGREEN), next);
    const wxImage again = view->RenderBitmap().ConvertToImage();
    EXPECT_NEAR(again.GetRed(200, 150), 255 - 25, 1);
    EXPECT_NEAR(again.GetGreen(200, 150), 25, 1);
    EXPECT_EQ(again.GetBlue(200, 150), 0);
}

#ifdef __WXGTK3__
// Steps drawn on the window outside paints: where fades are blended by an X display.

// The middle of the view as the display holds it now, without asking the view to paint.
wxColour MiddleOnDisplay(wxWindow* view) {
    return PixelOnDisplay(view, wxPoint(200, 150)).value_or(wxColour());
}

TEST_F(ViewTransitionTest, StepsAfterTheFirstReachTheScreenWithoutPaints) {
    if (!PixelOnDisplay(view, wxPoint(0, 0))) GTEST_SKIP() << "not an X display";
    view->SetDocument(Page(*wxRED));
    Settle();
    auto fade = tarn::New<CWatchingFade>(*view);
    fade->holdAt = 50;
    view->ChangeDocument(Page(*wxBLUE), fade);
    ASSERT_TRUE(WaitFor([&] { return fade->GetProgress() >= 50; }));
    const int paints = view->paints;
    Settle(std::chrono::milliseconds(100));  // the held step is drawn within a screen refresh
    const wxColour seen = MiddleOnDisplay(view);
    EXPECT_EQ(view->paints, paints);
    EXPECT_NEAR(seen.Red(), 128, 1);
    EXPECT_EQ(seen.Green(), 0);
    EXPECT_NEAR(seen.Blue(), 127, 1);
}

TEST_F(ViewTransitionTest, ThePageAFadeEndedInIsShownAsItIsNow) {
    if (!PixelOnDisplay(view, wxPoint(0, 0))) GTEST_SKIP() << "not an X display";
    tarn::P<CAnimatedRectangle> rectangle;
    const auto blue = CountingPage(*wxBLUE, rectangle);
    view->SetDocument(Page(*wxRED));
    Settle();
    view->ChangeDocument(blue, tarn::New<CFastFadeTransitionController>(0, 255));
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == blue; }));
    Settle();
    EXPECT_EQ(MiddleOnDisplay(view), *wxBLUE);
    // The page changes after its fade: the display's copy of the fade's picture is stale.
    rectangle->SetBrush(wxBrush(*wxYELLOW));
    view->Refresh(false);
    Settle();
    EXPECT_EQ(MiddleOnDisplay(view), *wxYELLOW);
    view->Refresh(false);
    Settle();
    EXPECT_EQ(MiddleOnDisplay(view), *wxYELLOW);
}
#endif

TEST_F(ViewTransitionTest, APageChangeDuringAFadeStartsOverFromThePageShown) {
    const auto red = Page(*wxRED);
    const auto green = Page(*wxGREEN);
    const auto blue = Page(*wxBLUE);
    view->SetDocument(red);
    Settle();
    auto first = tarn::New<CWatchingFade>(*view);
    first->holdAt = 30;
    view->ChangeDocument(green, first);
    ASSERT_TRUE(WaitFor([&] { return first->GetProgress() >= 30; }));
    ASSERT_LT(first->GetProgress(), 100);
    auto second = tarn::New<CWatchingFade>(*view);
    view->ChangeDocument(blue, second);
    const double stoppedAt = first->GetProgress();
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == blue; }));
    EXPECT_EQ(first->GetProgress(), stoppedAt);
    EXPECT_EQ(second->oldCentre, *wxRED);
    EXPECT_EQ(second->newCentre, *wxBLUE);
    EXPECT_EQ(second->shownAtStep.size(), 10u);
}

TEST_F(ViewTransitionTest, SettingADocumentDirectlyEndsARunningFade) {
    const auto red = Page(*wxRED);
    const auto green = Page(*wxGREEN);
    const auto blue = Page(*wxBLUE);
    view->SetDocument(red);
    Settle();
    view->ChangeDocument(green, tarn::New<CFastFadeTransitionController>(0, 255));
    ASSERT_TRUE(WaitFor([&] { return view->IsTransitionRunning(); }));
    view->SetDocument(blue);
    Settle(std::chrono::milliseconds(300));
    EXPECT_EQ(view->GetDocument(), blue);
}

TEST_F(ViewTransitionTest, FadingToNoPageEndsLikeAnyOther) {
    view->SetDocument(Page(*wxRED));
    Settle();
    view->ChangeDocument({}, tarn::New<CFastFadeTransitionController>(0, 255));
    ASSERT_TRUE(WaitFor([&] { return !view->GetDocument(); }));
    Settle();
    EXPECT_FALSE(view->GetTransitionTimer().IsRunning());
}

}  // namespace

namespace {

// A page holding a 20 x 10 picture stretched to 200 x 100: showing it scales the picture.
tarn::P<graphics::CGraphicDocument> PictureDocument(tarn::P<graphics::CGraphicImage>& image) {
    image = tarn::Cast<graphics::CGraphicImage>(graphics::NewInstance(graphics::GRAPHIC_IMAGE));
    wxImage picture(20, 10);
    picture.SetRGB(wxRect(0, 0, 20, 10), 0, 0, 255);
    image->SetBitmap(std::make_unique<wxBitmap>(picture));
    image->SetCenter({200, 150});
    image->SetSize({200, 100});
    auto page = tarn::New<graphics::CGraphicDocument>();
    page->Add(testsupport::MakeRectangle(0, 0, 400, 300, *wxRED));
    page->Add(image);
    page->SetContentBox({0, 0, 400, 300});
    return page;
}

}  // namespace

TEST_F(ViewTransitionTest, APreparedPageFadesInWithTheScaledPictureItAlreadyHas) {
    const auto red = Page(*wxRED);
    tarn::P<CGraphicImage> image;
    const auto pictured = PictureDocument(image);
    view->SetDocument(red);
    Settle();
    const int paints = view->paints;

    view->PreparePicture(pictured);
    EXPECT_EQ(image->GetPreparedCount(), 1u);
    // Nothing on screen changes: the view neither shows nor paints the prepared page.
    EXPECT_EQ(view->GetDocument(), red);
    Settle();
    EXPECT_EQ(view->paints, paints);
    view->PreparePicture(red);  // the page shown needs nothing

    auto fade = tarn::New<CWatchingFade>(*view);
    view->ChangeDocument(pictured, fade);
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == pictured; }));
    Settle();
    // The fade's picture of the page used the picture prepared before: no second scaling.
    EXPECT_EQ(image->GetPreparedCount(), 1u);
    EXPECT_EQ(fade->newCentre, *wxBLUE);
}
