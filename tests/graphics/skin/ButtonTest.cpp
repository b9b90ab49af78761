#include <gtest/gtest.h>

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
    for (int zoomMode : {1, 0}) {
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
            << "zoom mode " << zoomMode << skintest::At(image, 12, 12);
        EXPECT_EQ(skintest::At(image, 5, 5), *wxWHITE);
        // The label is drawn in white over the picture (zoom mode 0 measures the target
        // in millimetres, where this text is too small to see at one pixel per unit).
        if (zoomMode != 1) continue;
        const wxImage inside = image.GetSubImage(wxRect(11, 11, 58, 18));
        EXPECT_GT(skintest::CountOf(inside, [](const wxColour& c) { return c.Red() > 180; }), 5)
            << "zoom mode " << zoomMode;
    }
    const wxImage hovered = PaintButton(*button, true, false);
    EXPECT_EQ(skintest::At(hovered, 14, 13), kRed);  // no "hover" layers: plain look
}

}  // namespace
