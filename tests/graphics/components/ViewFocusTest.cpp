// The keyboard focus of the view control in a real window: moving it, its look (ring, hover
// look, hint texts, tooltip), pressing with a key, page changes, and the pointer taking it.
// Then the fit mode of full screen and the device scale of high-density screens.

#include <wx/tooltip.h>

#include "ViewFixture.h"
#include "graphics/components/FastFadeTransitionController.h"

namespace {

using namespace graphics;
using namespace graphics::components;
using namespace testsupport;
using namespace std::chrono_literals;

bool Same(const wxImage& a, const wxImage& b, int x, int y) {
    return a.GetRed(x, y) == b.GetRed(x, y) && a.GetGreen(x, y) == b.GetGreen(x, y) &&
           a.GetBlue(x, y) == b.GetBlue(x, y);
}

class ViewFocusTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        document = tarn::New<CGraphicDocument>();
        // Reading order: a, b (same row), c below; the text shows the hint.
        b = MakeButton(L"B", 200, 20, 100, 40, L"Second");
        a = MakeButton(L"A", 20, 20, 100, 40, L"First");
        c = MakeButton(L"C", 20, 120, 100, 40, L"Third");
        hint = MakeText(L"start", 200, 200, 180, 40);
        hint->SetTags({L"hint"});
        for (const tarn::P<CGraphicElement>& element :
             std::initializer_list<tarn::P<CGraphicElement>>{b, a, c, hint}) {
            document->Add(element);
        }
        document->SetContentBox({0, 0, 400, 300});
        view->SetDocument(document);
        Settle();
    }

    std::wstring Focused() const {
        const auto focus = view->GetFocused();
        return focus ? focus->GetName() : L"(none)";
    }

    tarn::P<CGraphicDocument> document;
    tarn::P<CGraphicStateButton> a, b, c;
    tarn::P<CGraphicText> hint;
};

TEST_F(ViewFocusTest, TabMovesInReadingOrderAndTheLookFollows) {
    EXPECT_EQ(Focused(), L"(none)");
    ASSERT_TRUE(view->MoveFocus(false));
    EXPECT_EQ(Focused(), L"A");
    EXPECT_TRUE(view->IsFocusShown());
    EXPECT_TRUE(a->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_EQ(PlainText(*hint), L"First");
    EXPECT_EQ(view->GetToolTipText(), "First");

    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"B");
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_TRUE(b->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_EQ(PlainText(*hint), L"Second");
    EXPECT_EQ(view->GetToolTipText(), "Second");
    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"C");
    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"A");
    view->MoveFocus(true);
    EXPECT_EQ(Focused(), L"C");
    view->MoveFocus(EFocusDirection::Up);
    EXPECT_EQ(Focused(), L"A");
    view->MoveFocus(EFocusDirection::Right);
    EXPECT_EQ(Focused(), L"B");
    // Nothing further right: the focus stays.
    EXPECT_FALSE(view->MoveFocus(EFocusDirection::Right));
    EXPECT_EQ(Focused(), L"B");
}

TEST_F(ViewFocusTest, TheRingIsDrawnAroundTheFocusedButtonAlone) {
    // The same hover look without the ring: the pointer's.
    view->TrackHover(b, b->GetCenter());
    const wxImage hovered = view->RenderBitmap().ConvertToImage();
    view->SetFocused(b);
    const wxImage focused = view->RenderBitmap().ConvertToImage();
    const wxRect button(200, 20, 100, 40);
    const wxRect band = wxRect(button).Inflate(10);
    int changed = 0;
    bool top = false, bottom = false, left = false, right = false;
    for (int y = 0; y < focused.GetHeight(); ++y) {
        for (int x = 0; x < focused.GetWidth(); ++x) {
            if (Same(hovered, focused, x, y)) continue;
            ++changed;
            ASSERT_TRUE(band.Contains(x, y))
                << "ring pixel away from the button at " << x << "," << y;
            ASSERT_FALSE(wxRect(button).Deflate(3).Contains(x, y)) << "inside at " << x << "," << y;
            top = top || y < button.y;
            bottom = bottom || y > button.GetBottom();
            left = left || x < button.x;
            right = right || x > button.GetRight();
        }
    }
    EXPECT_GT(changed, 2 * (button.width + button.height));
    EXPECT_TRUE(top && bottom && left && right);

    // Once the pointer moves, the ring goes and the pointer's look is back.
    MoveTo(390, 290);
    EXPECT_FALSE(view->IsFocusShown());
    MoveTo(250, 40);
    const wxImage pointed = view->RenderBitmap().ConvertToImage();
    EXPECT_TRUE(Same(pointed, hovered, button.x + 50, button.y - 5));
    EXPECT_FALSE(Same(pointed, focused, button.x + 50, button.y - 5));
}

