// "lumtool check" on elements that leave their page and buttons that overlap.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckMenu.h"
#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

namespace {

using namespace checkmenu;

std::string Image(const std::string& name, const std::string& geometry,
                  const std::string& attributes = "") {
    return "<image name=\"" + name + "\" " + attributes + ">" + geometry +
           "<attachment-bitmap name=\"look.png\"/></image>";
}

class LayoutCheckTest : public testing::Test {
protected:
    void SetUp() override { graphics::InstallPictureHandlers(); }

    lumtooltest::CRun Check(const std::string& name, const std::string& product) {
        return CheckFolder(m_temp, name,
                           {{"product.xml", product}, {"look.png", lumtest::PngBytes(8, 8)}});
    }

    testsupport::TempFolder m_temp;
};

TEST_F(LayoutCheckTest, ElementsOutsideThePageTheWindowShowsAreFound) {
    // The window shows 400 x 300 pixels from the content box's corner on, here 100,50.
    const std::string shifted = "<content-box x=\"100\" y=\"50\" width=\"9\" height=\"9\"/>";
    const std::string main =
        Image("background", Geometry(300, 200, 400, 300)) +  // exactly the page
        Image("inside", Geometry(120, 70, 40, 40)) +         // touches the top-left corner
        Image("gone", Geometry(560, 200, 100, 100)) +        // right of the page
        Image("above", Geometry(300, 40, 50, 20)) +          // above it, touching its edge
        Image("hidden", Geometry(900, 900, 10, 10), "visible=\"false\"") +
        Image("corner", Geometry(110, 340, 40, 30)) +  // 10 past the left, 5 below
        "<point name=\"mark\">" + Geometry(0, 0, 4, 4) + "</point>";
    // Without a content box the page starts at its elements' top-left corner.
    const std::string unboxed =
        Image("left", Geometry(-50, -20, 20, 20)) + Image("wide", Geometry(200, 100, 300, 20));
    const lumtooltest::CRun run = Check(
        "menu",
        Product(Page("main", main, shifted) + Page("other", unboxed, ""), ClientSize(400, 300)));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const std::string page = "400\u00d7300 page (100,50 to 500,350)";
    EXPECT_EQ(Lines(run.out, "error: "),
              (std::vector<std::string>{
                  "page 'main', image 'gone' at 510,150 (100\u00d7100): lies wholly outside the " +
                      page + ", so it never shows; move it onto the page or remove it",
                  "page 'main', image 'above' at 275,30 (50\u00d720): lies wholly outside the " +
                      page + ", so it never shows; move it onto the page or remove it"}))
        << run.out;
    EXPECT_EQ(Lines(run.out, "warning: "),
              (std::vector<std::string>{
                  "page 'main', image 'corner' at 90,325 (40\u00d730): reaches past the left "
                  "edge by 10 and the bottom edge by 5 pixels of the " +
                      page +
                      ", and what lies outside is cut off; move it onto the page or make "
                      "it smaller",
                  "page 'other', image 'wide' at 50,90 (300\u00d720): reaches past the right "
                  "edge by 10 pixels of the 400\u00d7300 page (-60,-30 to 340,270), and what lies "
                  "outside is cut off; move it onto the page or make it smaller"}))
        << run.out;

    // Without a client size the window has no size to measure against: the missing size
    // is the one finding, not a page of elements outside a zero-sized window.
    const lumtooltest::CRun sizeless = Check("sizeless", Product(Page("main", main, shifted)));
    const std::vector<std::string> errors = Lines(sizeless.out, "error: ");
    ASSERT_EQ(errors.size(), 1u) << sizeless.out;
    EXPECT_NE(errors[0].find("has no <clientsize>"), std::string::npos) << sizeless.out;
    EXPECT_TRUE(Lines(sizeless.out, "warning: ").empty()) << sizeless.out;
}

TEST_F(LayoutCheckTest, OverlappingButtonsAreNamedWithTheOneThatTakesTheClick) {
    const std::string buttons =
        PlainButton("a", Geometry(100, 100, 100, 40)) +
        PlainButton("b", Geometry(150, 120, 100, 40)) +  // on top of a by 50 x 20
        PlainButton("c", Geometry(100, 140, 100, 40)) +  // touches a's bottom edge
        PlainButton("ghost", Geometry(100, 100, 100, 40), "visible=\"false\"") +
        Image("cover", Geometry(100, 100, 50, 50)) +  // not a button
        // Turned bars side by side: their upright boxes overlap, they do not.
        PlainButton("bar1", Geometry(300, 200, 100, 20), "rotation=\"45\"") +
        PlainButton("bar2", Geometry(350, 150, 100, 20), "rotation=\"45\"") +
        PlainButton("bar3", Geometry(300, 200, 100, 20), "rotation=\"-45\"");  // crosses bar1
    const lumtooltest::CRun run =
        Check("menu", Product(Page("main", buttons), ClientSize(400, 300)));
    EXPECT_EQ(run.status, 0) << run.out << run.err;  // warnings only
    const std::vector<std::string> warnings = Lines(run.out, "warning: ");
    ASSERT_EQ(warnings.size(), 3u) << run.out;
    EXPECT_EQ(warnings[0],
              "page 'main', state-button 'b' at 100,100 (100\u00d740): overlaps state-button 'a' "
              "at 50,80 (100\u00d740) by 50\u00d720 pixels; a click there goes to 'b', which lies "
              "on top, never to 'a': move them apart");
    EXPECT_TRUE(Has(warnings[1],
                    "state-button 'c' at 50,120 (100\u00d740): overlaps "
                    "state-button 'b' at 100,100 (100\u00d740) by 50\u00d720 pixels"))
        << warnings[1];
    EXPECT_TRUE(Has(warnings[2], "state-button 'bar3' at ")) << warnings[2];
    EXPECT_TRUE(Has(warnings[2], "overlaps state-button 'bar1' at ")) << warnings[2];
    EXPECT_FALSE(Has(run.out, "bar2")) << run.out;
    EXPECT_FALSE(Has(run.out, "ghost")) << run.out;

    // A pile of 60 buttons: 1770 pairs, of which the first 50 are named and the others counted.
    std::string pile;
    for (int i = 0; i < 60; ++i)
        pile += PlainButton("p" + std::to_string(i), Geometry(200, 150, 40, 20));
    const lumtooltest::CRun piled =
        Check("pile", Product(Page("main", pile), ClientSize(400, 300)));
    const std::vector<std::string> named = Lines(piled.out, "warning: ");
    ASSERT_EQ(named.size(), 51u) << piled.out.substr(0, 2000);
    EXPECT_EQ(named.back(), "page 'main': 1720 more pairs of buttons overlap; move them apart");
}

}  // namespace
