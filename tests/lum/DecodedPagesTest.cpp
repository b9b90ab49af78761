#include <gtest/gtest.h>

#include <string>

#include "data/ContentFile.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicImage.h"
#include "lum/DecodedPages.h"
#include "lum/data/GraphicElementFactory.h"
#include "lum/data/Product.h"

namespace {

std::string Image(const std::string& picture) {
    return "<image><center x=\"5\" y=\"5\"/><size width=\"10\" height=\"10\"/>"
           "<attachment-bitmap name=\"" + picture + "\"/></image>";
}

// Pages A to E, each with a picture of its own; A and E also show one picture together.
std::string Product() {
    std::string pages;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        std::string document = Image(std::string(name) + ".png");
        if (name == std::string("A") || name == std::string("E")) document += Image("both.png");
        pages += "<page name=\"" + std::string(name) + "\"><document version=\"1\">" + document +
                 "</document></page>";
    }
    return "<product><pages>" + pages + "</pages></product>";
}

class DecodedPagesTest : public testing::Test {
protected:
    void SetUp() override {
        graphics::RegisterFactory(m_factory);
        product = tarn::New<lum::data::CProduct>();
        product->Load(wxFileName(lumtest::WriteArchive(
            m_folder, "a.lum",
            {{"product.xml", Product()}, {"A.png", lumtest::PngBytes(2, 2)},
             {"B.png", lumtest::PngBytes(2, 2)}, {"C.png", lumtest::PngBytes(2, 2)},
             {"D.png", lumtest::PngBytes(2, 2)}, {"E.png", lumtest::PngBytes(2, 2)},
             {"both.png", lumtest::PngBytes(2, 2)}})));
        ASSERT_EQ(product->GetPageCount(), 5u);
    }
    void TearDown() override { graphics::UnregisterFactory(m_factory); }

    tarn::P<lum::data::CPage> Page(const std::wstring& name) const {
        return product->FindPage(name);
    }
    graphics::CGraphicImage& ImageOf(const std::wstring& page, std::size_t index = 0) const {
        return dynamic_cast<graphics::CGraphicImage&>(*Page(page)->GetDocument()->GetAt(index));
    }
    bool Decoded(const std::wstring& page, std::size_t index = 0) const {
        return ImageOf(page, index).GetPicture()->IsDecoded();
    }
    void DecodeAll() const {
        for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"}) {
            const auto document = Page(name)->GetDocument();
            for (std::size_t i = 0; i < document->GetCount(); ++i) {
                ASSERT_NE(dynamic_cast<graphics::CGraphicImage&>(*document->GetAt(i)).GetBitmap(),
                          nullptr);
            }
        }
    }

    tarn::P<lum::data::CProduct> product;

private:
    tarn::P<graphics::IGraphicElementFactory> m_factory =
        tarn::New<lum::data::CGraphicElementFactory>();
    testsupport::TempFolder m_folder;
};

}  // namespace

TEST_F(DecodedPagesTest, PagesLeftBehindGiveBackWhatNoKeptPageShows) {
    lum::CDecodedPages pages(2);
    DecodeAll();
    pages.Show(Page(L"A"), {Page(L"E")});
    pages.Show(Page(L"B"), {});
    // A was shown last, E is no longer led to: E's own picture goes, the shared one stays.
    EXPECT_TRUE(Decoded(L"A"));
    EXPECT_FALSE(Decoded(L"E"));
    EXPECT_TRUE(Decoded(L"E", 1));
    pages.Show(Page(L"C"), {Page(L"D")});
    EXPECT_FALSE(Decoded(L"A"));
    EXPECT_FALSE(Decoded(L"A", 1));
    EXPECT_TRUE(Decoded(L"B"));
    // Pages that were never kept are left as they are.
    EXPECT_TRUE(Decoded(L"C"));
    EXPECT_TRUE(Decoded(L"D"));
    // Showing a page again puts it last: B stays while D is shown, C goes.
    pages.Show(Page(L"B"), {});
    pages.Show(Page(L"D"), {});
    EXPECT_TRUE(Decoded(L"B"));
    EXPECT_FALSE(Decoded(L"C"));
    // A picture given back decodes again when it is shown.
    EXPECT_NE(ImageOf(L"A").GetBitmap(), nullptr);
    EXPECT_TRUE(Decoded(L"A"));
}

TEST_F(DecodedPagesTest, ClearingGivesBackEveryKeptPage) {
    lum::CDecodedPages pages;
    DecodeAll();
    pages.Show(Page(L"A"), {Page(L"B")});
    pages.Clear();
    EXPECT_FALSE(Decoded(L"A"));
    EXPECT_FALSE(Decoded(L"A", 1));
    EXPECT_FALSE(Decoded(L"B"));
    EXPECT_TRUE(pages.GetKept().empty());
}
