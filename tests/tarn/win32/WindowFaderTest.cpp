// The display's side of a fade: pictures reach the display server intact (opaque where they
// have no alpha), a step drawn on a window outside a paint shows the blend, and the copy of
// the last new picture serves only while the caller keeps it.

#include "tarn/win32/WindowFader.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "EventLoop.h"
#include "WindowPixels.h"
#include "tarn/win32/DisplayUpload.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

// Colours compared in tests print as what they are.
inline void PrintTo(const wxColour& colour, std::ostream* out) {
    *out << colour.GetAsString(wxC2S_HTML_SYNTAX).ToStdString();
}

namespace {

using tarn::win32::CDisplayUpload;
using tarn::win32::CWindowFader;

wxBitmap Filled(int width, int height, int depth, const wxColour& colour) {
    wxBitmap bitmap(width, height, depth);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(colour));
    dc.Clear();
    return bitmap;
}

class WindowFaderTest : public testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "fader test", wxPoint(60, 60), wxDefaultSize);
        frame->SetClientSize(64, 48);
        window = new wxWindow(frame, wxID_ANY, wxPoint(0, 0), wxSize(64, 48), wxBORDER_NONE);
        window->SetBackgroundColour(*wxWHITE);
        frame->Show();
        ASSERT_TRUE(testsupport::RunEventsUntil([&] { return window->IsShownOnScreen(); }, 3s));
        testsupport::RunEventsFor(300ms);
    }
    void TearDown() override {
        frame->Destroy();
        testsupport::RunEventsFor(50ms);
    }

    // The window's own surface, where fades are blended by an X display; else none.
    static cairo_surface_t* DisplaySurface(wxDC& dc) {
        wxGraphicsContext* context = dc.GetGraphicsContext();
        auto* cr = context ? static_cast<cairo_t*>(context->GetNativeContext()) : nullptr;
        if (!cr || cairo_surface_get_type(cairo_get_target(cr)) != CAIRO_SURFACE_TYPE_XLIB) {
            return nullptr;
        }
        return cairo_get_target(cr);
    }

    // What the display holds at a point of the window, without asking it to paint.
    wxColour OnScreen(int x, int y) const {
        return testsupport::PixelOnDisplay(window, wxPoint(x, y)).value_or(wxColour());
    }

    wxFrame* frame = nullptr;
    wxWindow* window = nullptr;  // what the fades are drawn on
};

// The pixels of a display surface, read back through cairo.
std::vector<std::uint32_t> ReadBack(cairo_surface_t* surface, int width, int height) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(image);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(image);
    std::vector<std::uint32_t> pixels;
    const unsigned char* data = cairo_image_surface_get_data(image);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            data + y * cairo_image_surface_get_stride(image));
        pixels.insert(pixels.end(), row, row + width);
    }
    cairo_surface_destroy(image);
    return pixels;
}

// A picture whose every pixel differs, written straight into a cairo image.
cairo_surface_t* Pattern(cairo_format_t format, int width, int height, std::uint32_t alphaByte) {
    cairo_surface_t* image = cairo_image_surface_create(format, width, height);
    unsigned char* data = cairo_image_surface_get_data(image);
    for (int y = 0; y < height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + y * cairo_image_surface_get_stride(image));
        for (int x = 0; x < width; ++x) {
            row[x] = (alphaByte << 24) | ((x * 30u) << 16) | ((y * 40u) << 8) | 0x11u;
        }
    }
    cairo_surface_mark_dirty(image);
    return image;
}

TEST_F(WindowFaderTest, PicturesReachTheDisplayExactlyAndPicturesWithoutAlphaOpaque) {
    wxClientDC dc(window);
    cairo_surface_t* surface = DisplaySurface(dc);
    if (!surface) GTEST_SKIP() << "not an X display";
    CDisplayUpload upload;
    // Odd sizes: rows of the picture and of the segment are laid out differently.
    cairo_surface_t* copy = cairo_surface_create_similar(surface, CAIRO_CONTENT_COLOR_ALPHA, 7, 5);

    // Without alpha the fourth byte means nothing: here it is 0, and must not become
    // transparency on the display.
    cairo_surface_t* opaque = Pattern(CAIRO_FORMAT_RGB24, 7, 5, 0x00);
    ASSERT_TRUE(upload.Put(copy, opaque));
    std::vector<std::uint32_t> seen = ReadBack(copy, 7, 5);
    for (int i = 0; i < 35; ++i) {
        const int x = i % 7, y = i / 7;
        EXPECT_EQ(seen[i], 0xFF000000u | ((x * 30u) << 16) | ((y * 40u) << 8) | 0x11u)
            << x << "," << y;
    }

    // With alpha, the premultiplied pixels arrive as they are, through the same segment.
    cairo_surface_t* translucent = Pattern(CAIRO_FORMAT_ARGB32, 7, 5, 0xC8);
    ASSERT_TRUE(upload.Put(copy, translucent));
    seen = ReadBack(copy, 7, 5);
    EXPECT_EQ(seen[0], 0xC8000011u);
    EXPECT_EQ(seen[34], 0xC8000000u | (6 * 30u << 16) | (4 * 40u << 8) | 0x11u);

    // Another size needs another segment; a picture that does not fit its target is refused.
    cairo_surface_t* wide = cairo_surface_create_similar(surface, CAIRO_CONTENT_COLOR_ALPHA, 9, 3);
    cairo_surface_t* widePicture = Pattern(CAIRO_FORMAT_RGB24, 9, 3, 0x7F);
    ASSERT_TRUE(upload.Put(wide, widePicture));
    EXPECT_EQ(ReadBack(wide, 9, 3)[9 + 8], 0xFF000000u | (8 * 30u << 16) | (1 * 40u << 8) | 0x11u);
    EXPECT_FALSE(upload.Put(copy, widePicture));
    EXPECT_EQ(ReadBack(copy, 7, 5)[0], 0xC8000011u);

    for (cairo_surface_t* surface : {copy, opaque, translucent, wide, widePicture}) {
        cairo_surface_destroy(surface);
    }
}

