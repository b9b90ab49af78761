#include <gtest/gtest.h>

#include "Environment.h"
#include "TestSupport.h"
#include "graphics/FreeFormManager.h"
#include "graphics/GraphicCircle.h"
#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicLine.h"
#include "graphics/GraphicMirror.h"
#include "graphics/GraphicPaper.h"
#include "graphics/GraphicRectangle.h"
#include "graphics/GraphicShape.h"

namespace {

using namespace graphics;
using testsupport::CCanvas;
using testsupport::Near;

const wxColour kRed(255, 0, 0), kWhite(255, 255, 255), kBlack(0, 0, 0);

tarn::P<CGraphicShape> RedShape(int type, CDPoint centre, CDSize size) {
    auto shape = tarn::Cast<CGraphicShape>(NewInstance(GRAPHIC_SHAPE));
    shape->SetShapeType(type);
    shape->SetCenter(centre);
    shape->SetSize(size);
    shape->SetBrush(wxBrush(kRed));
    shape->SetPen(*wxTRANSPARENT_PEN);
    return shape;
}

TEST(ShapePaintTest, RoundedRectangleRadiusIsClamped) {
    EXPECT_EQ(CGraphicShape::ClampCornerRadius(50, 100, 40), 20);
    EXPECT_EQ(CGraphicShape::ClampCornerRadius(5, 100, 40), 5);
    auto shape = RedShape(SHAPE_ROUNDED_RECTANGLE, {60, 30}, {100, 40});  // (10,10)-(110,50)
    shape->SetCornerRadius(50);
    CCanvas canvas(120, 60);
    canvas.Paint(*shape);
    EXPECT_TRUE(Near(canvas.Pixel(11, 30), kRed, 40)) << canvas.Pixel(11, 30);
    EXPECT_EQ(canvas.Pixel(13, 13), kWhite);
    EXPECT_EQ(canvas.Pixel(60, 11), kRed);
    EXPECT_EQ(canvas.Pixel(60, 30), kRed);
}

TEST(ShapePaintTest, TrapezeFillsTheElement) {
    auto shape = RedShape(SHAPE_FREE_FORM, {60, 35}, {100, 50});  // (10,10)-(110,60)
    shape->SetFreeForm(CFreeFormManager::Get()->Find(L"freeform.trapeze"));
    CCanvas canvas(120, 70);
    canvas.Paint(*shape);
    EXPECT_EQ(canvas.Pixel(12, 12), kWhite);
    EXPECT_EQ(canvas.Pixel(108, 12), kWhite);
    EXPECT_EQ(canvas.Pixel(60, 11), kRed);
    EXPECT_EQ(canvas.Pixel(11, 59), kRed);
    EXPECT_EQ(canvas.Pixel(108, 59), kRed);
    EXPECT_EQ(canvas.Pixel(60, 61), kWhite);

    // The outline's own coordinates do not matter.
    auto star = CFreeFormManager::Get()->Find(L"freeform.star");
    ASSERT_TRUE(star);
    EXPECT_EQ(star->GetDisplayName(), L"Star");
    EXPECT_FALSE(CFreeFormManager::Get()->Find(L"freeform.hexagon"));
    EXPECT_EQ(CFreeFormManager::Get()->GetNames().size(), 4u);
}

TEST(ShapePaintTest, FreeFormHitTestFollowsTheOutline) {
    auto shape = RedShape(SHAPE_FREE_FORM, {60, 35}, {100, 50});
    shape->SetFreeForm(CFreeFormManager::Get()->Find(L"freeform.trapeze"));
    EXPECT_FALSE(shape->Contains(12, 12));
    EXPECT_TRUE(shape->Contains(60, 12));
    auto ellipse = RedShape(SHAPE_ELLIPSE, {50, 50}, {40, 20});
    EXPECT_TRUE(ellipse->Contains(69, 50));
    EXPECT_FALSE(ellipse->Contains(68, 58));
}

TEST(ShapePaintTest, FillsBrushGradientGreyAndNothing) {
    auto shape = RedShape(SHAPE_RECTANGLE, {50, 50}, {60, 20});  // (20,40)-(80,60)
    shape->SetGradient({wxColour(255, 0, 0), wxColour(0, 0, 255), false});
    CCanvas brush(100, 100);
    brush.Paint(*shape);
    EXPECT_EQ(brush.Pixel(21, 50), kRed);
    EXPECT_EQ(brush.Pixel(78, 50), kRed);

    shape->SetGradient({wxColour(255, 0, 0), wxColour(0, 0, 255), true});
    CCanvas gradient(100, 100);
    gradient.Paint(*shape);
    EXPECT_GT(gradient.Pixel(21, 50).Red(), 200);
    EXPECT_GT(gradient.Pixel(78, 50).Blue(), 200);

    shape->SetGradient({});
    shape->SetColoured(false);
    CCanvas grey(100, 100);
    grey.Paint(*shape);
    EXPECT_TRUE(Near(grey.Pixel(50, 50), wxColour(76, 76, 76), 2)) << grey.Pixel(50, 50);

    auto empty = RedShape(SHAPE_FREE_FORM, {50, 50}, {60, 20});
    CCanvas nothing(100, 100);
    nothing.Paint(*empty);
    EXPECT_EQ(nothing.Pixel(50, 50), kWhite);
}

TEST(ShapePaintTest, RotatedShapeTurnsAboutItsCentre) {
    auto shape = RedShape(SHAPE_RECTANGLE, {50, 50}, {60, 10});
    shape->SetRotation(90);
    CCanvas canvas(100, 100);
    canvas.Paint(*shape);
    EXPECT_EQ(canvas.Pixel(50, 25), kRed);
    EXPECT_EQ(canvas.Pixel(25, 50), kWhite);
}

TEST(SimpleKindsPaintTest, RectangleCircleLine) {
    auto rectangle = tarn::Cast<CGraphicRectangle>(NewInstance(GRAPHIC_RECTANGLE));
    rectangle->SetCenter({20, 20});
    rectangle->SetSize({20, 10});
    rectangle->SetBrush(wxBrush(kRed));
    rectangle->SetPen(wxPen(kBlack, 1));
    CCanvas canvas(100, 100);
    canvas.Paint(*rectangle);
    EXPECT_TRUE(Near(canvas.Pixel(10, 15), kBlack, 24)) << canvas.Pixel(10, 15);
    EXPECT_EQ(canvas.Pixel(20, 20), kRed);
    EXPECT_EQ(canvas.Pixel(31, 20), kWhite);

    auto circle = tarn::Cast<CGraphicCircle>(NewInstance(GRAPHIC_CIRCLE));
    circle->SetCenter({70, 70});
    circle->SetSize({20, 2});
    circle->SetBrush(wxBrush(kRed));
    circle->SetPen(wxPen(kRed, 1));
    canvas.Paint(*circle);
    EXPECT_EQ(canvas.Pixel(70, 70), kRed);
    EXPECT_EQ(canvas.Pixel(70, 78), kRed);  // the height is ignored
    EXPECT_EQ(canvas.Pixel(70, 82), kWhite);

    auto line = tarn::Cast<CGraphicLine>(NewInstance(GRAPHIC_LINE));
    line->SetPoints({5, 90}, {40, 90});
    line->SetPen(wxPen(kRed, 1));
    canvas.Paint(*line);
    EXPECT_TRUE(Near(canvas.Pixel(20, 90), kRed, 60)) << canvas.Pixel(20, 90);
    EXPECT_EQ(canvas.Pixel(20, 93), kWhite);
}

TEST(MirrorTest, FadeCapsEachRow) {
    wxImage image(2, 10);
    image.InitAlpha();
    for (int y = 0; y < 10; ++y) {
        image.SetAlpha(0, y, 50);
        image.SetAlpha(1, y, 255);
    }
    CGraphicMirror::Fade(image);
    EXPECT_EQ(image.GetAlpha(0, 0), 50);
    EXPECT_EQ(image.GetAlpha(1, 0), 100);
    EXPECT_EQ(image.GetAlpha(1, 5), 50);
    EXPECT_EQ(image.GetAlpha(0, 6), 40);
    EXPECT_EQ(image.GetAlpha(1, 9), 10);
    wxImage none(3, 0);
    CGraphicMirror::Fade(none);  // nothing to fade, no division by zero
}

tarn::P<CGraphicMirror> MirrorOfRedTop() {
    auto mirror = tarn::Cast<CGraphicMirror>(NewInstance(GRAPHIC_MIRROR));
    mirror->SetCenter({50, 50});
    mirror->SetSize({40, 40});  // (30,30)-(70,70)
    auto document = tarn::New<CGraphicDocument>();
    auto rectangle = tarn::Cast<CGraphicRectangle>(NewInstance(GRAPHIC_RECTANGLE));
    rectangle->SetCenter({50, 40});
    rectangle->SetSize({40, 20});  // the upper half
    rectangle->SetBrush(wxBrush(kRed));
    rectangle->SetPen(wxPen(kRed));
    document->Add(rectangle);
    mirror->SetDocument(document);
    return mirror;
}

TEST(MirrorTest, PaintsTheDocumentUpsideDownAndFading) {
    auto mirror = MirrorOfRedTop();
    CCanvas canvas(100, 100);
    canvas.Paint(*mirror);
    EXPECT_EQ(canvas.Pixel(50, 35), kWhite);
    EXPECT_EQ(canvas.Pixel(50, 48), kWhite);
    // Reflection row 22 (y = 52) may be at most 45 of 255 opaque.
    const wxColour faded = canvas.Pixel(50, 52);
    EXPECT_EQ(faded.Red(), 255);
    EXPECT_NEAR(faded.Green(), 255 - 45, 6) << faded;
    const wxColour fainter = canvas.Pixel(50, 68);
    EXPECT_GT(fainter.Green(), faded.Green());
}

constexpr const char* kWineEdges =
    "Wine's GDI+ puts one-pixel edges a pixel away from where this expects them";

TEST(MirrorTest, DegenerateAndEmptyMirrors) {
    if (testsupport::RunsUnderWine()) GTEST_SKIP() << kWineEdges;
    auto flat = MirrorOfRedTop();
    flat->SetSize({40, 0});
    CCanvas canvas(100, 100);
    canvas.Paint(*flat);
    flat->SetSize({40, 0.5});
    canvas.Paint(*flat);
    EXPECT_EQ(canvas.Pixel(50, 50), kWhite);

    auto empty = tarn::Cast<CGraphicMirror>(NewInstance(GRAPHIC_MIRROR));
    empty->SetCenter({50, 50});
    empty->SetSize({40, 40});
    empty->SetDocument(tarn::New<CGraphicDocument>());
    CCanvas player(100, 100);
    player.Paint(*empty);
    EXPECT_EQ(player.Pixel(30, 40), kWhite);
    EXPECT_EQ(player.Pixel(50, 50), kWhite);
    CCanvas editor(100, 100);
    editor.Paint(*empty, {}, CPaintMatrixDC::kModeEdit);
    EXPECT_NE(editor.Pixel(30, 30), kWhite);
    EXPECT_EQ(editor.Pixel(50, 50), kWhite);
}

TEST(PaperTest, ColoursAndShadowEdges) {
    if (testsupport::RunsUnderWine()) GTEST_SKIP() << kWineEdges;
    auto paper = NewInstance(GRAPHIC_PAPER);
    paper->SetCenter({50, 50});
    paper->SetSize({40, 30});  // x 30, y 35, w 40, h 30
    CCanvas canvas(100, 100);
    canvas.Paint(*paper);
    EXPECT_EQ(canvas.Pixel(30, 35), wxColour(100, 100, 100));
    EXPECT_EQ(canvas.Pixel(69, 64), wxColour(100, 100, 100));
    EXPECT_EQ(canvas.Pixel(40, 45), wxColour(240, 240, 240));
    EXPECT_EQ(canvas.Pixel(32, 65), kBlack);
    EXPECT_EQ(canvas.Pixel(70, 65), kBlack);
    EXPECT_EQ(canvas.Pixel(70, 36), kBlack);
    EXPECT_EQ(canvas.Pixel(31, 65), kWhite);
    EXPECT_EQ(canvas.Pixel(70, 35), kWhite);
    EXPECT_EQ(canvas.Pixel(72, 65), kWhite);
}

}  // namespace
