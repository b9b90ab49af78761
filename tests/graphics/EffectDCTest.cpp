#include "graphics/EffectDC.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

using graphics::CEffectRules;
using graphics::TEffectDC;
using testsupport::CCanvas;

TEST(EffectRulesTest, GreyUsesTheWeightsAndRounds) {
    EXPECT_EQ(CEffectRules::Grey(wxColour(255, 0, 0)), wxColour(76, 76, 76));
    EXPECT_EQ(CEffectRules::Grey(wxColour(10, 200, 30)), wxColour(124, 124, 124));
    EXPECT_EQ(CEffectRules::Grey(wxColour(255, 255, 255, 10)), wxColour(255, 255, 255, 255));
}

TEST(EffectDCTest, GreyscaleAndWhiteModeKeepStyles) {
    CCanvas canvas(20, 20);
    TEffectDC<wxMemoryDC> effect(canvas.GetDC());
    ASSERT_TRUE(effect.IsOk());
    effect.SetGreyscale(true);
    effect.SetBrush(wxBrush(wxColour(255, 0, 0), wxBRUSHSTYLE_CROSS_HATCH));
    EXPECT_EQ(effect.GetCurrentBrush().GetColour(), wxColour(76, 76, 76));
    EXPECT_EQ(effect.GetCurrentBrush().GetStyle(), wxBRUSHSTYLE_CROSS_HATCH);
    effect.SetPen(wxPen(wxColour(10, 200, 30), 3, wxPENSTYLE_DOT));
    EXPECT_EQ(effect.GetCurrentPen().GetColour(), wxColour(124, 124, 124));
    EXPECT_EQ(effect.GetCurrentPen().GetWidth(), 3);
    effect.SetTextForeground(wxColour(255, 0, 0));
    EXPECT_EQ(effect.GetTextForeground(), wxColour(76, 76, 76));

    effect.SetWhiteMode(true);
    EXPECT_TRUE(effect.IsWhiteMode());
    EXPECT_EQ(effect.GetCurrentBrush().GetColour(), wxColour(255, 255, 255, 255));
    EXPECT_EQ(effect.GetCurrentPen().GetWidth(), 1);
    EXPECT_EQ(effect.GetTextForeground(), wxColour(255, 255, 255, 255));
    effect.SetPen(wxPen(wxColour(0, 0, 255), 5, wxPENSTYLE_SHORT_DASH));
    EXPECT_EQ(effect.GetCurrentPen().GetColour(), wxColour(255, 255, 255));
    EXPECT_EQ(effect.GetCurrentPen().GetWidth(), 5);
    EXPECT_EQ(effect.GetCurrentPen().GetStyle(), wxPENSTYLE_SHORT_DASH);
}

TEST(EffectDCTest, LocksIgnoreLaterBrushesAndPens) {
    CCanvas canvas(20, 20);
    TEffectDC<wxMemoryDC> effect(canvas.GetDC());
    effect.LockBrush(true, wxBrush(wxColour(0, 0, 255)));
    EXPECT_TRUE(effect.IsBrushLocked());
    effect.SetBrush(wxBrush(wxColour(255, 0, 0)));
    EXPECT_EQ(effect.GetCurrentBrush().GetColour(), wxColour(0, 0, 255));
    effect.LockBrush(false, wxNullBrush);
    effect.SetBrush(wxBrush(wxColour(255, 0, 0)));
    EXPECT_EQ(effect.GetCurrentBrush().GetColour(), wxColour(255, 0, 0));

    effect.LockPen(true, wxPen(wxColour(0, 255, 0), 2));
    effect.SetPen(wxPen(wxColour(255, 0, 0), 7));
    EXPECT_EQ(effect.GetCurrentPen().GetColour(), wxColour(0, 255, 0));
    EXPECT_EQ(effect.GetCurrentPen().GetWidth(), 2);
    // A locked brush also survives white mode.
    effect.SetWhiteMode(true);
    EXPECT_EQ(effect.GetCurrentBrush().GetColour(), wxColour(255, 255, 255));
    EXPECT_EQ(effect.GetCurrentPen().GetColour(), wxColour(0, 255, 0));
}

TEST(EffectDCTest, DrawingPassesTheEffectsToThePixels) {
    CCanvas canvas(30, 30);
    {
        TEffectDC<wxMemoryDC> effect(canvas.GetDC());
        effect.SetGreyscale(true);
        effect.SetPen(*wxTRANSPARENT_PEN);
        effect.SetBrush(wxBrush(wxColour(255, 0, 0)));
        effect.DrawRectangle(5, 5, 20, 20);
    }
    EXPECT_TRUE(testsupport::Near(canvas.Pixel(15, 15), wxColour(76, 76, 76), 2))
        << canvas.Pixel(15, 15);
    EXPECT_EQ(canvas.Pixel(2, 2), wxColour(255, 255, 255));
}

}  // namespace
