#include <gtest/gtest.h>

#include <cmath>

#include "Environment.h"
#include "SkinTestSupport.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/skin/AnimationLayer.h"
#include "graphics/skin/GraphicSkinButton.h"
#include "graphics/skin/TextLayer.h"

namespace {

using graphics::CGraphicBase;
using graphics::CGraphicStateButton;
using graphics::CPaintMatrixDC;
using graphics::EZoomMode;
using graphics::skin::CGraphicSkinButton;
using testsupport::CCanvas;

const wxColour kGrey(200, 200, 200), kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0);

// Paints a 60 x 20 button at (10, 10) and returns the picture.
wxImage PaintButton(CGraphicStateButton& button, bool hovered, bool pressed,
                    int mode = CPaintMatrixDC::kModeInteractive) {
    button.SetCenter({40, 20});
    button.SetSize({60, 20});
    button.SetFlag(CGraphicBase::kFlagHovered, hovered);
    button.SetFlag(CGraphicBase::kFlagPressed, pressed);
    CCanvas canvas(80, 40);
    canvas.Paint(button, wxAffineMatrix2D(), mode);
    return canvas.Snapshot();
}

int Count(const wxImage& image, const wxColour& colour) {
    return skintest::CountOf(image, [&](const wxColour& c) { return c == colour; });
}

TEST(PlainButtonTest, ColoursFollowHoverAndPressed) {
    struct Case {
        bool hovered, pressed;
        wxColour fill, text;
    };
    for (const Case& c : {Case{false, false, kGrey, *wxBLACK}, Case{true, false, kRed, *wxWHITE},
                          Case{true, true, kBlue, *wxWHITE}, Case{false, true, kGreen, *wxWHITE}}) {
        auto button = tarn::New<CGraphicStateButton>();
        button->SetLabel(L"HHH");
        const wxImage image = PaintButton(*button, c.hovered, c.pressed);
        EXPECT_EQ(skintest::At(image, 14, 13), c.fill) << c.hovered << c.pressed;
        EXPECT_EQ(skintest::At(image, 10, 20), c.pressed || c.hovered ? *wxWHITE : *wxBLACK)
            << "outline";
        EXPECT_GT(Count(image, c.text), 5) << "label";
        EXPECT_EQ(skintest::At(image, 5, 5), *wxWHITE) << "outside";
    }
}

TEST(PlainButtonTest, EditingModesAndEmptyLabel) {
    auto button = tarn::New<CGraphicStateButton>();
    EXPECT_EQ(button->GetLabel(), L"StateButton");
    EXPECT_EQ(button->GetFlags() & 0x630u, 0x630u);
    const wxImage editing = PaintButton(*button, true, true, CPaintMatrixDC::kModeEdit);
    EXPECT_EQ(skintest::At(editing, 14, 13), kGrey);
    const wxImage labelled = PaintButton(*button, false, false);
    button->SetLabel(L"");
    const wxImage empty = PaintButton(*button, false, false);
    EXPECT_LT(Count(empty, *wxBLACK), Count(labelled, *wxBLACK));
    // Only the outline is black: 2 x (60 + 20) less the rounded corners.
    EXPECT_LT(Count(empty, *wxBLACK), 160);
}

TEST(PlainButtonTest, LabelAndHintSurviveXmlAndCopy) {
    auto button = tarn::New<CGraphicStateButton>();
    button->SetLabel(L"Start");
    button->SetHint(L"Starts it");
    auto read = tarn::Cast<CGraphicStateButton>(testsupport::RoundTrip(*button));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetLabel(), L"Start");
    EXPECT_EQ(read->GetHint(), L"Starts it");
    auto copy = tarn::New<CGraphicStateButton>();
    copy->CopyFrom(*button);
    EXPECT_EQ(copy->GetLabel(), L"Start");
}

tarn::P<graphics::skin::CButtonSkin> PictureSkin() {
    auto skin = tarn::New<graphics::skin::CButtonSkin>();
    auto normal = tarn::New<graphics::skin::CAnimationLayer>();
    const wxBitmap blue = testsupport::MakeBitmap(4, 4, kBlue);
    normal->SetBitmap(&blue);
    skin->FindState(L"normal")->AddLayer(normal);
    auto text = tarn::New<graphics::skin::CTextLayer>();
    text->SetProperty(L"ignored");
    text->SetColours(*wxWHITE, *wxBLACK, *wxBLACK);
    text->SetAlignment(0.5, 0.5);
    skin->FindState(L"normal")->AddLayer(text);
    return skin;
}

