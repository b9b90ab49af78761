// Which buttons take the keyboard focus and where Tab, Shift+Tab and the arrows move it.

#include <gtest/gtest.h>

#include <initializer_list>

#include "ViewFixture.h"
#include "graphics/components/FocusOrder.h"

namespace {

using namespace graphics;
using namespace graphics::components;
using testsupport::MakeButton;
using testsupport::MakeRectangle;

std::vector<std::wstring> Names(const std::vector<tarn::P<CGraphicElement>>& elements) {
    std::vector<std::wstring> names;
    for (const auto& element : elements) names.push_back(element->GetName());
    return names;
}

std::wstring NameOf(const tarn::P<CGraphicElement>& element) {
    return element ? element->GetName() : std::wstring(L"(none)");
}

class FocusOrderTest : public testing::Test {
protected:
    tarn::P<CGraphicStateButton> Add(const std::wstring& name, double x, double y,
                                     double width = 80, double height = 30) {
        auto button = MakeButton(name, x, y, width, height, L"");
        document->Add(button);
        return button;
    }
    tarn::P<CGraphicElement> Find(const std::wstring& name) {
        for (std::size_t i = 0; i < document->GetCount(); ++i) {
            if (document->GetAt(i)->GetName() == name) return document->GetAt(i);
        }
        return {};
    }
    tarn::P<CGraphicDocument> document = tarn::New<CGraphicDocument>();
};

TEST_F(FocusOrderTest, ReadingOrderIsTopToBottomThenLeftToRightByCentre) {
    // Added in no particular order; a tall button whose centre lies lower comes later even
    // though its top is higher.
    Add(L"row2-right", 300, 100);
    Add(L"tall", 150, 0, 80, 400);  // centre y 200
    Add(L"row1-right", 300, 10);
    Add(L"row2-left", 10, 100);
    Add(L"row1-left", 10, 10);
    Add(L"row1-middle", 150, 10);
    EXPECT_EQ(Names(CFocusOrder::ReadingOrder(*document)),
              (std::vector<std::wstring>{L"row1-left", L"row1-middle", L"row1-right", L"row2-left",
                                         L"row2-right", L"tall"}));
}

TEST_F(FocusOrderTest, OnlyVisibleEnabledButtonsTakeTheFocus) {
    Add(L"shown", 10, 10);
    Add(L"hidden", 100, 10)->SetVisible(false);
    // Without the flag bits the view hit-tests, a click cannot reach it: disabled.
    Add(L"disabled", 200, 10)->SetFlags(0);
    document->Add(MakeRectangle(300, 10, 50, 50, *wxRED));
    const auto order = CFocusOrder::ReadingOrder(*document);
    EXPECT_EQ(Names(order), std::vector<std::wstring>{L"shown"});
    EXPECT_FALSE(CFocusOrder::TakesFocus(*document->GetAt(3)));
}

TEST_F(FocusOrderTest, TabWrapsAndShiftTabFromTheFirstGoesToTheLast) {
    const auto a = Add(L"a", 10, 10);
    Add(L"b", 100, 10);
    const auto c = Add(L"c", 200, 10);
    // No focus yet: Tab takes the first, Shift+Tab the last.
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, {}, false)), L"a");
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, {}, true)), L"c");
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, a, false)), L"b");
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, c, false)), L"a");
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, a, true)), L"c");
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, c, true)), L"b");
    // A focus that no longer takes it starts over.
    c->SetVisible(false);
    EXPECT_EQ(NameOf(CFocusOrder::Next(*document, c, false)), L"a");
    EXPECT_FALSE(CFocusOrder::Next(*tarn::New<CGraphicDocument>(), {}, false));
}

TEST_F(FocusOrderTest, ArrowsGoToTheNearestButtonThatWay) {
    // A grid of three columns and two rows, and one button far off to the upper right.
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            Add(std::wstring(1, L"abc"[column]) + std::to_wstring(row), 10 + column * 100,
                100 + row * 60);
        }
    }
    Add(L"far", 600, 0);
    const auto at = [&](const std::wstring& name, EFocusDirection direction) {
        return NameOf(CFocusOrder::Nearest(*document, Find(name), direction));
    };
    EXPECT_EQ(at(L"b0", EFocusDirection::Left), L"a0");
    EXPECT_EQ(at(L"b0", EFocusDirection::Right), L"c0");
    EXPECT_EQ(at(L"b0", EFocusDirection::Down), L"b1");
    EXPECT_EQ(at(L"b1", EFocusDirection::Up), L"b0");
    EXPECT_EQ(at(L"c1", EFocusDirection::Up), L"c0");
    // Nothing that way.
    EXPECT_EQ(at(L"a0", EFocusDirection::Left), L"(none)");
    EXPECT_EQ(at(L"a1", EFocusDirection::Down), L"(none)");
    // Only off to the side: the sideways offset counts twice.
    EXPECT_EQ(at(L"c0", EFocusDirection::Up), L"far");
    EXPECT_EQ(at(L"c0", EFocusDirection::Right), L"far");
    // Without a focus, an arrow starts at the first button.
    EXPECT_EQ(NameOf(CFocusOrder::Nearest(*document, {}, EFocusDirection::Down)), L"far");
}

TEST_F(FocusOrderTest, AButtonWithinFortyFiveDegreesBeatsANearerOneOffToTheSide) {
    const auto from = Add(L"from", 0, 0);  // centre (40, 15)
    Add(L"aside", 50, 60);                 // 50 right, 60 down: outside the cone
    Add(L"ahead", 150, 0);                 // 150 right, in line
    EXPECT_EQ(NameOf(CFocusOrder::Nearest(*document, from, EFocusDirection::Right)), L"ahead");
    EXPECT_EQ(NameOf(CFocusOrder::Nearest(*document, from, EFocusDirection::Down)), L"aside");
}

TEST_F(FocusOrderTest, ArrowsSkipButtonsThatDoNotTakeTheFocus) {
    const auto a = Add(L"a", 10, 10);
    Add(L"b", 100, 10)->SetVisible(false);
    Add(L"c", 200, 10);
    EXPECT_EQ(NameOf(CFocusOrder::Nearest(*document, a, EFocusDirection::Right)), L"c");
}

}  // namespace
