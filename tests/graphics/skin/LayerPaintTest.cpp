#include <gtest/gtest.h>

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "SkinTestSupport.h"
#include "graphics/skin/AnimationLayer.h"
#include "graphics/skin/CustomLayer.h"
#include "graphics/skin/Skin.h"
#include "graphics/skin/TextLayer.h"

namespace {

using graphics::CDRect;
using namespace graphics::skin;
using skintest::At;
using skintest::PaintLayer;
using testsupport::MakeBitmap;

const wxColour kRed(255, 0, 0), kWhite(255, 255, 255), kBlue(0, 0, 255);

bool IsRed(const wxColour& c) { return c.Red() > 150 && c.Green() < 100 && c.Blue() < 100; }
bool IsDark(const wxColour& c) { return c.Red() < 128 && c.Green() < 128 && c.Blue() < 128; }

tarn::P<CAnimationLayer> RedLayer(int width, int height) {
    auto layer = tarn::New<CAnimationLayer>();
    const wxBitmap bitmap = MakeBitmap(width, height, kRed);
    layer->SetBitmap(&bitmap);
    return layer;
}

TEST(LayerGeometryTest, MarginFactorsShareTheSpaceThePixelMarginsLeave) {
    auto layer = RedLayer(10, 10);
    CLayerMargins margins{};
    margins[kMarginTop] = 10;
    margins[kMarginBottom] = 10;
    margins[kMarginTopFactor] = 0.5;
    margins[kMarginBottomFactor] = 0.5;
    layer->SetContentMargins(margins);
    const CDRect content = layer->ContentRect({0, 0, 100, 100});
    EXPECT_DOUBLE_EQ(content.y, 50);  // 10 + 40
    EXPECT_DOUBLE_EQ(content.height, 0);
    EXPECT_DOUBLE_EQ(content.width, 100);
    const wxImage image = PaintLayer(*layer, {0, 0, 100, 100}, {});
    EXPECT_EQ(skintest::CountOf(image, IsRed), 0);

    margins[kMarginTopFactor] = 0.25;
    margins[kMarginBottomFactor] = 0.25;
    margins[kMarginLeft] = 5;
    layer->SetContentMargins(margins);
    const wxImage quarter = PaintLayer(*layer, {0, 0, 100, 100}, {});
    EXPECT_EQ(At(quarter, 50, 29), kWhite);
    EXPECT_EQ(At(quarter, 50, 30), kRed);  // 10 + 0.25 * 80
    EXPECT_EQ(At(quarter, 50, 69), kRed);
    EXPECT_EQ(At(quarter, 50, 70), kWhite);
    EXPECT_EQ(At(quarter, 4, 50), kWhite);
    EXPECT_EQ(At(quarter, 5, 50), kRed);
}

TEST(LayerGeometryTest, AlignmentPlacesUnscaledPicturesInTheFreeSpace) {
    auto layer = RedLayer(20, 20);
    layer->SetScaling(false, false);
    layer->SetAlignment(1.0, 0.5);
    const wxImage image = PaintLayer(*layer, {5, 0, 100, 100}, {}, 120, 100);
    EXPECT_EQ(At(image, 84, 50), kWhite);
    EXPECT_EQ(At(image, 85, 50), kRed);  // x + 80
    EXPECT_EQ(At(image, 104, 50), kRed);
    EXPECT_EQ(At(image, 105, 50), kWhite);
    EXPECT_EQ(At(image, 90, 39), kWhite);
    EXPECT_EQ(At(image, 90, 40), kRed);
    EXPECT_EQ(At(image, 90, 59), kRed);
    EXPECT_EQ(At(image, 90, 60), kWhite);
}

TEST(LayerGeometryTest, ProportionalScalingKeepsTheAspectRatio) {
    auto layer = RedLayer(20, 10);
    layer->SetScaling(true, true);
    layer->SetAlignment(0.5, 0.5);
    const wxImage image = PaintLayer(*layer, {0, 0, 100, 100}, {});
    EXPECT_EQ(At(image, 50, 24), kWhite);
    EXPECT_EQ(At(image, 50, 25), kRed);
    EXPECT_EQ(At(image, 0, 50), kRed);
    EXPECT_EQ(At(image, 99, 74), kRed);
    EXPECT_EQ(At(image, 50, 75), kWhite);

    layer->SetScaling(true, false);  // stretched over the whole content
    const wxImage stretched = PaintLayer(*layer, {0, 0, 100, 100}, {});
    EXPECT_EQ(At(stretched, 50, 2), kRed);
    EXPECT_EQ(At(stretched, 50, 97), kRed);
}

class CPicture : public tarn::CObject, public virtual IAnimationSource {
public:
    explicit CPicture(wxBitmap bitmap) : m_bitmap(std::move(bitmap)) {}
    const wxBitmap* GetPicture(const std::wstring&) const override { return &m_bitmap; }

private:
    wxBitmap m_bitmap;
};

TEST(LayerPictureTest, OwnBitmapThenSourceThenNamedPicture) {
    auto layer = tarn::New<CAnimationLayer>();
    layer->SetProperty(L"icon");
    layer->SetNamedPicture(L"icon", MakeBitmap(4, 4, kBlue));
    auto source = tarn::New<CPicture>(MakeBitmap(4, 4, wxColour(0, 255, 0)));
    EXPECT_EQ(At(PaintLayer(*layer, {0, 0, 10, 10}, {}), 5, 5), kBlue);
    EXPECT_EQ(At(PaintLayer(*layer, {0, 0, 10, 10}, {nullptr, source.Get(), nullptr}), 5, 5),
              wxColour(0, 255, 0));
    const wxBitmap own = MakeBitmap(4, 4, kRed);
    layer->SetBitmap(&own);
    EXPECT_EQ(At(PaintLayer(*layer, {0, 0, 10, 10}, {nullptr, source.Get(), nullptr}), 5, 5),
              kRed);
}

TEST(LayerPictureTest, MaskedPixelsStayTransparent) {
    wxImage picture(10, 10);
    picture.SetRGB(wxRect(0, 0, 10, 10), 255, 0, 0);
    picture.SetRGB(wxRect(5, 0, 5, 10), 0, 255, 255);
    picture.SetMaskColour(0, 255, 255);
    const wxBitmap bitmap(picture);
    ASSERT_NE(bitmap.GetMask(), nullptr);
    auto layer = tarn::New<CAnimationLayer>();
    layer->SetBitmap(&bitmap);
    const wxImage image = PaintLayer(*layer, {0, 0, 10, 10}, {}, 10, 10);
    EXPECT_EQ(At(image, 2, 5), kRed);
    EXPECT_EQ(At(image, 7, 5), kWhite);
}

// ---- Nine parts at scales that put the slice edges between device pixels ----

// The layer painted into a black picture through a context that maps document units to
// device pixels as the view does: scaled, then shifted (full screen centres the page).
wxImage PaintScaled(CLayer& layer, const CDRect& target, double scale, double shiftX,
                    double shiftY) {
    const int width = static_cast<int>(std::ceil(shiftX + (target.x + target.width) * scale)) + 4;
    const int height = static_cast<int>(std::ceil(shiftY + (target.y + target.height) * scale)) + 4;
    wxImage image(width, height);  // black
    wxBitmap scratch(1, 1);
    wxMemoryDC measuring(scratch);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        context->Translate(shiftX, shiftY);
        context->Scale(scale, scale);
        graphics::CPaintMatrixDC dc(measuring, wxAffineMatrix2D());
        dc.SetZoomMode(graphics::EZoomMode::Fixed);
        dc.SetGraphicsContext(context.get());
        layer.Paint(dc, target, {});
    }
    return image;
}

