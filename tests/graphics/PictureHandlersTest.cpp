// The program's picture readers: which image handlers are installed, what every way of
// loading a picture through the toolkit reaches, the pixels the toolkit gets, and the
// content file's picture reader with its single warning and its budget.

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/imagtga.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <map>
#include <string>
#include <vector>

#include "PictureBytes.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "graphics/PictureDecoding.h"
#include "graphics/PictureHandlers.h"
#include "graphics/PictureReader.h"
#include "tarn/Object.h"

namespace {

using namespace picturebytes;

// Each installed handler's type and class.
std::map<wxBitmapType, std::string> Installed() {
    std::map<wxBitmapType, std::string> installed;
    for (const wxObject* item : wxImage::GetHandlers()) {
        const auto* handler = static_cast<const wxImageHandler*>(item);
        installed[handler->GetType()] = wxString(tarn::TypeName(typeid(*handler))).ToStdString();
    }
    return installed;
}

const std::map<wxBitmapType, std::string> kOurs{
    {wxBITMAP_TYPE_PNG, "graphics::CBoundedPNGHandler"},
    {wxBITMAP_TYPE_JPEG, "graphics::CBoundedJPEGHandler"},
    {wxBITMAP_TYPE_BMP, "graphics::CPictureHandler"},
    {wxBITMAP_TYPE_ICO, "graphics::CPictureHandler"},
    {wxBITMAP_TYPE_GIF, "graphics::CPictureHandler"},
    {wxBITMAP_TYPE_CUR, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_ANI, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_TIFF, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_PNM, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_PCX, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_IFF, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_TGA, "graphics::CRefusingHandler"},
    {wxBITMAP_TYPE_XPM, "graphics::CRefusingHandler"},
};

// "r,g,b,a" of a pixel (alpha 255 when the image has none).
std::string Pixel(const wxImage& image, int x, int y) {
    return std::to_string(image.GetRed(x, y)) + "," + std::to_string(image.GetGreen(x, y)) + "," +
           std::to_string(image.GetBlue(x, y)) + "," +
           std::to_string(image.HasAlpha() ? image.GetAlpha(x, y) : 255);
}

// A PNG or JPEG written by the toolkit's own writer.
Bytes Saved(const wxImage& image, wxBitmapType type) {
    wxMemoryOutputStream out;
    EXPECT_TRUE(wxImage(image).SaveFile(out, type));
    Bytes bytes(out.GetSize(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

wxImage Decoded(const Bytes& bytes, wxBitmapType type, std::string* error = nullptr) {
    wxImage image;
    std::string reason;
    graphics::DecodePicture(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), type,
                            {}, image, reason);
    if (error) *error = reason;
    return image;
}

// A run-length coded BMP with a pixel its runs skip: the platform's decoder leaves such a
// pixel transparent, the toolkit's own reader would paint it in palette colour 0.
const Bytes kSkipping =
    Bmp(InfoHeader(2, 1, 8, 1, 2), Palette({kRed, kBlue}), Raw({0, 2, 1, 0, 1, 1, 0, 1}));

TEST(PictureHandlersTest, OnlyTheProgramsReadersAreInstalledAndTheToolkitsCannotComeBack) {
    graphics::InstallPictureHandlers();
    EXPECT_EQ(Installed(), kOurs);
    EXPECT_EQ(wxImage::GetHandlers().GetCount(), kOurs.size());
    // The toolkit adds a handler only for a type that has none: every type is taken.
    wxInitAllImageHandlers();
    EXPECT_EQ(Installed(), kOurs);
    EXPECT_EQ(wxImage::GetHandlers().GetCount(), kOurs.size());
    // Names stay the toolkit's, so that a search by name finds ours.
    EXPECT_EQ(tarn::TypeName(typeid(*wxImage::FindHandler("Windows bitmap file"))),
              L"graphics::CPictureHandler");
    // Installing again puts back what someone else changed.
    wxImage::RemoveHandler("TGA file");
    wxImage::AddHandler(new wxTGAHandler);
    EXPECT_NE(Installed(), kOurs);
    graphics::InstallPictureHandlers();
    EXPECT_EQ(Installed(), kOurs);
}

TEST(PictureHandlersTest, EveryWayOfLoadingThroughTheToolkitReachesTheProgramsReaders) {
    graphics::InstallPictureHandlers();
    testsupport::TempFolder folder;
    const wxImage small = Decoded(Bmp24({{kRed, kGreen}, {kBlue, kWhite}}), wxBITMAP_TYPE_BMP);
    ASSERT_TRUE(small.IsOk());
    const std::map<std::string, Bytes> files{
        {"a.bmp", Bmp24({{kRed, kGreen}, {kBlue, kWhite}})},
        {"a.ico", Ico({{2, 2, 32, IconPicture({{kRed, kGreen}, {kBlue, kWhite}})}})},
        {"a.gif", Gif(2, 2, {kRed, kGreen, kBlue, kWhite}, GifImage(0, 0, 2, 2, {0, 1, 2, 3}))},
        {"a.png", Saved(small, wxBITMAP_TYPE_PNG)},
    };
    for (const auto& [name, bytes] : files) {
        // By file with the type guessed, and by stream with the type given.
        const wxString path = folder.Write(name, bytes).string();
        wxImage guessed;
        ASSERT_TRUE(guessed.LoadFile(path, wxBITMAP_TYPE_ANY)) << name;
        EXPECT_EQ(Pixel(guessed, 0, 0), "255,0,0,255") << name;
        EXPECT_EQ(Pixel(guessed, 1, 0), "0,160,0,255") << name;
        EXPECT_EQ(Pixel(guessed, 0, 1), "0,0,255,255") << name;
        EXPECT_EQ(Pixel(guessed, 1, 1), "255,255,255,255") << name;
    }
    wxMemoryInputStream stream(kSkipping.data(), kSkipping.size());
    wxImage skipping;
    ASSERT_TRUE(skipping.LoadFile(stream, wxBITMAP_TYPE_BMP));
    EXPECT_EQ(Pixel(skipping, 0, 0), "0,0,0,0");
    EXPECT_EQ(Pixel(skipping, 1, 0), "0,0,255,255");
    const wxString skippingFile = folder.Write("skipping.bmp", kSkipping).string();
    ASSERT_TRUE(skipping.LoadFile(skippingFile, wxBITMAP_TYPE_ANY));
    EXPECT_EQ(Pixel(skipping, 0, 0), "0,0,0,0");
    // A cursor (an icon file of type 2) has no reader.
    Bytes cursor = Ico({{2, 2, 32, IconPicture({{kRed, kGreen}, {kBlue, kWhite}})}});
    cursor[2] = 2;
    wxLogNull quiet;
    EXPECT_FALSE(wxImage().LoadFile(folder.Write("a.cur", cursor).string(), wxBITMAP_TYPE_ANY));
    EXPECT_FALSE(wxImage().LoadFile(folder.Path().string() + "/a.cur", wxBITMAP_TYPE_CUR));
}

TEST(PictureDecodingTest, TheToolkitGetsExactColoursWithAlphaNotMultipliedIn) {
    const wxImage opaque = Decoded(Bmp24({{kRed, kGreen, kBlue}}), wxBITMAP_TYPE_BMP);
    ASSERT_TRUE(opaque.IsOk());
    EXPECT_FALSE(opaque.HasAlpha());
    EXPECT_EQ(Pixel(opaque, 0, 0) + " " + Pixel(opaque, 1, 0) + " " + Pixel(opaque, 2, 0),
              "255,0,0,255 0,160,0,255 0,0,255,255");

    const Rgba halfGreen{0, 255, 0, 128};
    const Rgba clearWhite{255, 255, 255, 0};
    const wxImage icon =
        Decoded(Ico({{3, 1, 32, IconPicture({{kRed, halfGreen, clearWhite}})}}), wxBITMAP_TYPE_ICO);
    ASSERT_TRUE(icon.IsOk());
    ASSERT_TRUE(icon.HasAlpha());
    EXPECT_EQ(Pixel(icon, 0, 0) + " " + Pixel(icon, 1, 0) + " " + Pixel(icon, 2, 0),
              "255,0,0,255 0,255,0,128 255,255,255,0");
    // Through a bitmap and back, as the player paints it.
    const wxImage painted = wxBitmap(icon).ConvertToImage();
    EXPECT_EQ(Pixel(painted, 0, 0), "255,0,0,255");
    EXPECT_EQ(Pixel(painted, 1, 0), "0,255,0,128");
    EXPECT_EQ(painted.GetAlpha(2, 0), 0);

    wxImage grey(8, 8);
    grey.SetRGB(wxRect(0, 0, 8, 8), 90, 90, 90);
    const wxImage jpeg = Decoded(Saved(grey, wxBITMAP_TYPE_JPEG), wxBITMAP_TYPE_JPEG);
    ASSERT_TRUE(jpeg.IsOk());
    EXPECT_NEAR(jpeg.GetRed(3, 3), 90, 2);
}

TEST(PictureDecodingTest, SizesAboveTheLimitsAreRefusedBeforeTheToolkitReads) {
    std::string error;
    EXPECT_FALSE(
        Decoded(PngHeader(65535, 65535) + Bytes(100, 'x'), wxBITMAP_TYPE_PNG, &error).IsOk());
    EXPECT_EQ(error, "declares 65535 x 65535 pixels, more than 16384 pixels a side");
    EXPECT_FALSE(Decoded(JpegHeader(65535, 65535), wxBITMAP_TYPE_JPEG, &error).IsOk());
    EXPECT_EQ(error, "declares 65535 x 65535 pixels, more than 16384 pixels a side");
    // Within the limits, the toolkit's reader says what is wrong.
    wxImage small(4, 4);
    const Bytes png = Saved(small, wxBITMAP_TYPE_PNG);
    EXPECT_FALSE(Decoded(png.substr(0, png.size() - 20), wxBITMAP_TYPE_PNG, &error).IsOk());
    EXPECT_EQ(error.rfind("does not decode (", 0), 0u) << error;
    EXPECT_FALSE(Decoded(png, wxBITMAP_TYPE_TIFF, &error).IsOk());
    EXPECT_EQ(error, "is not of a picture type that is read");
}

TEST(PictureReaderTest, APictureThatDoesNotDecodeIsMissingWithOneWarningForEachName) {
    graphics::CPictureReader reader;
    const testsupport::CWarnings warnings;
    const auto* garbage = reinterpret_cast<const std::uint8_t*>("not a picture");
    EXPECT_EQ(reader.Read(L"art/a.bmp", wxBITMAP_TYPE_BMP, garbage, 13), nullptr);
    EXPECT_EQ(reader.Read(L"art/a.bmp", wxBITMAP_TYPE_BMP, garbage, 13), nullptr);
    EXPECT_EQ(reader.Read(L"art/b.png", wxBITMAP_TYPE_PNG, garbage, 13), nullptr);
    const Bytes good = Bmp24({{kRed}});
    EXPECT_NE(reader.Read(L"art/c.bmp", wxBITMAP_TYPE_BMP,
                          reinterpret_cast<const std::uint8_t*>(good.data()), good.size()),
              nullptr);
    ASSERT_EQ(warnings.Get().size(), 2u);
    EXPECT_EQ(warnings.Get()[0], "Picture 'art/a.bmp' is not a BMP file; it is shown as missing.");
    EXPECT_EQ(warnings.Get()[1], "Picture 'art/b.png' is not a PNG file; it is shown as missing.");
}

TEST(PictureReaderTest, AllPicturesOfAContentFileShareOneBudgetOfPixels) {
    graphics::CPictureReader reader(250);
    const testsupport::CWarnings warnings;
    const Bytes tenByTen = Bmp(InfoHeader(10, 10, 8, 1, 1), Palette({kRed}), Raw({0, 1}));
    const auto read = [&](const wchar_t* name) {
        return reader.Read(name, wxBITMAP_TYPE_BMP,
                           reinterpret_cast<const std::uint8_t*>(tenByTen.data()), tenByTen.size());
    };
    const auto first = read(L"1.bmp");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(read(L"2.bmp"), nullptr);
    EXPECT_EQ(reader.GetPixels(), 200);
    EXPECT_EQ(read(L"3.bmp"), nullptr);
    EXPECT_EQ(reader.GetPixels(), 200);
    // The budget is for the pictures held at one time: one given back makes room.
    reader.Forget(*first);
    EXPECT_EQ(reader.GetPixels(), 100);
    EXPECT_NE(read(L"3.bmp"), nullptr);
    EXPECT_EQ(reader.GetPixels(), 200);
    ASSERT_EQ(warnings.Get().size(), 1u);
    EXPECT_EQ(
        warnings.Get()[0],
        "Picture '3.bmp' declares 10 x 10 pixels, more than 50 pixels in all (what is left "
        "of the 250 pixels all pictures of a content file may take); it is shown as missing.");
}

}  // namespace
