// The fade between two pages: its alpha steps, the swap after the last one, and how a page
// change during a fade restarts it.

#include <wx/dcmemory.h>

#include "ViewFixture.h"
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

TEST(FastFadeTest, TenStepsThenFinished) {
    CFastFadeTransitionController fade(0, 255);
    fade.Begin(Filled(*wxRED), Filled(*wxBLUE));
    ASSERT_NE(fade.GetFadingImage(), nullptr);
    std::vector<int> alphas;
    for (int step = 0; step < 10; ++step) {
        EXPECT_FALSE(fade.IsFinished()) << step;
        fade.Step();
        alphas.push_back(fade.GetFadingImage()->GetAlpha(2, 3));
    }
    EXPECT_EQ(alphas, (std::vector<int>{25, 51, 76, 102, 127, 153, 178, 204, 229, 254}));
    EXPECT_TRUE(fade.IsFinished());
    EXPECT_EQ(fade.GetInterval(), 5);
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
    void Begin(std::unique_ptr<wxBitmap> oldPicture, std::unique_ptr<wxBitmap> newPicture) override {
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
        CFastFadeTransitionController::Step();
    }
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

TEST_F(ViewTransitionTest, APageChangeDuringAFadeStartsOverFromThePageShown) {
    const auto red = Page(*wxRED);
    const auto green = Page(*wxGREEN);
    const auto blue = Page(*wxBLUE);
    view->SetDocument(red);
    Settle();
    auto first = tarn::New<CWatchingFade>(*view);
    view->ChangeDocument(green, first);
    ASSERT_TRUE(WaitFor([&] { return first->GetProgress() >= 30; }));
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