// The device pixels wholly inside the target, less one at each side.
wxRect Inside(const CDRect& target, double scale, double shiftX, double shiftY) {
    const int left = static_cast<int>(std::ceil(shiftX + target.x * scale)) + 1;
    const int top = static_cast<int>(std::ceil(shiftY + target.y * scale)) + 1;
    const int right = static_cast<int>(std::floor(shiftX + (target.x + target.width) * scale)) - 2;
    const int bottom =
        static_cast<int>(std::floor(shiftY + (target.y + target.height) * scale)) - 2;
    return wxRect(wxPoint(left, top), wxPoint(right, bottom));
}

tarn::P<CAnimationLayer> NinePartLayer(const wxImage& picture, int margin) {
    auto layer = tarn::New<CAnimationLayer>();
    const wxBitmap bitmap(picture);
    layer->SetBitmap(&bitmap);
    CLayerMargins margins{};
    margins[kMarginLeft] = margins[kMarginTop] = margins[kMarginRight] = margins[kMarginBottom] =
        margin;
    layer->SetScaleMargins(margins);
    return layer;
}

struct CScale {
    double scale, shiftX, shiftY;
};
// Desktop factors, and full screen: 800 x 600 on 1366 x 768 (1.28, centred 171 pixels in),
// on 1920 x 1080 (1.8), and a page placed at a fraction of a pixel.
const CScale kScales[] = {{1.25, 0, 0},   {1.5, 0, 0},   {1.6, 0, 0},       {2, 0, 0},
                          {1.28, 171, 0}, {1.8, 240, 0}, {1.7075, 0.4, 0.6}};
