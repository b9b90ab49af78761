// The main frame in process: history and breadcrumb, start pages, closing, the start-up
// option scan and the product language code.

#include <gtest/gtest.h>

#include <wx/intl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ContentFile.h"
#include "Environment.h"
#include "EventLoop.h"
#include "TempFolder.h"
#ifndef _WIN32
#include "WindowPixels.h"
#endif
#include "app/App.h"
#include "app/EventForwarder.h"
#include "app/MainFrame.h"
#include "app/SystemLanguage.h"
#include "graphics/GraphicText.h"
#include "lum/data/ElementFactories.h"
#include "tarn/ScopeExit.h"

namespace {

namespace fs = std::filesystem;
using lum::data::CAction;
using lum::data::EActionType;
using lum::data::EChangePageKind;

const char* kBreadcrumbText = R"(<?xml version="1.0" encoding="UTF-8"?>
<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org"><paragraphlayout>
<paragraph><text>$breadcrumb</text></paragraph></paragraphlayout></richtext>)";

std::string Page(const std::string& name, const std::string& textId = "") {
    return "<page name=\"" + name + "\"" + (textId.empty() ? "" : " textid=\"" + textId + "\"") +
           "><document version=\"1\"><content-box x=\"0\" y=\"0\" width=\"320\" height=\"200\"/>"
           "<text name=\"$breadcrumb\"><center x=\"150\" y=\"20\"/><size width=\"300\" height=\"30\"/>"
           "<attachment-richtextbuffer name=\"b.xml\"/></text></document></page>";
}

std::string Product(const std::string& pages, const std::string& extra = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><product title=\"T\"><pages>" + pages +
           "</pages><clientsize width=\"320.7\" height=\"200.2\"/>" + extra + "</product>";
}

std::wstring Breadcrumb(const CMainFrame& frame) {
    const auto document = frame.GetCurrentPage()->GetDocument();
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        if (auto* text = dynamic_cast<graphics::CGraphicText*>(document->GetAt(i).Get())) {
            return text->GetBuffer()->GetText().ToStdWstring();
        }
    }
    return {};
}

tarn::P<CAction> ChangePage(EChangePageKind kind, const std::wstring& page = {}) {
    auto action = tarn::New<CAction>();
    action->SetType(EActionType::ChangePage);
    action->SetChangePageKind(kind);
    action->SetPage(page);
    return action;
}

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string translations =
            "<translations><translation id=\"one\" language=\"en-us\" translation=\"First\"/>"
            "</translations>";
        content = lumtest::WriteArchive(
            folder, "menu.lum",
            {{"product.xml", Product(Page("P0") + Page("P1", "one") + Page("P2") + Page("P3"),
                                     translations)},
             {"b.xml", kBreadcrumbText}});
        frame = new CMainFrame(wxString());
    }
    void TearDown() override { frame->Destroy(); }

    void Back() { frame->ExecuteAction(*ChangePage(EChangePageKind::GoBack)); }
    void Goto(const std::wstring& page) {
        frame->ExecuteAction(*ChangePage(EChangePageKind::GotoPage, page));
    }

    lum::data::CElementFactories factories;
    testsupport::TempFolder folder;
    std::wstring content;
    CMainFrame* frame = nullptr;
};

TEST_F(MainFrameTest, LoadingShowsTheFirstPageAtTheTruncatedSize) {
    ASSERT_TRUE(frame->LoadContent(content));
    EXPECT_EQ(frame->GetClientSize(), wxSize(320, 200));
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_EQ(Breadcrumb(*frame), L"P0");
    EXPECT_EQ(frame->GetHistory()->GetPosition(), 0);
}

