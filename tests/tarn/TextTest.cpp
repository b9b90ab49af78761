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
    // A high surrogate without its low half, and a low one alone, in the middle of a text.
    const std::wstring lone{static_cast<wchar_t>(0xD83D), L'x', static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(tarn::ToUtf8(lone), "\xef\xbf\xbdx\xef\xbf\xbd");
}

TEST(TextTest, CodePointsBeyondTheFirstPlaneTakeOneOrTwoUnits) {
    std::wstring text;
    tarn::AppendCodePoint(text, 0x1F600);
    tarn::AppendCodePoint(text, L'z');
    EXPECT_EQ(text, L"\U0001F600z");
    std::size_t length = 0;
    EXPECT_EQ(tarn::CodePointAt(text, 0, length), U'\U0001F600');
    EXPECT_EQ(length, sizeof(wchar_t) == 2 ? 2u : 1u);
    EXPECT_EQ(tarn::CodePointAt(text, length, length), U'z');
    EXPECT_EQ(length, 1u);
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

TEST(TextTest, EveryScriptComparesWithoutCaseWhateverTheLocale) {
    // German, Latin Extended-A (capitals and small letters alternate), Greek, Cyrillic,
    // Armenian, full-width Latin and a letter outside the first plane.
    EXPECT_TRUE(tarn::EqualsNoCase(L"\u00dcbersicht", L"\u00fcbersicht"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\u0141\u00d3D\u0179", L"\u0142\u00f3d\u017a"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\u03a3\u0395\u039b\u0399\u0394\u0391", L"\u03c3\u03b5\u03bb\u03b9\u03b4\u03b1"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\u0413\u041b\u0410\u0412\u041d\u0410\u042f", L"\u0433\u043b\u0430\u0432\u043d\u0430\u044f"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\u0531", L"\u0561"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\uff21\uff22", L"\uff41\uff42"));
    EXPECT_TRUE(tarn::EqualsNoCase(L"\U00010400", L"\U00010428"));
    // Only letters that have a case change; the rest must match exactly.
    EXPECT_FALSE(tarn::EqualsNoCase(L"\u00fcbersicht", L"ubersicht"));
    EXPECT_FALSE(tarn::EqualsNoCase(L"\u0101", L"\u0102"));  // neighbours in an alternating run
    EXPECT_FALSE(tarn::EqualsNoCase(L"\u00df", L"ss"));
    EXPECT_EQ(tarn::ToLower(L'\u0130'), L'\u0130');  // its lower case is two characters
    EXPECT_EQ(tarn::ToLower(L'\u01c5'), L'\u01c6');  // title case Dz with caron
    EXPECT_EQ(tarn::ToLower(L'\u2126'), L'\u03c9');  // the ohm sign
    EXPECT_EQ(tarn::ToLower(L'7'), L'7');
    EXPECT_EQ(tarn::ToLower(static_cast<wchar_t>(0x10FFFF)), static_cast<wchar_t>(0x10FFFF));
}

}  // namespace