const CDRect kNinePartTarget{10, 10, 180, 60};

TEST(NinePartScaleTest, AFlatPictureStaysFlatAcrossTheSliceEdges) {
    wxImage flat(30, 30);
    flat.SetRGB(wxRect(0, 0, 30, 30), 200, 120, 40);
    auto layer = NinePartLayer(flat, 7);
    for (const CScale& s : kScales) {
        const wxImage image = PaintScaled(*layer, kNinePartTarget, s.scale, s.shiftX, s.shiftY);
        const wxRect inside = Inside(kNinePartTarget, s.scale, s.shiftX, s.shiftY);
        int worst = 0;
        wxPoint at;
        for (int y = inside.y; y <= inside.GetBottom(); ++y) {
            for (int x = inside.x; x <= inside.GetRight(); ++x) {
                const int off = std::max({std::abs(image.GetRed(x, y) - 200),
                                          std::abs(image.GetGreen(x, y) - 120),
                                          std::abs(image.GetBlue(x, y) - 40)});
                if (off > worst) {
                    worst = off;
                    at = {x, y};
                }
            }
        }
        EXPECT_LE(worst, 2) << "scale " << s.scale << ": " << At(image, at.x, at.y) << " at "
                            << at.x << "," << at.y;
    }
}

class TextLayerTest : public testing::Test {
protected:
    TextLayerTest() {
        layer->SetFont(wxFont(20, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
        layer->SetColours(*wxBLACK, kRed, *wxBLACK);
        layer->SetAlignment(0.5, 0.5);
    }
    wxImage Paint() { return PaintLayer(*layer, {0, 0, 100, 60}, {text.Get()}, 100, 60); }

    tarn::P<CTextLayer> layer = tarn::New<CTextLayer>();
    tarn::P<skintest::CText> text = tarn::New<skintest::CText>(L"HH");
};

TEST_F(TextLayerTest, ShadowOnlyForAPositiveOffset) {
    layer->SetShadowOffset({-2, -2});
    EXPECT_EQ(skintest::CountOf(Paint(), IsRed), 0);
    layer->SetShadowOffset({-2, 1});
    const wxImage shadowed = Paint();
    layer->SetShadowOffset({0, 0});
    const wxRect text = skintest::BoxOf(Paint(), IsDark);
    const wxRect shadow = skintest::BoxOf(shadowed, IsRed);
    ASSERT_GT(shadow.width, 0);
    // Edges are smoothed, so allow a pixel either way.
    EXPECT_NEAR(shadow.x, text.x - 2, 1);
    EXPECT_NEAR(shadow.GetBottom(), text.GetBottom() + 1, 1);
    EXPECT_NEAR(shadow.GetRight(), text.GetRight() - 2, 1);
}

TEST_F(TextLayerTest, HaloInTheTextColourThickensByOnePixel) {
    const wxRect plain = skintest::BoxOf(Paint(), IsDark);
    layer->SetHalo(true);
    const wxRect halo = skintest::BoxOf(Paint(), IsDark);
    ASSERT_GT(plain.width, 0);
    EXPECT_EQ(halo.x, plain.x - 1);
    EXPECT_EQ(halo.y, plain.y - 1);
    EXPECT_EQ(halo.GetRight(), plain.GetRight() + 1);
    EXPECT_EQ(halo.GetBottom(), plain.GetBottom() + 1);
}

TEST_F(TextLayerTest, NothingWithoutTextSourceAndClippedToTheContent) {
    EXPECT_EQ(skintest::CountOf(PaintLayer(*layer, {0, 0, 100, 60}, {}, 100, 60), IsDark), 0);
    text = tarn::New<skintest::CText>(L"HHHHHHHHHHHHHHHH");
    CLayerMargins margins{};
    margins[kMarginLeft] = 20;
    margins[kMarginRight] = 20;
    layer->SetContentMargins(margins);
    const wxRect box = skintest::BoxOf(Paint(), IsDark);
    EXPECT_GE(box.x, 20);
    EXPECT_LE(box.GetRight(), 79);
}

TEST_F(TextLayerTest, MultiLineWrapsToTheContentWidth) {
    text = tarn::New<skintest::CText>(L"word word word word");
    const wxRect single = skintest::BoxOf(Paint(), IsDark);
    layer->SetMultiLine(true);
    layer->SetAlignment(0, 0);
    const wxRect wrapped = skintest::BoxOf(Paint(), IsDark);
    EXPECT_GT(wrapped.height, single.height * 2);
    EXPECT_LE(wrapped.GetRight(), 99);

    wxBitmap scratch(1, 1);
    wxMemoryDC measuring(scratch);
    graphics::CPaintMatrixDC dc(measuring, wxAffineMatrix2D());
    const COwnerSources sources{text.Get()};
    const graphics::CDSize oneLine = layer->GetMinSize(dc, sources);
    const graphics::CDSize narrow = layer->GetSizeForWidth(dc, sources, 80);
    EXPECT_GT(narrow.height, oneLine.height * 2);
    EXPECT_LT(narrow.width, oneLine.width);
}

TEST(CustomLayerTest, ContentIsClippedToTheShapeMask) {
    // The shape: opaque left half, transparent right half.
    wxImage half(10, 10);
    half.SetRGB(wxRect(0, 0, 10, 10), 0, 0, 0);
    half.InitAlpha();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) half.SetAlpha(x, y, x < 5 ? 255 : 0);
    }
    auto outline = tarn::New<CAnimationLayer>();
    const wxBitmap halfBitmap(half, 32);
    outline->SetBitmap(&halfBitmap);
    auto shape = tarn::New<CShapeSkin>();
    shape->FindState(L"normal")->AddLayer(outline);

