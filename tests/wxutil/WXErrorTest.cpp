#include "wxutil/WXError.h"

#include <gtest/gtest.h>

namespace {

TEST(WXErrorTest, KeepsTheMessageAsDescriptionAndToolkitString) {
    const wxutil::CWXError error(wxString(L"GraphicTypeFromXml. Unknwown type:b\u00e4se"));
    EXPECT_EQ(error.GetTitle(), L"Error");
    EXPECT_EQ(error.GetDescription(), L"GraphicTypeFromXml. Unknwown type:b\u00e4se");
    EXPECT_EQ(error.GetMessage(), wxString(L"GraphicTypeFromXml. Unknwown type:b\u00e4se"));
    EXPECT_STREQ(error.what(), "GraphicTypeFromXml. Unknwown type:b\xc3\xa4se");
}

TEST(WXErrorTest, EmptyMessageFallsBackLikeEveryError) {
    const wxutil::CWXError error(wxString{});
    EXPECT_EQ(error.GetDescription(), L"Unspecified error");
    EXPECT_TRUE(error.GetMessage().empty());
}

TEST(WXErrorTest, CloneKeepsClassAndTexts) {
    const wxutil::CWXError error(wxString("ShapeTypeToXml. Unknwown type"));
    const tarn::P<tarn::CException> copy = error.Clone();
    const tarn::P<wxutil::CWXError> typed = tarn::Cast<wxutil::CWXError>(copy);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->GetMessage(), error.GetMessage());
    EXPECT_EQ(typed->GetDescription(), error.GetDescription());
}

TEST(WXErrorTest, CaughtAsFoundationError) {
    try {
        throw wxutil::CWXError(wxString("boom"));
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(), L"boom");
        return;
    }
    FAIL() << "not caught as tarn::CError";
}

}  // namespace
