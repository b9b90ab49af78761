#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicImage.h"
#include "graphics/ImagePainter.h"

namespace {

using graphics::CGraphicImage;
using graphics::CImagePainterContext;
using graphics::CMargins;
using testsupport::CCanvas;

const wxColour kRed(255, 0, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

wxColour At(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// A 6 x 6 picture cut by margins of 2 into nine 2 x 2 parts of distinct colours.
wxBitmap NinePartBitmap(wxColour colours[3][3]) {
    wxImage image(6, 6);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            colours[row][column] = wxColour(40 + 80 * column, 40 + 80 * row, 20 * (row + column));
            const wxColour& c = colours[row][column];
            image.SetRGB(wxRect(column * 2, row * 2, 2, 2), c.Red(), c.Green(), c.Blue());
        }
    }
    return wxBitmap(image);
}

wxImage DrawNine(const wxBitmap& bitmap, const wxRect& destination, const CMargins& margins,
                 wxSize canvas) {
    wxImage image(canvas);
    image.SetRGB(wxRect(canvas), 255, 255, 255);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        auto painter = tarn::New<CImagePainterContext>(*context);
        painter->DrawNinePatch(destination, bitmap, margins, 0);
    }
    return image;
}

TEST(NinePatchTest, CornersKeepPixelSizeWhileEdgesAndMiddleStretch) {
    wxColour c[3][3];
    const wxBitmap bitmap = NinePartBitmap(c);
    const wxImage image = DrawNine(bitmap, wxRect(0, 0, 20, 14), {2, 2, 2, 2}, wxSize(20, 14));
    EXPECT_EQ(At(image, 0, 0), c[0][0]);
    EXPECT_EQ(At(image, 1, 1), c[0][0]);
    EXPECT_EQ(At(image, 2, 0), c[0][1]);  // the corner did not grow
    EXPECT_EQ(At(image, 17, 1), c[0][1]);
    EXPECT_EQ(At(image, 18, 0), c[0][2]);
    EXPECT_EQ(At(image, 19, 13), c[2][2]);
    EXPECT_EQ(At(image, 0, 12), c[2][0]);
    EXPECT_EQ(At(image, 0, 7), c[1][0]);
    EXPECT_EQ(At(image, 19, 2), c[1][2]);
    EXPECT_EQ(At(image, 10, 7), c[1][1]);
    EXPECT_EQ(At(image, 3, 2), c[1][1]);
    EXPECT_EQ(At(image, 10, 13), c[2][1]);
}

TEST(NinePatchTest, NoMarginsSameSizeIsAnExactCopy) {
    wxColour c[3][3];
    const wxBitmap bitmap = NinePartBitmap(c);
    const wxImage image = DrawNine(bitmap, wxRect(3, 4, 6, 6), {}, wxSize(12, 12));
    EXPECT_EQ(At(image, 3, 4), c[0][0]);
    EXPECT_EQ(At(image, 8, 9), c[2][2]);
    EXPECT_EQ(At(image, 5, 6), c[1][1]);
    EXPECT_EQ(At(image, 2, 4), kWhite);
    EXPECT_EQ(At(image, 9, 9), kWhite);
}

TEST(NinePatchTest, PartsBelowOnePixelAreSkipped) {
    wxColour c[3][3];
    const wxBitmap bitmap = NinePartBitmap(c);
    // Left and right margins fill the destination: no middle column is drawn.
    wxImage image = DrawNine(bitmap, wxRect(0, 0, 4, 10), {2, 2, 2, 2}, wxSize(4, 10));
    EXPECT_EQ(At(image, 1, 0), c[0][0]);
    EXPECT_EQ(At(image, 2, 0), c[0][2]);
    EXPECT_EQ(At(image, 3, 5), c[1][2]);
    // Margins beyond the picture and the destination: nothing breaks.
    image = DrawNine(bitmap, wxRect(0, 0, 5, 5), {9, 9, 9, 9}, wxSize(5, 5));
    EXPECT_EQ(At(image, 2, 2), kWhite);
    image = DrawNine(bitmap, wxRect(0, 0, 3, 3), {2, 2, 2, 2}, wxSize(3, 3));
    EXPECT_EQ(At(image, 0, 0), c[0][0]);
}