TEST_F(MainFrameTest, HistoryWalkThroughAndItsBreadcrumb) {
    ASSERT_TRUE(frame->LoadContent(content));
    Goto(L"p1");
    Goto(L"P2");
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | First | P2");
    Back();
    EXPECT_EQ(frame->GetTitle(), "T [First]");
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | First");
    Goto(L"P3");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 3u);
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | First | P3");
    Goto(L"P3");
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | First | P3 | P3");
    Goto(L"nowhere");
    EXPECT_EQ(frame->GetTitle(), "T [P3]");
    frame->ExecuteAction(*ChangePage(EChangePageKind::GotoMainPage));
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | First | P3 | P3 | P0");
}

TEST_F(MainFrameTest, AStartPageHasNoHistoryEntry) {
    ASSERT_TRUE(frame->LoadContent(content));
    ASSERT_TRUE(frame->GotoPage(L"P2", false, false));
    EXPECT_EQ(Breadcrumb(*frame), L"P0");
    Back();
    EXPECT_EQ(frame->GetTitle(), "T [P2]");
    EXPECT_FALSE(frame->GetViewControl()->GetPendingDocument());
}

TEST_F(MainFrameTest, PageNamesDifferingInCaseFindTheFirst) {
    const std::wstring twins = lumtest::WriteArchive(
        folder, "twins.lum",
        {{"product.xml", Product(Page("Twin") + Page("TWIN", "one"))}, {"b.xml", kBreadcrumbText}});
    ASSERT_TRUE(frame->LoadContent(twins));
    Goto(L"TWIN");
    EXPECT_EQ(frame->GetCurrentPage(), frame->GetProduct()->GetPage(0));
    EXPECT_EQ(frame->GetHistory()->GetCount(), 2u);
}

TEST_F(MainFrameTest, PageNamesCompareWithoutCaseInEveryScript) {
    // Whatever the process locale: the test runs in the C locale as often as not.
    const std::wstring menu = lumtest::WriteArchive(
        folder, "umlaut.lum",
        {{"product.xml", Product(Page("Start") + Page("\xc3\x9c" "bersicht") +
                                 Page("\xce\x94\xce\xb5\xce\xbb\xcf\x84\xce\xaf\xce\xbf"))},
         {"b.xml", kBreadcrumbText}});
    ASSERT_TRUE(frame->LoadContent(menu));
    Goto(L"\u00fcBERSICHT");
    EXPECT_EQ(frame->GetCurrentPage(), frame->GetProduct()->GetPage(1));
    EXPECT_TRUE(frame->GotoPage(L"\u0394\u0395\u039b\u03a4\u038a\u039f", false, false));
    EXPECT_EQ(frame->GetCurrentPage(), frame->GetProduct()->GetPage(2));
    EXPECT_FALSE(frame->GotoPage(L"UBERSICHT", false, false));
}

