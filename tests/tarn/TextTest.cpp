#include "tarn/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, Utf8RoundTrip) {
    const std::wstring text = L"a\u00e4\u20ac\U0001F600z";
    EXPECT_EQ(tarn::ToUtf8(text), "a\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80z");
    EXPECT_EQ(tarn::FromUtf8(tarn::ToUtf8(text)), text);
}

TEST(TextTest, InvalidUtf8FallsBackToLatin1) {
    // A Windows-1252/Latin-1 name, a truncated sequence, an overlong form and a surrogate.
    EXPECT_EQ(tarn::FromUtf8("Bild_\xe4.png"), L"Bild_\u00e4.png");
    EXPECT_EQ(tarn::FromUtf8("x\xe2\x82"), L"x\u00e2\u0082");
    EXPECT_EQ(tarn::FromUtf8("\xc0\xaf"), L"\u00c0\u00af");
    EXPECT_EQ(tarn::FromUtf8("\xed\xa0\x80"), L"\u00ed\u00a0\u0080");
    EXPECT_EQ(tarn::ToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xef\xbf\xbd");
}

TEST(TextTest, PlaceholdersAreReplacedOneAfterAnother) {
    const std::wstring text = L"Error deleting the file '%FILE%' (%MSG%).";
    const std::wstring once = tarn::SetPlaceholder(text, L"FILE", L"/a/%MSG%.txt");
    EXPECT_EQ(once, L"Error deleting the file '/a/%MSG%.txt' (%MSG%).");
    EXPECT_EQ(tarn::SetPlaceholder(L"%A%%A% 100% %B", L"A", L"x"), L"xx 100% %B");
    EXPECT_EQ(tarn::SetPlaceholder(L"%A%", L"A", L"%A%"), L"%A%");
}

TEST(TextTest, AsciiCaseFolding) {
    EXPECT_TRUE(tarn::EqualsNoCase(L"FILE", L"file"));
    EXPECT_FALSE(tarn::EqualsNoCase(L"file", L"files"));
    EXPECT_EQ(tarn::ToLowerAscii(L"GoTo-\u00c4"), L"goto-\u00c4");
}

}  // namespace