TEST(NinePatchTest, DoubleFormTruncates) {
    wxColour c[3][3];
    const wxBitmap bitmap = NinePartBitmap(c);
    wxImage image(12, 12);
    image.SetRGB(wxRect(0, 0, 12, 12), 255, 255, 255);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        auto painter = tarn::New<CImagePainterContext>(*context);
        painter->DrawNinePatch(graphics::CDRect{1.9, 1.9, 6.99, 6.99}, bitmap, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(At(image, 1, 1), c[0][0]);
    EXPECT_EQ(At(image, 6, 6), c[2][2]);
    EXPECT_EQ(At(image, 7, 7), kWhite);
}

// An image element 20 x 10 at (50, 50): left half red, right half blue.
tarn::P<CGraphicImage> SplitImage() {
    auto image = tarn::Cast<CGraphicImage>(graphics::NewInstance(graphics::GRAPHIC_IMAGE));
    wxImage picture(20, 10);
    picture.SetRGB(wxRect(0, 0, 10, 10), 255, 0, 0);
    picture.SetRGB(wxRect(10, 0, 10, 10), 0, 0, 255);
    image->SetBitmap(std::make_unique<wxBitmap>(picture));
    image->SetCenter({50, 50});
    image->SetSize({20, 10});
    return image;
}

TEST(ImagePaintTest, UnrotatedAndScaled) {
    auto image = SplitImage();
    CCanvas canvas(100, 100);
    canvas.Paint(*image);
    EXPECT_EQ(canvas.Pixel(40, 45), kRed);
    EXPECT_EQ(canvas.Pixel(49, 54), kRed);
    EXPECT_EQ(canvas.Pixel(50, 50), kBlue);
    EXPECT_EQ(canvas.Pixel(39, 50), kWhite);
    EXPECT_EQ(canvas.Pixel(50, 55), kWhite);
    EXPECT_EQ(image->GetPreparedCount(), 1u);

    CCanvas big(200, 200);
    wxAffineMatrix2D twice;
    twice.Scale(2, 2);
    big.Paint(*image, twice);
    EXPECT_EQ(big.Pixel(81, 100), kRed);
    EXPECT_EQ(big.Pixel(118, 100), kBlue);
    EXPECT_EQ(big.Pixel(100 + 21, 100), kWhite);
    EXPECT_EQ(image->GetPreparedCount(), 2u);
    image->SetRotation(90);
    EXPECT_EQ(image->GetPreparedCount(), 0u);
}

TEST(ImagePaintTest, QuarterTurns) {
    struct Case {
        double rotation;
        wxPoint red, blue;
    };
    // The turned picture is 10 x 20 (or 20 x 10) around the centre.
    const Case cases[] = {{90, {50, 42}, {50, 57}},
                          {-90, {50, 57}, {50, 42}},
                          {180, {57, 50}, {42, 50}},
                          {270, {50, 57}, {50, 42}}};
    for (const Case& c : cases) {
        auto image = SplitImage();
        image->SetRotation(c.rotation);
        CCanvas canvas(100, 100);
        canvas.Paint(*image);
        EXPECT_EQ(canvas.Pixel(c.red.x, c.red.y), kRed) << c.rotation;
        EXPECT_EQ(canvas.Pixel(c.blue.x, c.blue.y), kBlue) << c.rotation;
        if (c.rotation != 180) {
            EXPECT_EQ(canvas.Pixel(42, 50), kWhite) << c.rotation;   // outside the turned width
            EXPECT_EQ(canvas.Pixel(50, 41), c.rotation == 90 ? kRed : kBlue) << c.rotation;
        }
    }
}

TEST(ImagePaintTest, FreeRotationTurnsClockwiseAndLeavesCornersClear) {
    auto image = SplitImage();
    image->SetRotation(45);
    CCanvas canvas(100, 100);
    canvas.Paint(*image);
    EXPECT_TRUE(testsupport::Near(canvas.Pixel(46, 46), kRed, 30)) << canvas.Pixel(46, 46);
    EXPECT_TRUE(testsupport::Near(canvas.Pixel(54, 54), kBlue, 30)) << canvas.Pixel(54, 54);
    EXPECT_EQ(canvas.Pixel(41, 41), kWhite);
    EXPECT_EQ(canvas.Pixel(58, 42), kWhite);
}

TEST(ImagePaintTest, MirroredThenTurned) {
    // The picture flips within the element and the element turns: red left becomes red right,
    // which a quarter turn brings to the bottom.
    auto image = SplitImage();
    image->SetMirror(0, true);
    image->SetRotation(90);
    CCanvas canvas(100, 100);
    canvas.Paint(*image);
    EXPECT_EQ(canvas.Pixel(50, 42), kBlue);
    EXPECT_EQ(canvas.Pixel(50, 57), kRed);
}

TEST(ImagePaintTest, HugeElementsAreNotPainted) {
    auto image = SplitImage();
    image->SetSize({2e6, 2e6});
    CCanvas canvas(100, 100);
    canvas.Paint(*image);  // no allocation of terabytes, no crash
    EXPECT_EQ(canvas.Pixel(50, 50), kWhite);
}

TEST(NinePatchTest, HugeDestinationsAreSkipped) {
    wxImage picture(4, 4);
    picture.SetRGB(wxRect(0, 0, 4, 4), 255, 0, 0);
    wxImage image(50, 50);
    image.SetRGB(wxRect(0, 0, 50, 50), 255, 255, 255);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        auto painter = tarn::New<CImagePainterContext>(*context);
        // Stretching a picture to a million pixels a side must not allocate terabytes.
        painter->DrawNinePatch(graphics::CDRect{0, 0, 1e6, 1e6}, wxBitmap(picture), 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(At(image, 10, 10), kWhite);
}

// Positions and margins come from content: cuts far beyond any screen, such as a right
// margin of minus a thousand million on an element as far out, must not overflow.
TEST(NinePatchTest, CutsFarOutsideAreSkipped) {
    wxImage picture(4, 4);
    picture.SetRGB(wxRect(0, 0, 4, 4), 255, 0, 0);
    for (const double scale : {1.0, 1.6}) {
        for (const int edges :
             {CImagePainterContext::kEdgeStretched, CImagePainterContext::kEdgeTiled}) {
            wxImage image(50, 50);
            image.SetRGB(wxRect(0, 0, 50, 50), 255, 255, 255);
            {
                std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
                context->Scale(scale, scale);
                auto painter = tarn::New<CImagePainterContext>(*context);
                painter->SetEdgeMode(edges);
                painter->DrawNinePatch(graphics::CDRect{2e9, 2e9, 2e9, 2e9}, wxBitmap(picture),
                                       -2e9, -2e9, -2e9, -2e9, 0);
                painter->DrawNinePatch(graphics::CDRect{-2e9, -2e9, 1, 1}, wxBitmap(picture), 2e9,
                                       2e9, 2e9, 2e9, 0);
            }
            EXPECT_EQ(At(image, 10, 10), kWhite) << scale << " " << edges;
        }
    }
}

TEST(ImagePaintTest, GreyWhenNotColouredAndMirroring) {
    auto image = SplitImage();
    image->SetColoured(false);
    CCanvas grey(100, 100);
    grey.Paint(*image);
    const wxColour left = grey.Pixel(42, 50), right = grey.Pixel(57, 50);
    EXPECT_EQ(left.Red(), left.Green());
    EXPECT_EQ(left.Green(), left.Blue());
    EXPECT_NEAR(left.Red(), 76, 2);
    EXPECT_NEAR(right.Red(), 29, 2);

    image = SplitImage();
    image->SetMirror(0, true);
    CCanvas mirrored(100, 100);
    mirrored.Paint(*image);
    EXPECT_EQ(mirrored.Pixel(42, 50), kBlue);
    EXPECT_EQ(mirrored.Pixel(57, 50), kRed);

    image = SplitImage();
    wxImage picture(20, 10);
    picture.SetRGB(wxRect(0, 0, 20, 5), 255, 0, 0);
    picture.SetRGB(wxRect(0, 5, 20, 5), 0, 0, 255);
    image->SetBitmap(std::make_unique<wxBitmap>(picture));
    image->SetMirror(1, true);
    CCanvas flipped(100, 100);
    flipped.Paint(*image);
    EXPECT_EQ(flipped.Pixel(50, 46), kBlue);
    EXPECT_EQ(flipped.Pixel(50, 53), kRed);
}

TEST(ImagePaintTest, ScaleMarginsKeepTheBorder) {
    auto image = SplitImage();
    wxColour c[3][3];
    image->SetBitmap(std::make_unique<wxBitmap>(NinePartBitmap(c)));
    image->SetScaleMargins({2, 2, 2, 2, 0, 0, 0, 0});
    image->SetSize({30, 20});  // (35, 40) to (65, 60)
    CCanvas canvas(100, 100);
    canvas.Paint(*image);
    EXPECT_EQ(canvas.Pixel(36, 41), c[0][0]);
    EXPECT_EQ(canvas.Pixel(37, 40), c[0][1]);
    EXPECT_EQ(canvas.Pixel(64, 59), c[2][2]);
    EXPECT_EQ(canvas.Pixel(50, 50), c[1][1]);
}

TEST(ImagePaintTest, NoScaleAndMissingBitmap) {
    auto image = SplitImage();
    image->SetSize({40, 40});  // top-left (30, 30)
    image->SetNoScale(true);
    CCanvas canvas(100, 100);
    canvas.Paint(*image);
    EXPECT_EQ(canvas.Pixel(31, 31), kRed);
    EXPECT_EQ(canvas.Pixel(45, 35), kBlue);
    EXPECT_EQ(canvas.Pixel(31, 45), kWhite);

    auto empty = tarn::Cast<CGraphicImage>(graphics::NewInstance(graphics::GRAPHIC_IMAGE));
    empty->SetCenter({50, 50});
    empty->SetSize({40, 40});
    CCanvas player(100, 100);
    player.Paint(*empty);
    EXPECT_EQ(player.Pixel(30, 50), kWhite);
    CCanvas editor(100, 100);
    editor.Paint(*empty, {}, graphics::CPaintMatrixDC::kModeEdit);
    EXPECT_EQ(editor.Pixel(30, 50), wxColour(0, 0, 0));
}

}  // namespace
