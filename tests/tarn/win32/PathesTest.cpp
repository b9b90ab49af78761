#include "tarn/win32/Pathes.h"

#include <gtest/gtest.h>

#include "tarn/Exception.h"

namespace {

using tarn::CURI;
using tarn::win32::CPathes;

std::wstring DrivePath(std::size_t length) {
    std::wstring path = L"C:\\";
    while (path.size() < length) path += L'a';
    return path;
}

TEST(PathesTest, DrivePathsRoundTrip) {
    const CPathes pathes;
    const auto uri = pathes.WindowsPathToURI(L"C:\\Program Files\\Menu\\start.exe");
    EXPECT_EQ(uri->GetText(), L"file:///C:/Program%20Files/Menu/start.exe");
    EXPECT_EQ(pathes.URIToWindowsPath(uri, false), L"C:\\Program Files\\Menu\\start.exe");
}

TEST(PathesTest, LongDrivePathsTakeThePrefixFrom240) {
    const CPathes pathes;
    const std::wstring short239 = DrivePath(239);
    const std::wstring long240 = DrivePath(240);
    EXPECT_EQ(pathes.URIToWindowsPath(pathes.WindowsPathToURI(short239), false), short239);
    EXPECT_EQ(pathes.URIToWindowsPath(pathes.WindowsPathToURI(long240), false),
              L"\\\\?\\" + long240);
    // Before NT there is no long form.
    EXPECT_THROW(CPathes(false).URIToWindowsPath(pathes.WindowsPathToURI(long240), false),
                 tarn::CError);
}

TEST(PathesTest, LongUncPathsTakeTheUncPrefix) {
    const CPathes pathes;
    std::wstring unc = L"\\\\server\\share\\";
    while (unc.size() < 300) unc += L'b';
    const auto uri = pathes.WindowsPathToURI(unc);
    EXPECT_EQ(uri->GetHost(), L"server");
    EXPECT_EQ(pathes.URIToWindowsPath(uri, false), L"\\\\?\\UNC\\" + unc.substr(2));
    // The long form converts back to the same URI.
    EXPECT_EQ(pathes.WindowsPathToURI(L"\\\\?\\UNC\\" + unc.substr(2))->GetText(), uri->GetText());
}

TEST(PathesTest, LongRelativePathRaisesTheLongPathError) {
    const CPathes pathes;
    const std::wstring relative(250, L'r');
    try {
        pathes.URIToWindowsPath(pathes.WindowsPathToURI(relative), false);
        FAIL() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"Error: Windows path is longer than MAX_PATH and the limit cannot be "
                  L"circumvented (path='" + relative + L"').");
    }
}

TEST(PathesTest, PrefixedPathsConvertLikePlainOnes) {
    const CPathes pathes;
    EXPECT_EQ(pathes.WindowsPathToURI(L"\\\\?\\D:\\x\\y.txt")->GetText(),
              pathes.WindowsPathToURI(L"D:\\x\\y.txt")->GetText());
    const std::wstring long300 = DrivePath(300);
    const std::wstring prefixed = pathes.URIToWindowsPath(pathes.WindowsPathToURI(long300), false);
    EXPECT_EQ(pathes.URIToWindowsPath(pathes.WindowsPathToURI(prefixed), false), prefixed);
}

TEST(PathesTest, NonFileURIsAndEmptyOnes) {
    const CPathes pathes;
    const auto web = CURI::Parse(L"http://example.com/a?b=c");
    EXPECT_EQ(pathes.URIToWindowsPath(web, true), L"http://example.com/a?b=c");
    EXPECT_EQ(pathes.URIToWindowsPath(web, false), L"");
    EXPECT_EQ(pathes.URIToWindowsPath(CURI::Parse(L"mailto:a@b.c"), true), L"mailto:a@b.c");
    EXPECT_EQ(pathes.URIToWindowsPath(CURI::Parse(L""), true), L"");
    EXPECT_EQ(pathes.URIToWindowsPath(nullptr, true), L"");
    // A relative path stays relative.
    const auto relative = pathes.WindowsPathToURI(L"docs\\read me.pdf");
    EXPECT_FALSE(relative->HasScheme());
    EXPECT_EQ(pathes.URIToWindowsPath(relative, false), L"docs\\read me.pdf");
    // A UNC text with no further separator names the host alone.
    EXPECT_EQ(pathes.WindowsPathToURI(L"\\\\server")->GetText(), L"file://server/");
}

TEST(PathesTest, LocalPathsRoundTrip) {
    const auto uri = CPathes::LocalPathToURI(L"/media/cdrom/Read Me #1.pdf");
    EXPECT_EQ(uri->GetText(), L"file:///media/cdrom/Read%20Me%20%231.pdf");
    EXPECT_EQ(CPathes::URIToLocalPath(uri, false), L"/media/cdrom/Read Me #1.pdf");
    EXPECT_EQ(CPathes::URIToLocalPath(CURI::Parse(L"file:///tmp/%C3%A4.txt"), false),
              L"/tmp/\u00e4.txt");
    // Content made on Windows separates with "\".
    EXPECT_EQ(CPathes::URIToLocalPath(CPathes::LocalPathToURI(L"docs\\manual.pdf"), false),
              L"docs/manual.pdf");
    EXPECT_EQ(CPathes::URIToLocalPath(CURI::Parse(L"https://x.org/"), true), L"https://x.org/");
    EXPECT_EQ(CPathes::URIToLocalPath(CURI::Parse(L"https://x.org/"), false), L"");
    EXPECT_EQ(CPathes::URIToLocalPath(CURI::Parse(L"file://srv/share/a"), false), L"//srv/share/a");
}

TEST(PathesTest, AnEncodedNulNeverShortensAPath) {
    const CPathes windows;
    for (const wchar_t* text : {L"file:///media/disc/manual.pdf%00.exe", L"file://srv%00x/share/a",
                                L"docs/read%00me.txt"}) {
        const auto uri = CURI::Parse(text);
        EXPECT_THROW(CPathes::URIToLocalPath(uri, true), tarn::CFileNotFoundError) << text;
        EXPECT_THROW(windows.URIToWindowsPath(uri, true), tarn::CFileNotFoundError) << text;
    }
    // Other addresses are handed on as their text, where "%00" stays three characters.
    EXPECT_EQ(CPathes::URIToLocalPath(CURI::Parse(L"https://x.org/a%00b"), true),
              L"https://x.org/a%00b");
}

}  // namespace
