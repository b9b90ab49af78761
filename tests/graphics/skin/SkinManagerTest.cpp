#include <gtest/gtest.h>

#include <wx/dcmemory.h>

#include "SkinTestSupport.h"
#include "TempFolder.h"
#include "graphics/skin/SkinManager.h"
#include "wxutil/WXError.h"

namespace {

using graphics::CSkinManager;

int TextWidth(const std::wstring& text, const wxFont& font) {
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    dc.SetFont(font);
    return dc.GetTextExtent(text).x;
}

TEST(SkinManagerTest, StyledTextShrinksTo7PointsBeforeCutting) {
    auto manager = tarn::New<CSkinManager>();
    const std::wstring text = L"A rather long text for a narrow plate";
    const wxFont font = manager->FitStyledFont(text, 40);
    EXPECT_EQ(font.GetPointSize(), 7);
    const wxBitmap bitmap = manager->GetStyledText(text, 1, 40);
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_LE(bitmap.GetWidth(), 40);
    EXPECT_TRUE(bitmap.HasAlpha());
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(skintest::At(image, 0, 0), wxColour(230, 230, 230));
    EXPECT_TRUE(manager->GetStyledText(text, 1, 40).IsSameAs(bitmap));  // cached

    // A text that fits at 7 points is shrunk, not cut.
    wxFont seven = *wxNORMAL_FONT;
    seven.SetPointSize(7);
    const std::wstring word = L"Menu";
    const int width = TextWidth(word, seven) + 4;
    if (TextWidth(word, *wxNORMAL_FONT) + 4 > width) {
        EXPECT_EQ(manager->FitStyledFont(word, width).GetPointSize(), 7);
        EXPECT_EQ(manager->GetStyledText(word, 2, width).GetWidth(), width);
    }
    const wxImage dark = manager->GetStyledText(word, 2, 400).ConvertToImage();
    EXPECT_EQ(skintest::At(dark, 0, 0), wxColour(200, 200, 200));
    EXPECT_EQ(manager->FitStyledFont(word, 400).GetPointSize(), wxNORMAL_FONT->GetPointSize());
}

TEST(SkinManagerTest, UnknownStyleRaises) {
    auto manager = tarn::New<CSkinManager>();
    for (int style : {0, 3}) {
        try {
            manager->GetStyledText(L"x", style, 100);
            ADD_FAILURE() << "no error for style " << style;
        } catch (const wxutil::CWXError& error) {
            EXPECT_EQ(error.GetMessage(), "CSkinManager.GetStyledText: Unknown style");
        }
    }
}

TEST(SkinManagerTest, BitmapsComeFromTheArtFolderAndAreCached) {
    testsupport::TempFolder folder;
    const wxString path = (folder / "button.png").string();
    ASSERT_TRUE(testsupport::MakeBitmap(3, 2, *wxRED).SaveFile(path, wxBITMAP_TYPE_PNG));
    folder.Write("broken.png", "not a picture");
    auto manager = tarn::New<CSkinManager>();
    manager->SetArtFolder(wxFileName::DirName(folder.Path().string()));
    const wxBitmap* bitmap = manager->GetBitmap(L"button.png");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), 3);
    EXPECT_EQ(manager->GetBitmap(L"button.png"), bitmap);
    EXPECT_NE(manager->GetBitmap(L"button.png", false), bitmap);  // its own cache key
    EXPECT_EQ(manager->GetBitmap(L"missing.png"), nullptr);
    EXPECT_EQ(manager->GetBitmap(L"broken.png"), nullptr);
    // A miss is cached too: a picture that appears later is not picked up.
    ASSERT_TRUE(testsupport::MakeBitmap(3, 2, *wxRED).SaveFile(
        (folder / "missing.png").string(), wxBITMAP_TYPE_PNG));
    EXPECT_EQ(manager->GetBitmap(L"missing.png"), nullptr);
}

TEST(SkinManagerTest, KeyCapsCursorsAndColours) {
    auto manager = tarn::New<CSkinManager>();
    for (const wchar_t* key : {L"KEY_ALT", L"KEY_ESC", L"KEY_CONTROL", L"KEY_SHIFT"}) {
        const wxBitmap* cap = manager->GetBitmap(key);
        ASSERT_NE(cap, nullptr) << key;
        EXPECT_GT(cap->GetWidth(), 8);
    }
    EXPECT_TRUE(manager->GetCursor(6).IsOk());
    EXPECT_EQ(&manager->GetCursor(6), &manager->GetCursor(6));
    EXPECT_FALSE(manager->GetCursor(0).IsOk());
    EXPECT_FALSE(manager->GetCursor(28).IsOk());
    EXPECT_EQ(manager->GetColour(0), wxColour(191, 191, 191));
    EXPECT_EQ(manager->GetColour(1), wxColour(128, 128, 128));
    EXPECT_EQ(manager->GetColour(7), *wxBLACK);
    manager->SetColour(7, *wxRED);
    EXPECT_EQ(manager->GetColour(7), *wxRED);
    EXPECT_EQ(manager->GetColour(25), *wxBLACK);
    EXPECT_EQ(manager->GetDefaultTextAttr().GetTextColour(), *wxBLACK);
    EXPECT_NE(manager->GetStyleSheet().FindParagraphStyle("Normal"), nullptr);
    EXPECT_EQ(graphics::GetSkinManager(), graphics::GetSkinManager());
}

}  // namespace