    auto layer = tarn::New<CCustomLayer>();
    layer->SetId(L"map");
    layer->SetShape(shape);
    auto fill = tarn::New<skintest::CFill>(kBlue);
    const wxImage image = PaintLayer(*layer, {0, 0, 100, 100}, {nullptr, nullptr, fill.Get()});
    EXPECT_EQ(fill->lastId, L"map");
    // The 10-pixel shape is scaled up smoothly: look away from its edge.
    EXPECT_TRUE(testsupport::Near(At(image, 10, 50), kBlue)) << At(image, 10, 50);
    EXPECT_TRUE(testsupport::Near(At(image, 35, 10), kBlue)) << At(image, 35, 10);
    EXPECT_EQ(At(image, 65, 50), kWhite);
    EXPECT_EQ(At(image, 90, 90), kWhite);

    layer->SetShape(nullptr);  // unclipped
    const wxImage whole = PaintLayer(*layer, {0, 0, 100, 100}, {nullptr, nullptr, fill.Get()});
    EXPECT_TRUE(testsupport::Near(At(whole, 90, 90), kBlue)) << At(whole, 90, 90);
}

TEST(CustomLayerTest, ShapeNestingItselfEndsWithoutOverflow) {
    auto shape = tarn::New<CShapeSkin>();
    auto inner = tarn::New<CCustomLayer>();
    inner->SetShape(shape);
    shape->FindState(L"normal")->AddLayer(inner);
    auto layer = tarn::New<CCustomLayer>();
    layer->SetShape(shape);
    auto fill = tarn::New<skintest::CFill>(kBlue);
    PaintLayer(*layer, {0, 0, 20, 20}, {nullptr, nullptr, fill.Get()}, 20, 20);
    shape->FindState(L"normal")->ClearLayers();  // break the cycle so both are freed
}

}  // namespace