TEST_F(WindowFaderTest, AStepOnTheWindowShowsTheBlendInItsAreaOnly) {
    const wxBitmap red = Filled(40, 30, 24, *wxRED);
    const wxBitmap blue = Filled(40, 30, 32, *wxBLUE);
    CWindowFader fader;
    wxClientDC dc(window);
    if (!DisplaySurface(dc)) GTEST_SKIP() << "not an X display";
    const wxColour outside = OnScreen(5, 2);
    ASSERT_TRUE(fader.PaintOnWindow(dc, red, blue, 10, 5, 127));
    const wxColour blended = OnScreen(30, 20);
    EXPECT_NEAR(blended.Red(), 128, 1);
    EXPECT_EQ(blended.Green(), 0);
    EXPECT_NEAR(blended.Blue(), 127, 1);
    EXPECT_EQ(OnScreen(5, 2), outside);
    EXPECT_EQ(OnScreen(49, 20), blended);  // the area's last column
    EXPECT_EQ(OnScreen(50, 20), outside);

    // The last step shows the new picture alone, from the copies the first one made.
    ASSERT_TRUE(fader.PaintOnWindow(dc, red, blue, 10, 5, 255));
    EXPECT_EQ(OnScreen(30, 20), *wxBLUE);
}

TEST_F(WindowFaderTest, PreparedRoomServesTheNextFadeWithItsOwnPictures) {
    CWindowFader fader;
    wxClientDC dc(window);
    if (!DisplaySurface(dc)) GTEST_SKIP() << "not an X display";
    ASSERT_TRUE(fader.Prepare(dc, wxSize(40, 30)));
    ASSERT_TRUE(fader.Prepare(dc, wxSize(40, 30)));  // ready already: nothing to do
    const wxBitmap green = Filled(40, 30, 24, *wxGREEN);
    const wxBitmap red = Filled(40, 30, 32, *wxRED);
    ASSERT_TRUE(fader.PaintOnWindow(dc, green, red, 0, 0, 255));
    EXPECT_EQ(OnScreen(20, 15), *wxRED);
    ASSERT_TRUE(fader.PaintOnWindow(dc, green, red, 0, 0, 0));
    EXPECT_EQ(OnScreen(20, 15), *wxGREEN);

    // Pictures of another fade of the same size replace the copies, not blend with them.
    const wxBitmap blue = Filled(40, 30, 24, *wxBLUE);
    const wxBitmap yellow = Filled(40, 30, 32, *wxYELLOW);
    ASSERT_TRUE(fader.PaintOnWindow(dc, blue, yellow, 0, 0, 0));
    EXPECT_EQ(OnScreen(20, 15), *wxBLUE);
}

TEST_F(WindowFaderTest, TheNewPicturesCopyServesOnlyWhileTheCallerKeepsIt) {
    CWindowFader fader;
    wxClientDC dc(window);
    if (!DisplaySurface(dc)) GTEST_SKIP() << "not an X display";
    const wxBitmap red = Filled(40, 30, 24, *wxRED);
    const wxBitmap blue = Filled(40, 30, 32, *wxBLUE);
    ASSERT_TRUE(fader.PaintOnWindow(dc, red, blue, 0, 0, 25));
    EXPECT_FALSE(fader.PaintCopyOf(dc, red, 0, 0));  // only the new picture is kept
    fader.Reset(true);
    ASSERT_TRUE(fader.PaintCopyOf(dc, blue, 0, 0));
    EXPECT_EQ(OnScreen(20, 15), *wxBLUE);
    fader.Reset();
    EXPECT_FALSE(fader.PaintCopyOf(dc, blue, 0, 0));

    // A paint into a plain bitmap gets no display copy: it paints the picture itself.
    ASSERT_TRUE(fader.PaintOnWindow(dc, red, blue, 0, 0, 25));
    wxBitmap target(40, 30, 24);
    wxMemoryDC memory(target);
    EXPECT_FALSE(fader.PaintCopyOf(memory, blue, 0, 0));
}

}  // namespace