TEST_F(MainFrameTest, LocalVariantsOpenLikeTheirPlainKindsAndOthersDoNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "records what reaches xdg-open; on Windows the shell opens the files";
#endif
    // A recording stand-in for the desktop's opener, first on the path.
    const fs::path bin = folder.Path() / "bin";
    fs::create_directories(bin);
    const fs::path record = folder.Path() / "opened.txt";
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record.string() << "'\n";
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    testsupport::SetEnvironment("PATH", bin.string() + ":" + path);
    fs::create_directories(folder.Path() / "docs");
    std::ofstream(folder.Path() / "docs" / "tool.txt") << "x";
    ASSERT_TRUE(frame->LoadContent(content));

    const auto run = [&](EActionType type, const std::wstring& file, const std::wstring& folderName) {
        auto action = tarn::New<CAction>();
        action->SetType(type);
        action->SetFile(file);
        action->SetFolder(folderName);
        frame->ExecuteAction(*action);
    };
    run(EActionType::RunLocalFile, L"docs\\tool.txt", L"");
    run(EActionType::OpenLocalFolder, L"", L"DOCS");
    run(EActionType::Custom, L"docs/tool.txt", L"docs");
    run(EActionType::Undefined, L"docs/tool.txt", L"docs");
    // Actions that name no file or folder start nothing (not the current folder).
    run(EActionType::RunFile, L"", L"");
    run(EActionType::OpenFolder, L"", L"");
    const std::string expected = (folder.Path() / "docs" / "tool.txt").string() + "\n" +
                                 (folder.Path() / "docs").string() + "\n";
    const auto recorded = [&] {
        std::ifstream in(record);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    testsupport::RunEventsUntil([&] { return recorded().size() >= expected.size(); },
                                std::chrono::seconds(10));
    testsupport::RunEventsFor(std::chrono::milliseconds(300));
    testsupport::SetEnvironment("PATH", path);
    EXPECT_EQ(recorded(), expected);
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
}

TEST_F(MainFrameTest, ChangingTheLanguageRetranslatesTitleAndBreadcrumb) {
    const std::string translations =
        "<translations><translation id=\"one\" language=\"en-us\" translation=\"First\"/>"
        "<translation id=\"one\" language=\"de-de\" translation=\"Erste\"/></translations>";
    const std::wstring menu = lumtest::WriteArchive(
        folder, "languages.lum",
        {{"product.xml", Product(Page("P0") + Page("P1", "one"), translations)},
         {"b.xml", kBreadcrumbText}});
    ASSERT_TRUE(frame->LoadContent(menu));
    Goto(L"P1");
    auto action = tarn::New<CAction>();
    action->SetType(EActionType::ChangeLanguage);
    action->SetLanguage(L"de-de");
    frame->ExecuteAction(*action);
    EXPECT_EQ(frame->GetTitle(), "T [Erste]");
    EXPECT_EQ(Breadcrumb(*frame), L"P0 | Erste");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 2u);
}

TEST_F(MainFrameTest, ContentWithoutPagesIsRefused) {
    const std::wstring empty =
        lumtest::WriteArchive(folder, "empty.lum", {{"product.xml", Product("")}});
    EXPECT_FALSE(frame->LoadContent(empty));
    EXPECT_FALSE(frame->LoadContent((folder.Path() / "missing.lum").wstring()));
}

// An icon file with one 16 x 16 picture of 32 bits in one colour.
std::string IconFile(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::string bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put(0, 2), put(1, 2), put(1, 2);                           // directory: one icon
    put(16, 1), put(16, 1), put(0, 1), put(0, 1);              // 16 x 16, no palette
    put(1, 2), put(32, 2), put(imageSize, 4), put(6 + 16, 4);  // planes, depth, size, offset
    put(40, 4), put(16, 4), put(32, 4), put(1, 2), put(32, 2);  // picture and mask, 32 bits
    put(0, 4), put(16 * 16 * 4, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int i = 0; i < 16 * 16; ++i) put(blue | green << 8 | red << 16 | 0xffu << 24, 4);
    bytes += std::string(16 * 4, '\0');  // nothing masked out
    return bytes;
}