TEST(SkinButtonPaintTest, SkinnedStateOrPlainLookWhenTheStateIsMissing) {
    if (testsupport::RunsUnderWine()) GTEST_SKIP() << "Wine's GDI+ leaves this small label out";
    auto button = tarn::New<CGraphicSkinButton>();
    button->SetSkin(PictureSkin());
    button->SetLabel(L"HHH");
    for (const EZoomMode zoomMode : {EZoomMode::Fixed, EZoomMode::Fit}) {
        button->SetCenter({40, 20});
        button->SetSize({60, 20});
        button->SetFlag(CGraphicBase::kFlagHovered, false);
        CCanvas canvas(80, 40);
        CPaintMatrixDC dc(canvas.GetDC(), wxAffineMatrix2D());
        dc.SetPaintMode(CPaintMatrixDC::kModeInteractive);
        dc.SetZoomMode(zoomMode);
        button->Paint(dc);
        const wxImage image = canvas.Snapshot();
        EXPECT_TRUE(testsupport::Near(skintest::At(image, 12, 12), kBlue))
            << "zoom mode " << static_cast<int>(zoomMode) << skintest::At(image, 12, 12);
        EXPECT_EQ(skintest::At(image, 5, 5), *wxWHITE);
        // The label is drawn in white over the picture (the fit mode measures the target
        // in millimetres, where this text is too small to see at one pixel per unit).
        if (zoomMode != EZoomMode::Fixed) continue;
        const wxImage inside = image.GetSubImage(wxRect(11, 11, 58, 18));
        EXPECT_GT(skintest::CountOf(inside, [](const wxColour& c) { return c.Red() > 180; }), 5)
            << "zoom mode " << static_cast<int>(zoomMode);
    }
    const wxImage hovered = PaintButton(*button, true, false);
    EXPECT_EQ(skintest::At(hovered, 14, 13), kRed);  // no "hover" layers: plain look
}

// The player's route: the view's scale reaches the skin's layers through the button's paint
// transform, full-screen factors and mirrors included. The picture's left corners and edge
// are red, the rest blue: every pixel is one or the other (a seam would blend in the white
// page), and the red stands where the mirror puts it.
TEST(SkinButtonPaintTest, NinePartsMeetAtDevicePixelsWhenScaledAndMirrored) {
    wxImage picture(30, 30);
    picture.SetRGB(wxRect(0, 0, 30, 30), 40, 60, 200);
    picture.SetRGB(wxRect(0, 0, 7, 30), 200, 40, 40);
    const wxBitmap bitmap(picture);
    auto layer = tarn::New<graphics::skin::CAnimationLayer>();
    layer->SetBitmap(&bitmap);
    graphics::skin::CLayerMargins margins{};
    for (const int side : {graphics::skin::kMarginLeft, graphics::skin::kMarginTop,
                           graphics::skin::kMarginRight, graphics::skin::kMarginBottom}) {
        margins[side] = 7;
    }
    layer->SetScaleMargins(margins);
    auto skin = tarn::New<graphics::skin::CButtonSkin>();
    skin->FindState(L"normal")->AddLayer(layer);
    auto button = tarn::New<CGraphicSkinButton>();
    button->SetSkin(skin);
    button->SetCenter({60, 30});
    button->SetSize({100, 40});  // (10,10)-(110,50)

    const auto red = [](const wxColour& c) { return testsupport::Near(c, {200, 40, 40}, 2); };
    const auto blue = [](const wxColour& c) { return testsupport::Near(c, {40, 60, 200}, 2); };
    for (const double scale : {1.6, 1.28, 2.0}) {
        for (const bool mirrored : {false, true}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << (mirrored ? " mirrored" : ""));
            button->SetMirror(0, mirrored);
            CCanvas canvas(int(120 * scale) + 4, int(60 * scale) + 4);
            wxAffineMatrix2D transform;
            transform.Scale(scale, scale);
            CPaintMatrixDC dc(canvas.GetDC(), transform);
            dc.SetPaintMode(CPaintMatrixDC::kModeInteractive);
            dc.SetZoomMode(graphics::EZoomMode::Fixed);
            button->Paint(dc);
            const wxImage image = canvas.Snapshot();
            const int left = int(std::ceil(10 * scale)) + 1, right = int(110 * scale) - 2;
            const int top = int(std::ceil(10 * scale)) + 1, bottom = int(50 * scale) - 2;
            int reds = 0, firstRed = -1;
            for (int y = top; y <= bottom; ++y) {
                for (int x = left; x <= right; ++x) {
                    const wxColour pixel = skintest::At(image, x, y);
                    ASSERT_TRUE(red(pixel) || blue(pixel)) << pixel << " at " << x << "," << y;
                    if (y != (top + bottom) / 2 || !red(pixel)) continue;
                    ++reds;
                    if (firstRed < 0) firstRed = x;
                }
            }
            // Seven picture pixels wide, less the pixel left out at the edge.
            EXPECT_NEAR(reds, 7 * scale - 1, 1.5);
            EXPECT_EQ(firstRed, mirrored ? right - reds + 1 : left);
        }
    }
}

}  // namespace
