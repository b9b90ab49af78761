// "lumtool render" through the real binary: the size, the states and languages it paints,
// and its one-line refusals.

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/init.h>

#include <algorithm>

#include "ContentFile.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

namespace {

using lumtooltest::RunTool;

const std::string kProduct = R"(<?xml version="1.0" encoding="UTF-8"?>
<product title="Render">
  <pages>
    <page name="Main"><document version="1">
      <content-box x="0" y="0" width="320" height="200"/>
      <state-button type-name="lum-state-button-action" name="go" label="Go" text-id="btn.go">
        <center x="100" y="60"/><size width="120" height="40"/>
        <action type="change-page" change-page="goto-page" page="Other"/>
      </state-button>
      <rectangle name="plate"><center x="250" y="150"/><size width="60" height="40"/></rectangle>
    </document></page>
    <page name="Other"><document version="1"/></page>
  </pages>
  <clientsize width="320.7" height="200.4"/>
  <translations>
    <translation id="btn.go" language="en-us" translation="Go"/>
    <translation id="btn.go" language="de-de" translation="Weiter geht's"/>
  </translations>
</product>)";

class RenderTest : public testing::Test {
protected:
    void SetUp() override {
        graphics::InstallPictureHandlers();
        content = wxString(lumtest::WriteArchive(folder, "menu.lum", {{"product.xml", kProduct}}))
                      .ToStdString();
    }

    // Renders with the extra arguments and returns the picture (empty when it failed).
    wxImage Render(const std::string& extra, const std::string& name) {
        const std::string picture = (folder / name).string();
        const auto run = RunTool("render '" + content + "' " + extra + " -o '" + picture + "'", folder);
        EXPECT_EQ(run.status, 0) << run.err;
        return wxImage(picture, wxBITMAP_TYPE_PNG);
    }

    // The bounding box of the pixels in which two pictures differ.
    static wxRect Differences(const wxImage& a, const wxImage& b) {
        wxRect box;
        for (int y = 0; y < a.GetHeight(); ++y) {
            for (int x = 0; x < a.GetWidth(); ++x) {
                const bool same = a.GetRed(x, y) == b.GetRed(x, y) &&
                                  a.GetGreen(x, y) == b.GetGreen(x, y) &&
                                  a.GetBlue(x, y) == b.GetBlue(x, y);
                if (!same) box = box.IsEmpty() ? wxRect(x, y, 1, 1) : box.Union(wxRect(x, y, 1, 1));
            }
        }
        return box;
    }

    wxInitializer toolkit;
    testsupport::TempFolder folder;
    std::string content;
};

TEST_F(RenderTest, PaintsAtTheTruncatedClientSize) {
    const wxImage picture = Render("", "plain.png");
    ASSERT_TRUE(picture.IsOk());
    EXPECT_EQ(picture.GetSize(), wxSize(320, 200));
}

TEST_F(RenderTest, HoverPressedAndLanguageChangeOnlyTheButton) {
    const wxImage plain = Render("", "plain.png");
    const wxImage hovered = Render("--hover GO", "hover.png");
    const wxImage pressed = Render("--pressed go", "pressed.png");
    const wxImage german = Render("--language de-de", "german.png");
    ASSERT_TRUE(plain.IsOk() && hovered.IsOk() && pressed.IsOk() && german.IsOk());
    const wxRect button(40, 40, 120, 40);
    for (const wxImage* other : {&hovered, &pressed, &german}) {
        const wxRect changed = Differences(plain, *other);
        EXPECT_FALSE(changed.IsEmpty());
        EXPECT_TRUE(button.Contains(changed)) << changed.x << "," << changed.y << " "
                                              << changed.width << "x" << changed.height;
    }
    EXPECT_FALSE(Differences(hovered, pressed).IsEmpty());
}

TEST_F(RenderTest, UnknownPagesElementsAndNonButtonsAreRefusedInOneLine) {
    for (const std::string& extra : {std::string("--page Nowhere"), std::string("--hover ghost"),
                                     std::string("--pressed plate")}) {
        const auto run = RunTool("render '" + content + "' " + extra + " -o out.png", folder);
        EXPECT_EQ(run.status, 2) << extra;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const auto page = RunTool("render '" + content + "' --page other -o '" +
                                  (folder / "other.png").string() + "'", folder);
    EXPECT_EQ(page.status, 0) << page.err;
    EXPECT_NE(page.out.find("page Other"), std::string::npos) << page.out;
}

TEST_F(RenderTest, WithoutADisplayItSaysSo) {
    // The marker stops lumtool from starting a virtual display of its own.
    const auto run = RunTool("render '" + content + "' -o out.png", folder,
                             "-u DISPLAY -u WAYLAND_DISPLAY LUMTOOL_UNDER_XVFB=1");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("display"), std::string::npos) << run.err;
}

}  // namespace