// The colour in the middle of the window's small icon.
wxColour IconMiddle(const wxFrame& frame) {
    const wxIcon icon = frame.GetIcons().GetIcon(16, wxIconBundle::FALLBACK_NEAREST_LARGER);
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    const wxImage image = bitmap.ConvertToImage();
    const int x = image.GetWidth() / 2;
    const int y = image.GetHeight() / 2;
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

TEST_F(MainFrameTest, TheWindowIconComesFromTheContentAndSurvivesADamagedFile) {
    const auto withIcon = [&](const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        return lumtest::WriteArchive(
            folder, name + ".lum",
            {{"product.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><product title=\"T\" "
                             "icon-filename=\"" + name + "\"><pages>" + Page("P0") +
                                 "</pages></product>"},
             {"b.xml", kBreadcrumbText}});
    };
    const wxColour builtIn = IconMiddle(*frame);
    ASSERT_NE(builtIn, wxColour(0, 200, 0));
    ASSERT_TRUE(frame->LoadContent(withIcon("green.ico", IconFile(0, 200, 0))));
    EXPECT_EQ(IconMiddle(*frame), wxColour(0, 200, 0));

    for (const std::string& damaged :
         {IconFile(200, 0, 0).substr(0, 30), std::string("not an icon at all"), std::string()}) {
        CMainFrame* fresh = new CMainFrame(wxString());
        ASSERT_TRUE(fresh->LoadContent(withIcon("damaged.ico", damaged)));
        EXPECT_EQ(IconMiddle(*fresh), builtIn) << damaged.size() << " bytes";
        fresh->Destroy();
    }
}

class MusicFrameTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        testsupport::SetEnvironment("SDL_AUDIODRIVER", "dummy");
        std::string wav = "RIFF";
        const auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) wav += char(v >> (8 * i)); };
        const auto put16 = [&](std::uint16_t v) { wav += char(v & 0xff); wav += char(v >> 8); };
        put32(36 + 400);
        wav += "WAVEfmt ";
        put32(16); put16(1); put16(1); put32(8000); put32(16000); put16(2); put16(16);
        wav += "data";
        put32(400);
        wav += std::string(400, '\x10');
        const std::string music = "<music filename=\"m.wav\" loop=\"true\"><buffer format=\"wav\">"
                                  "<chunk name=\"m.wav\" size=\"" + std::to_string(wav.size()) +
                                  "\"/></buffer></music>";
        withMusic = lumtest::WriteArchive(
            folder, "music.lum",
            {{"product.xml", Product(Page("P0"), music)}, {"b.xml", kBreadcrumbText}, {"m.wav", wav}});
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        testsupport::ClearEnvironment("SDL_AUDIODRIVER");
    }

    std::wstring withMusic;
};

TEST_F(MusicFrameTest, ClosingStopsTheMusicAndHidesWithoutDestroying) {
    ASSERT_TRUE(frame->LoadContent(withMusic));
    ASSERT_NE(frame->GetSound(), nullptr);
    const fs::path copy(frame->GetSound()->GetFileName());
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_TRUE(frame->GetMusicPainter()->IsPlaying());
    frame->Show();
    frame->Close();
    EXPECT_FALSE(frame->IsShown());
    EXPECT_EQ(frame->GetSound(), nullptr);
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(MusicFrameTest, WithoutAWritableTemporaryFolderTheMenuOpensSilent) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a folder in which nobody can create a file, which /proc/self is";
#endif
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    // A folder in which nobody, not even root, can create a file.
    testsupport::SetEnvironment("TMPDIR", "/proc/self");
    const bool loaded = frame->LoadContent(withMusic);
    if (old) testsupport::SetEnvironment("TMPDIR", saved); else testsupport::ClearEnvironment("TMPDIR");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_EQ(frame->GetSound(), nullptr);
    EXPECT_FALSE(frame->GetMusicPainter());
}

#ifndef _WIN32
// The icon's look on the display, sampled across it; none where the window is not on X.
std::optional<std::vector<wxColour>> IconOnDisplay(CMainFrame& frame) {
    auto* view = frame.GetViewControl();
    const wxRect icon = frame.GetMusicPainter()->GetIconRect();
    const wxPoint page = view->GetPageArea().GetTopLeft();
    std::vector<wxColour> samples;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 6; ++column) {
            const wxPoint at(page.x + icon.x + icon.width * (2 * column + 1) / 12,
                             page.y + icon.y + icon.height * (2 * row + 1) / 12);
            const auto colour = testsupport::PixelOnDisplay(view, at);
            if (!colour) return std::nullopt;
            samples.push_back(*colour);
        }
    }
    return samples;
}

