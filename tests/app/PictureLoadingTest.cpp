// The player decodes a page's pictures when the page is first needed and gives back those of
// pages left behind: a menu of a hundred pages starts as one of a few, and looks the same.

#include <gtest/gtest.h>

#include <wx/mstream.h>

#include <chrono>
#include <cstring>
#include <map>
#include <string>

#include "ContentFile.h"
#include "EventLoop.h"
#include "TempFolder.h"
#include "app/MainFrame.h"
#include "graphics/GraphicImage.h"
#include "lum/data/ElementFactories.h"

namespace {

using namespace std::chrono_literals;

constexpr int kPages = 100;

// A picture of its own for every page: stripes in colours that only this page has.
std::string PagePicture(int page) {
    wxImage image(40, 30);
    image.SetRGB(wxRect(0, 0, 40, 15), page * 2, 255 - page * 2, 60);
    image.SetRGB(wxRect(0, 15, 40, 15), 200, page, 255 - page);
    wxMemoryOutputStream out;
    image.SaveFile(out, wxBITMAP_TYPE_PNG);
    std::string bytes(out.GetSize(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

// Page N shows its picture over the whole page and leads to page N + 1.
std::string Page(int page) {
    const std::string next = "P" + std::to_string((page + 1) % kPages);
    return "<page name=\"P" + std::to_string(page) +
           "\"><document version=\"1\"><content-box x=\"0\" y=\"0\" width=\"160\" "
           "height=\"120\"/><image name=\"picture\"><center x=\"80\" y=\"60\"/><size "
           "width=\"160\" height=\"120\"/><attachment-bitmap name=\"pictures/p" +
           std::to_string(page) +
           ".png\"/></image><state-button type-name=\"lum-state-button-action\" name=\"next\">"
           "<center x=\"30\" y=\"15\"/><size width=\"40\" height=\"20\"/><action "
           "type=\"change-page\" change-page=\"goto-page\" page=\"" +
           next + "\"/></state-button></document></page>";
}

bool SamePixels(const wxImage& a, const wxImage& b) {
    return a.GetSize() == b.GetSize() &&
           std::memcmp(a.GetData(), b.GetData(), 3u * a.GetWidth() * a.GetHeight()) == 0;
}

const graphics::CStoredPicture& PictureOf(const tarn::P<lum::data::CPage>& page) {
    const auto* image =
        dynamic_cast<const graphics::CGraphicImage*>(page->GetDocument()->GetAt(0).Get());
    return *image->GetPicture();
}

class PictureLoadingTest : public testing::Test {
protected:
    void SetUp() override {
        std::map<std::string, std::string> entries;
        std::string pages;
        for (int page = 0; page < kPages; ++page) {
            pages += Page(page);
            entries["pictures/p" + std::to_string(page) + ".png"] = PagePicture(page);
        }
        entries["product.xml"] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><product title=\"T\"><pages>" + pages +
            "</pages><clientsize width=\"160\" height=\"120\"/></product>";
        content = lumtest::WriteArchive(folder, "menu.lum", entries);
        frame = new CMainFrame(wxString());
    }
    void TearDown() override { frame->Destroy(); }

    wxImage Shown() { return frame->GetViewControl()->RenderBitmap().ConvertToImage(); }
    std::int64_t Decodes() const { return frame->GetProduct()->GetPictureDecodes(); }

    lum::data::CElementFactories factories;
    testsupport::TempFolder folder;
    std::wstring content;
    CMainFrame* frame = nullptr;
};

TEST_F(PictureLoadingTest, AHundredPagesStartByDecodingOnlyWhatTheFirstPageShows) {
    ASSERT_TRUE(frame->LoadContent(content));
    ASSERT_EQ(frame->GetProduct()->GetPageCount(), static_cast<std::size_t>(kPages));
    EXPECT_EQ(Decodes(), 0);
    Shown();
    EXPECT_EQ(Decodes(), 1);
    EXPECT_TRUE(PictureOf(frame->GetProduct()->GetPage(0)).IsDecoded());
    // While the page is looked at, the page its button leads to is made ready, and no other.
    EXPECT_TRUE(testsupport::RunEventsUntil([&] { return Decodes() == 2; }, 5s));
    EXPECT_TRUE(PictureOf(frame->GetProduct()->GetPage(1)).IsDecoded());
    testsupport::RunEventsFor(300ms);
    EXPECT_EQ(Decodes(), 2);
}

TEST_F(PictureLoadingTest, APageShownAgainAfterItsPicturesWereGivenBackLooksTheSame) {
    ASSERT_TRUE(frame->LoadContent(content));
    const wxImage before = Shown();
    const auto first = frame->GetProduct()->GetPage(0);
    // Pages enough later the first page's picture is given back...
    for (int page = 1; page <= 6; ++page) {
        ASSERT_TRUE(frame->GotoPage(L"P" + std::to_wstring(page), false, true));
        Shown();
    }
    EXPECT_FALSE(PictureOf(first).IsDecoded());
    EXPECT_FALSE(PictureOf(frame->GetProduct()->GetPage(2)).IsDecoded());
    EXPECT_TRUE(PictureOf(frame->GetProduct()->GetPage(6)).IsDecoded());
    // ... and decoded again when the page comes back, to the same pixels.
    const std::int64_t decodes = Decodes();
    ASSERT_TRUE(frame->GotoPage(L"P0", false, true));
    const wxImage after = Shown();
    EXPECT_EQ(Decodes(), decodes + 1);
    EXPECT_TRUE(SamePixels(before, after));
    // The page's own colours are there, not a missing picture's blank.
    EXPECT_EQ(wxColour(after.GetRed(80, 20), after.GetGreen(80, 20), after.GetBlue(80, 20)),
              wxColour(0, 255, 60));
}

}  // namespace
