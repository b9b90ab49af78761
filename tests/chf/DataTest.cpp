// Counted UTF-16 strings, and the bounds on counts read from a file.

#include <gtest/gtest.h>

#include "ChunkBytes.h"
#include "chf/DataIO.h"
#include "tarn/Exception.h"

using namespace chftest;
using namespace std::string_literals;

TEST(Data, Utf16ConversionHandlesPairsAndLoneSurrogates) {
    EXPECT_EQ(chf::ToUtf16(L"a\u00e9\U0001F600"), std::u16string(u"a\u00e9\xD83D\xDE00"));
    EXPECT_EQ(chf::FromUtf16(u"a\xD83D\xDE00z"), std::wstring(L"a\U0001F600z"));
    // Lone halves, and a low half before a high one.
    EXPECT_EQ(chf::FromUtf16(u"\xD83Dz\xDE00\xD83D"), std::wstring(L"\uFFFDz\uFFFD\uFFFD"));
    // A lone high half, and beyond Unicode where wchar_t can hold it, else a lone low half.
    const wchar_t last = static_cast<wchar_t>(sizeof(wchar_t) == 4 ? 0x110000 : 0xDC00);
    const std::wstring bad{static_cast<wchar_t>(0xD800), L'x', last};
    EXPECT_EQ(chf::ToUtf16(bad), std::u16string(u"\uFFFDx\uFFFD"));
}

TEST(Data, ResourceStringsCountTheirTerminator) {
    // Count 1 is the empty string, 0 an absent one; the last unit is dropped whatever it is.
    const auto stream = Memory(U32(1) + LE(0, 2) + U32(0) + U32(3) + "a\0b\0c\0"s + Str("next"));
    EXPECT_EQ(chf::ReadResourceString(*stream), L"");
    EXPECT_EQ(stream->Tell(), 6u);
    EXPECT_EQ(chf::ReadResourceString(*stream), L"");
    EXPECT_EQ(chf::ReadResourceString(*stream), L"ab");
    EXPECT_EQ(chf::ReadResourceString(*stream), L"next");

    const auto written = Memory("");
    chf::WriteResourceString(*written, L"");
    chf::WriteResourceString(*written, L"\U0001F9C0");
    EXPECT_EQ(Image(*written), U32(1) + LE(0, 2) + U32(3) + "\x3E\xD8\xC0\xDD\0\0"s);
}

TEST(Data, CountsBeyondTheRoomLeftRaiseBeforeReading) {
    for (const Bytes& bytes : {U32(2) + "abc", U32(0xFFFFFFFF) + "ab"}) {
        EXPECT_THROW(chf::ReadResourceString(*Memory(bytes)), tarn::CEndOfStreamError);
    }
    const auto stream = Memory(Bytes(40, '\0'));
    stream->Seek(30);
    EXPECT_NO_THROW(chf::CheckCount(*stream, 5, 2));
    EXPECT_THROW(chf::CheckCount(*stream, 6, 2), tarn::CEndOfStreamError);
    stream->Seek(50);
    EXPECT_THROW(chf::CheckCount(*stream, 1, 1), tarn::CEndOfStreamError);
}
