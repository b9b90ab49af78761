#include "tarn/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>
#include <vector>

#include "tarn/StringLocalizer.h"
#include "tarn/URI.h"

namespace {

using tarn::P;

class CThing : public tarn::CObject {};

TEST(ExceptionTest, EmptyTextsFallBackToDefaults) {
    const tarn::CError error(L"", L"");
    EXPECT_EQ(error.GetTitle(), L"Error");
    EXPECT_EQ(error.GetDescription(), L"Unspecified error");
    EXPECT_STREQ(error.what(), "Unspecified error");

    const tarn::CException raw(L"", L"");
    EXPECT_EQ(raw.GetTitle(), L"");
    EXPECT_EQ(raw.GetDescription(), L"");
}

TEST(ExceptionTest, WhatIsTheDescriptionInUtf8) {
    const tarn::CError error(L"Datei \u00fcberall", L"Titel");
    EXPECT_STREQ(error.what(), "Datei \xc3\xbc" "berall");
    const std::exception& standard = error;
    EXPECT_STREQ(standard.what(), "Datei \xc3\xbc" "berall");
}

TEST(ExceptionTest, ObjectDescriptions) {
    const P<CThing> thing = tarn::New<CThing>();
    EXPECT_EQ(tarn::CObjectError::DescribeObject(thing.Get(), L"Ignored"),
              L"object: (anonymous namespace)::CThing object");
    EXPECT_EQ(tarn::CObjectError::DescribeObject(nullptr, L"graphics::CPage"),
              L"object class: graphics::CPage");
    EXPECT_EQ(tarn::CObjectError::DescribeObject(nullptr), L"unknown object");

    const tarn::CObjectError plain(nullptr, L"", L"", L"");
    EXPECT_EQ(plain.GetTitle(), L"Object error");
    EXPECT_EQ(plain.GetDescription(), L"unknown object");
    const tarn::CObjectError templated(nullptr, L"X", L"[%OBJECTDESC%] and [%OBJECTDESC%]");
    EXPECT_EQ(templated.GetDescription(), L"[object class: X] and [object class: X]");
}

TEST(ExceptionTest, ComposedObjectErrorTexts) {
    const P<CThing> thing = tarn::New<CThing>();
    const std::wstring desc = L"object: (anonymous namespace)::CThing object";
    EXPECT_EQ(tarn::CMethodNotImplementedError(L"Paint", thing.Get()).GetDescription(),
              L"Method not implemented (" + desc + L"): Paint.");
    EXPECT_EQ(tarn::CMethodNotImplementedError(L"", nullptr).GetDescription(),
              L"Method not implemented (unknown object): unspecified method.");
    EXPECT_EQ(tarn::CInvalidObjectStateError(L"closed", thing.Get()).GetDescription(),
              L"The object is in an invalid state (" + desc + L"): closed.");
    EXPECT_EQ(tarn::CEndOfEnumError(nullptr).GetDescription(),
              L"The object is in an invalid state (unknown object): "
              L"end of enumeration already reached.");
    EXPECT_EQ(tarn::CInvalidArgError(L"Open", L"sharing", thing.Get()).GetDescription(),
              L"An invalid argument was passed to method 'Open' of '" + desc + L"': sharing");
    EXPECT_EQ(tarn::CInvalidArgError(L"", L"", nullptr).GetDescription(),
              L"An invalid argument was passed to method 'unspecified method' of "
              L"'unknown object': unspecified argument");
    const tarn::CCastError cast(L"CPage", L"CProduct");
    EXPECT_EQ(cast.GetTitle(), L"Cast error");
    EXPECT_EQ(cast.GetDescription(), L"Error casting a 'CPage' object to 'CProduct'.");
    EXPECT_EQ(tarn::CNoSuchObjectError().GetDescription(), L"No such object.");
    EXPECT_EQ(tarn::CNoSuchObjectError(L"gone").GetDescription(), L"gone");
}

TEST(ExceptionTest, UriErrorsFillTheirPlaceholders) {
    const P<tarn::CURI> uri = tarn::CURI::FromFilePath(L"/media/disc/a b.txt");
    EXPECT_EQ(tarn::CURIError(uri, L"no placeholder").GetDescription(), L"no placeholder");
    EXPECT_EQ(tarn::CURIError(nullptr, L"no placeholder").GetDescription(), L"no placeholder");
    EXPECT_EQ(tarn::CURIError(nullptr, L"bad %URI%").GetDescription(), L"bad <uri unknown>");
    EXPECT_EQ(tarn::CURIError(uri, L"bad %URI%").GetURI(), uri);

    EXPECT_EQ(tarn::CFileNotFoundError(uri).GetDescription(),
              L"The file '/media/disc/a b.txt' was not found.");
    EXPECT_EQ(tarn::CFileNotFoundError().GetDescription(), L"The file was not found.");
    // A name that looks like a placeholder is kept as it is.
    EXPECT_EQ(tarn::CFileNotFoundError(tarn::CURI::FromFilePath(L"/a/%URI%.txt")).GetDescription(),
              L"The file '/a/%URI%.txt' was not found.");
    EXPECT_EQ(tarn::CEndOfStreamError(tarn::CURI::FromFilePath(L"/%URI%")).GetDescription(),
              L"Unexpected end of data stream (uri: '/%URI%').");
    EXPECT_EQ(tarn::CFileNotFoundError(uri).GetTitle(), L"Error");
    EXPECT_EQ(tarn::CStreamClosedError(uri).GetDescription(), L"The stream has been closed.");
    EXPECT_EQ(tarn::CEndOfStreamError().GetDescription(), L"Unexpected end of data stream.");
    EXPECT_EQ(tarn::CEndOfStreamError(tarn::CURI::Parse(L"http://x/y")).GetDescription(),
              L"Unexpected end of data stream (uri: 'http://x/y').");
}

TEST(ExceptionTest, DescriptionsAreLocalizedWhenTranslated) {
    const P<tarn::IStringLocalizer> localizer = tarn::GetGlobalLocalizer();
    localizer->Set(L"tarn.CFileNotFoundError.Desc", L"Die Datei '%FILE%' fehlt ('%FILE%').");
    const std::wstring text =
        tarn::CFileNotFoundError(tarn::CURI::FromFilePath(L"/x")).GetDescription();
    localizer->Clear();
    EXPECT_EQ(text, L"Die Datei '/x' fehlt ('/x').");
}

TEST(ExceptionTest, ClonesKeepClassAndTexts) {
    const P<CThing> thing = tarn::New<CThing>();
    const P<tarn::CURI> uri = tarn::CURI::Parse(L"file:///a");
    std::vector<std::function<void()>> throwers = {
        [] { throw tarn::CException(L"d", L"t"); },
        [] { throw tarn::CError(L"d", L"t"); },
        [] { throw tarn::CParseError(L"d", L"t"); },
        [&] { throw tarn::CObjectError(thing.Get(), L"", L"%OBJECTDESC%!"); },
        [&] { throw tarn::CMethodNotImplementedError(L"m", thing.Get()); },
        [&] { throw tarn::CInvalidObjectStateError(L"r", thing.Get()); },
        [&] { throw tarn::CEndOfEnumError(thing.Get()); },
        [&] { throw tarn::CInvalidArgError(L"m", L"a", thing.Get()); },
        [] { throw tarn::CCastError(L"A", L"B"); },
        [] { throw tarn::CNoSuchObjectError(); },
        [&] { throw tarn::CURIError(uri, L"%URI%"); },
        [&] { throw tarn::CFileError(uri, L"f %URI%"); },
        [&] { throw tarn::CFileNotFoundError(uri); },
        [&] { throw tarn::CStreamError(uri, L"s"); },
        [&] { throw tarn::CStreamClosedError(uri); },
        [&] { throw tarn::CEndOfStreamError(uri); },
    };
    for (const auto& thrower : throwers) {
        P<tarn::CException> kept;
        std::wstring title, description;
        const std::type_info* type = nullptr;
        try {
            thrower();
        } catch (const tarn::CException& error) {
            kept = error.Clone();
            title = error.GetTitle();
            description = error.GetDescription();
            type = &typeid(error);
        }
        ASSERT_TRUE(kept);
        EXPECT_EQ(typeid(*kept), *type) << type->name();
        EXPECT_EQ(kept->GetTitle(), title);
        EXPECT_EQ(kept->GetDescription(), description);
        EXPECT_STREQ(kept->what(), tarn::CError(description).what());
        EXPECT_EQ(kept->GetRefCount(), 1);
    }
    // A cloned URI error still names its URI.
    const P<tarn::CException> clone = tarn::CFileNotFoundError(uri).Clone();
    EXPECT_EQ(tarn::Cast<tarn::CURIError>(clone)->GetURI(), uri);
}

}  // namespace