// A click on the icon switches what the speakers get, and the icon on the screen follows at
// once. SDL's disk driver writes the sound to a file; the display holds what was painted.
TEST_F(MusicFrameTest, TheMusicIconIsRepaintedWhenClicked) {
    const fs::path output = folder / "device.raw";
    testsupport::SetEnvironment("SDL_AUDIODRIVER", "disk");
    testsupport::SetEnvironment("SDL_DISKAUDIOFILE", output.string());
    // The device goes with the sound, before the next test opens its own.
    const auto release = tarn::MakeScopeExit([this] {
        frame->Close();
        testsupport::ClearEnvironment("SDL_DISKAUDIOFILE");
    });
    ASSERT_TRUE(frame->LoadContent(withMusic));
    frame->Show();
    testsupport::RunEventsFor(std::chrono::milliseconds(300));
    const wxRect icon = frame->GetMusicPainter()->GetIconRect();
    ASSERT_FALSE(icon.IsEmpty());

    const auto size = [&] {
        std::error_code error;
        const auto bytes = fs::file_size(output, error);
        return error ? std::uintmax_t{0} : bytes;
    };
    // Whether anything but silence was written past what the device had already taken when
    // asked (16-bit stereo frames of 1024, three buffers of slack).
    const auto soundsAfter = [&](std::uintmax_t mark) -> std::optional<bool> {
        constexpr std::uintmax_t kSlack = 3 * 1024 * 4, kLooked = 8 * 1024 * 4;
        if (size() < mark + kSlack + kLooked) return std::nullopt;
        std::ifstream in(output, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(mark + kSlack));
        std::string bytes(kLooked, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes.find_first_not_of('\0') != std::string::npos;
    };
    const auto waitForSound = [&](bool sounding) {
        const std::uintmax_t mark = size();
        std::optional<bool> heard;
        testsupport::RunEventsUntil([&] { return (heard = soundsAfter(mark)).has_value(); },
                                    std::chrono::seconds(10));
        return heard == sounding;
    };
    ASSERT_TRUE(waitForSound(true)) << "the music does not play at the start";

    const auto playingLook = IconOnDisplay(*frame);
    const auto click = [&] {
        wxMouseEvent press(wxEVT_LEFT_DOWN);
        press.SetPosition(wxPoint(icon.x + icon.width / 2, icon.y + icon.height / 2));
        return frame->OnMouse(press);
    };
    const auto waitForLook = [&](const auto& wanted) {
        return testsupport::RunEventsUntil([&] { return IconOnDisplay(*frame) == wanted; },
                                           std::chrono::seconds(5));
    };

    ASSERT_TRUE(click());
    EXPECT_FALSE(frame->GetMusicPainter()->IsPlaying());
    EXPECT_TRUE(waitForSound(false)) << "still playing after the click that stops it";
    std::optional<std::vector<wxColour>> stoppedLook;
    if (playingLook) {
        testsupport::RunEventsUntil(
            [&] { return (stoppedLook = IconOnDisplay(*frame)) != playingLook; },
            std::chrono::seconds(5));
        EXPECT_NE(stoppedLook, playingLook) << "the icon still shows the music playing";
    }

    ASSERT_TRUE(click());
    EXPECT_TRUE(frame->GetMusicPainter()->IsPlaying());
    EXPECT_TRUE(waitForSound(true)) << "silent after the click that starts it again";
    if (playingLook) {
        EXPECT_TRUE(waitForLook(playingLook)) << "the icon still shows the music stopped";
    } else {
        std::cout << "[ NOTE ] not an X display: the icon's look was not checked\n";
    }
}
#endif

TEST(StartOptionsTest, ValuesAreExaminedByTheChecksThatFollow) {
    const auto scan = [](std::vector<std::wstring> rest) {
        rest.insert(rest.begin(), {L"lumplayer", L"menu.lum"});
        return ScanStartOptions(rest);
    };
    CStartOptions options = scan({L"-page", L"-lang", L"de"});
    EXPECT_EQ(options.page, L"-lang");
    EXPECT_EQ(options.language, L"de");

    options = scan({L"-page", L"-nosplash"});
    EXPECT_EQ(options.page, L"-nosplash");
    EXPECT_FALSE(options.noSplash);

    options = scan({L"-nosplash", L"-page", L"Intro  ", L"-langfolder", L"packs \t", L"-lang", L"fr  "});
    EXPECT_TRUE(options.noSplash);
    EXPECT_EQ(options.page, L"Intro  ");
    EXPECT_EQ(options.languageFolder, L"packs");
    EXPECT_EQ(options.language, L"fr");

    options = scan({L"-lang", L"de", L"-NOSPLASH", L"-lang", L"it", L"-page"});
    EXPECT_EQ(options.language, L"it");
    EXPECT_FALSE(options.noSplash);
    EXPECT_EQ(options.page, L"");

    // Options before the content file are not looked at.
    EXPECT_FALSE(ScanStartOptions({L"lumplayer", L"-nosplash"}).noSplash);
}

TEST(StartOptionsTest, ProductLanguageCodes) {
    EXPECT_EQ(CApp::LanguageCode(wxLANGUAGE_UNKNOWN), L"en-us");
    EXPECT_EQ(CApp::LanguageCode(wxLANGUAGE_PORTUGUESE_BRAZILIAN), L"pt-br");
    EXPECT_EQ(CApp::LanguageCode(wxLANGUAGE_ENGLISH_UK), L"en-gb");
    EXPECT_EQ(CApp::LanguageCode(wxLANGUAGE_GERMAN), L"de");
}

#ifndef _WIN32
// German is asked for on a computer without a German locale (as this one): the menu's German
// texts are shown all the same. Without any language named the toolkit's answer stays.
TEST(StartOptionsTest, TheProductLanguageFollowsTheLocaleVariablesEvenWithoutTheirLocale) {
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::map<std::string, std::string> saved;
    for (const char* name : names) {
        if (const char* value = std::getenv(name)) saved[name] = value;
    }
    const auto set = [&](const char* all, const char* messages, const char* lang) {
        const char* values[] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) testsupport::SetEnvironment(names[i], values[i]);
    };
    set("", "", "de_DE.UTF-8");
    EXPECT_EQ(SystemProductLanguage(), L"de-de");
    set("", "C", "pt_BR.UTF-8");
    EXPECT_EQ(SystemProductLanguage(), L"pt-br");
    set("fr_CA", "it_IT", "de_DE");
    EXPECT_EQ(SystemProductLanguage(), L"fr-ca");
    set("C.UTF-8", "", "POSIX");
    EXPECT_EQ(SystemProductLanguage(), CApp::LanguageCode(wxLocale::GetSystemLanguage()));
    for (const char* name : names) {
        if (saved.count(name)) {
            testsupport::SetEnvironment(name, saved[name]);
        } else {
            testsupport::ClearEnvironment(name);
        }
    }
}
#endif

// A window that handles one menu command and counts what reaches it.
class CCountingTarget : public wxWindow {
public:
    explicit CCountingTarget(wxWindow* parent) : wxWindow(parent, wxID_ANY) {
        Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
            ++handled;
            if (event.GetId() == 77) return;
            event.Skip();
        });
    }
    int handled = 0;
};

TEST(EventForwarderTest, ForwardsListedTypesButNeverIdZero) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "forwarder");
    auto* target = new CCountingTarget(frame);
    CEventForwarder forwarder;
    forwarder.AddType(wxEVT_MENU);
    forwarder.SetTarget(target);
    wxCommandEvent command(wxEVT_MENU, 77);
    EXPECT_TRUE(forwarder.Forward(command));
    wxCommandEvent idZero(wxEVT_MENU, 0);
    EXPECT_FALSE(forwarder.Forward(idZero));
    wxCommandEvent other(wxEVT_BUTTON, 77);
    EXPECT_FALSE(forwarder.Forward(other));
    EXPECT_EQ(target->handled, 1);
    frame->Destroy();
}

}  // namespace