TEST_F(ViewFocusTest, EnterPressesTheFocusedButtonAndTheReleaseClicks) {
    EXPECT_FALSE(view->PressFocused());  // no focus yet
    EXPECT_FALSE(view->ReleaseFocused());
    view->MoveFocus(false);
    view->MoveFocus(false);
    ASSERT_TRUE(view->PressFocused());
    EXPECT_TRUE(b->HasFlag(CGraphicBase::kFlagPressed));
    // A held key repeats its press: nothing more happens.
    EXPECT_FALSE(view->PressFocused());
    EXPECT_TRUE(clicks.empty());
    ASSERT_TRUE(view->ReleaseFocused());
    EXPECT_FALSE(b->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_EQ(clicks, std::vector<std::wstring>{L"B"});
    // A second release without a press clicks nothing.
    EXPECT_FALSE(view->ReleaseFocused());
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ViewFocusTest, MovingOffWhileHeldClicksNothing) {
    view->MoveFocus(false);
    ASSERT_TRUE(view->PressFocused());
    view->MoveFocus(false);
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagPressed));
    EXPECT_TRUE(view->ReleaseFocused());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ViewFocusTest, APageChangePutsTheFocusOnNoButton) {
    view->MoveFocus(false);
    view->MoveFocus(false);
    ASSERT_EQ(Focused(), L"B");
    auto other = tarn::New<CGraphicDocument>();
    auto d = MakeButton(L"D", 20, 20, 100, 40, L"Fourth");
    auto e = MakeButton(L"E", 200, 20, 100, 40, L"Fifth");
    other->Add(d);
    other->Add(e);
    other->SetContentBox({0, 0, 400, 300});
    view->ChangeDocument(other, tarn::New<CFastFadeTransitionController>(0, 255));
    EXPECT_EQ(Focused(), L"(none)");
    EXPECT_FALSE(b->HasFlag(CGraphicBase::kFlagHovered));
    // During the fade the focus already moves on the new page, and stays after it.
    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"D");
    ASSERT_TRUE(WaitFor([&] { return view->GetDocument() == other; }));
    EXPECT_EQ(Focused(), L"D");
    EXPECT_TRUE(view->IsFocusShown());
    EXPECT_TRUE(d->HasFlag(CGraphicBase::kFlagHovered));

    // Straight back without a fade: again no focus, and the first Tab takes the first.
    view->SetDocument(document);
    EXPECT_EQ(Focused(), L"(none)");
    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"A");
}

TEST_F(ViewFocusTest, ThePointerTakesTheFocusAndTheLook) {
    MoveTo(390, 290);
    view->MoveFocus(false);
    ASSERT_TRUE(view->IsFocusShown());
    MoveTo(70, 140);  // onto C
    EXPECT_EQ(Focused(), L"C");
    EXPECT_FALSE(view->IsFocusShown());
    EXPECT_FALSE(a->HasFlag(CGraphicBase::kFlagHovered));
    EXPECT_TRUE(c->HasFlag(CGraphicBase::kFlagHovered));
    // Off every button the focus stays where it was, unshown, and Tab goes on from there.
    MoveTo(390, 290);
    EXPECT_EQ(Focused(), L"C");
    EXPECT_FALSE(c->HasFlag(CGraphicBase::kFlagHovered));
    view->MoveFocus(false);
    EXPECT_EQ(Focused(), L"A");
    EXPECT_TRUE(view->IsFocusShown());
}

TEST_F(ViewFocusTest, FitModeScalesTheCanvasToTheViewCentredOnTheSurround) {
    // A 200 x 100 canvas in the 400 x 300 view: twice the size, 50 pixels of black above
    // and below.
    auto page = tarn::New<CGraphicDocument>();
    page->Add(MakeRectangle(10, 10, 20, 20, *wxRED));
    auto button = MakeButton(L"S", 100, 50, 50, 20, L"Scaled");
    page->Add(button);
    page->SetContentBox({0, 0, 200, 100});
    view->SetFitCanvas(wxSize(200, 100), *wxBLACK);
    view->SetDocument(page);
    Settle();
    EXPECT_EQ(view->GetPageArea(), wxRect(0, 50, 400, 200));
    const wxImage picture = view->RenderBitmap().ConvertToImage();
    const auto colour = [&](int x, int y) {
        return wxColour(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y));
    };
    EXPECT_EQ(colour(200, 10), *wxBLACK);
    EXPECT_EQ(colour(200, 290), *wxBLACK);
    EXPECT_EQ(colour(21, 71), *wxRED);
    EXPECT_EQ(colour(58, 108), *wxRED);
    EXPECT_NE(colour(62, 112), *wxRED);
    EXPECT_NE(colour(18, 68), *wxRED);
    // The pointer maps through the scale: the button's scaled place hovers it.
    MoveTo(250, 170);
    EXPECT_TRUE(button->HasFlag(CGraphicBase::kFlagHovered));
    MoveTo(140, 120);  // where the button would be unscaled
    EXPECT_FALSE(button->HasFlag(CGraphicBase::kFlagHovered));
    view->SetFitCanvas({});
    EXPECT_EQ(view->GetPageArea(), wxRect(0, 0, 400, 300));
}

TEST_F(ViewFocusTest, TheDeviceScalePaintsEveryPixelAtThatScale) {
    auto page = tarn::New<CGraphicDocument>();
    page->Add(MakeRectangle(10, 10, 20, 20, *wxRED));
    page->SetContentBox({0, 0, 400, 300});
    view->SetDocument(page);
    view->SetDeviceScale(2);
    const wxImage picture = view->RenderBitmap().ConvertToImage();
    EXPECT_EQ(picture.GetSize(), wxSize(800, 600));
    const auto red = [&](int x, int y) {
        return picture.GetRed(x, y) == 255 && picture.GetGreen(x, y) == 0;
    };
    EXPECT_TRUE(red(20, 20));
    EXPECT_TRUE(red(59, 59));
    EXPECT_FALSE(red(19, 19));
    EXPECT_FALSE(red(60, 60));
    // The pointer still works in window pixels.
    EXPECT_EQ(view->ToPagePixels(wxPoint(15, 15)), wxPoint2DDouble(30, 30));
    view->SetDeviceScale(0);
    EXPECT_EQ(view->RenderBitmap().GetSize(), wxSize(400, 300));
}

}  // namespace
