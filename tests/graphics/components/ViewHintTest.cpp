// The hint band at the bottom of the view: plain text, pictures from the art folder written
// img[NAME], weight changes written font[BOLD] and font[NORMAL], and unclosed markup.

#include <wx/filename.h>

#include "TempFolder.h"
#include "TestSupport.h"
#include "ViewFixture.h"
#include "graphics/skin/SkinManager.h"

namespace {

using graphics::components::CView;

bool IsRed(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 60 && image.GetBlue(x, y) < 60;
}

bool IsInk(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) < 110 && image.GetGreen(x, y) < 110 && image.GetBlue(x, y) < 110;
}

class ViewHintTest : public testsupport::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        // A scalable face, whose bold is drawn from the same outlines: Wine's default dialog
        // font is a bitmap face with a bold from another font.
        view->SetFont(wxFontInfo(10).FaceName("DejaVu Sans"));
        ASSERT_TRUE(testsupport::MakeBitmap(10, 10, *wxRED)
                        .SaveFile((art / "dot.png").string(), wxBITMAP_TYPE_PNG));
        graphics::GetSkinManager()->SetArtFolder(wxFileName::DirName(art.Path().string()));
    }

    // The band as the view paints it for the hint.
    wxImage Band(const wxString& hint) {
        view->SetHint(true, hint);
        const wxImage all = view->RenderBitmap().ConvertToImage();
        return all.GetSubImage(
            wxRect(0, all.GetHeight() - CView::kHintBand, all.GetWidth(), CView::kHintBand));
    }

    static int Count(const wxImage& band, bool (*test)(const wxImage&, int, int)) {
        int count = 0;
        for (int y = 0; y < band.GetHeight(); ++y) {
            for (int x = 0; x < band.GetWidth(); ++x) count += test(band, x, y) ? 1 : 0;
        }
        return count;
    }

    // The columns where the test holds somewhere: first and last, or -1 and -1.
    static std::pair<int, int> Columns(const wxImage& band,
                                       bool (*test)(const wxImage&, int, int)) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < band.GetWidth(); ++x) {
            for (int y = 0; y < band.GetHeight(); ++y) {
                if (!test(band, x, y)) continue;
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
        return {first, last};
    }

    testsupport::TempFolder art;
};

TEST_F(ViewHintTest, PicturesStandInTheTextWhereTheyAreNamed) {
    const wxImage band = Band("ab img[dot.png] cd");
    EXPECT_EQ(Count(band, IsRed), 100);  // the whole picture, inside the band
    const auto [redFirst, redLast] = Columns(band, IsRed);
    const auto [inkFirst, inkLast] = Columns(band, IsInk);
    EXPECT_LT(inkFirst, redFirst);  // "ab " before it
    EXPECT_GT(inkLast, redLast);    // " cd" after it
    // A name without a picture takes no room and draws nothing.
    EXPECT_EQ(Columns(Band("ab img[none.png]"), IsInk), Columns(Band("ab"), IsInk));
}

TEST_F(ViewHintTest, WeightChangesApplyToTheTextThatFollows) {
    const wxString word = "WWWWWWWW";
    const wxImage plain = Band(word);
    const wxImage bold = Band("font[BOLD]" + word);
    EXPECT_GT(Columns(bold, IsInk).second, Columns(plain, IsInk).second);
    EXPECT_GT(Count(bold, IsInk), Count(plain, IsInk));
    // Values compare without case; NORMAL goes back; others are ignored, markup is not drawn.
    EXPECT_EQ(Count(Band("font[bold]" + word), IsInk), Count(bold, IsInk));
    EXPECT_EQ(Count(Band("font[BOLD]font[NORMAL]" + word), IsInk), Count(plain, IsInk));
    EXPECT_EQ(Count(Band("font[ITALIC]" + word), IsInk), Count(plain, IsInk));
    EXPECT_EQ(Count(Band("font[BOLD]"), IsInk), 0);
}

TEST_F(ViewHintTest, AnUnclosedSegmentIsPlainText) {
    const wxImage unclosed = Band("ab img[dot.png");
    EXPECT_EQ(Count(unclosed, IsRed), 0);
    EXPECT_GT(Columns(unclosed, IsInk).second, Columns(Band("ab"), IsInk).second + 20);
    EXPECT_GT(Columns(Band("ab font[BOLD"), IsInk).second, Columns(Band("ab"), IsInk).second + 20);
}

}  // namespace
