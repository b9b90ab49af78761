// Reloading in the main frame (F5 and author mode) on an unpacked menu folder, and the watcher
// that notices changed files.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "EventLoop.h"
#include "TempFolder.h"
#include "app/App.h"
#include "app/ContentWatcher.h"
#include "app/MainFrame.h"
#include "graphics/GraphicText.h"
#include "lum/data/ElementFactories.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* kBreadcrumbText = R"(<?xml version="1.0" encoding="UTF-8"?>
<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org"><paragraphlayout>
<paragraph><text>$breadcrumb</text></paragraph></paragraphlayout></richtext>)";

std::string Words(const std::string& text) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<richtext version=\"1.0.0.0\" "
           "xmlns=\"http://www.wxwidgets.org\"><paragraphlayout><paragraph><text>" +
           text + "</text></paragraph></paragraphlayout></richtext>";
}

std::string Page(const std::string& name) {
    return "<page name=\"" + name +
           "\"><document version=\"1\">"
           "<text name=\"$breadcrumb\"><center x=\"150\" y=\"20\"/><size width=\"300\" "
           "height=\"30\"/>"
           "<attachment-richtextbuffer name=\"b.xml\"/></text>"
           "<text name=\"words\"><center x=\"150\" y=\"80\"/><size width=\"300\" height=\"30\"/>"
           "<attachment-richtextbuffer name=\"text/words.xml\"/></text></document></page>";
}

std::string Product(const std::string& pages, const std::string& title = "T",
                    const std::string& size = "320") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><product title=\"" + title + "\"><pages>" +
           pages + "</pages><clientsize width=\"" + size + "\" height=\"200\"/></product>";
}

// The plain text of the named text element of the current page.
std::wstring TextOf(const CMainFrame& frame, const std::wstring& name) {
    const auto document = frame.GetCurrentPage()->GetDocument();
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        const auto element = document->GetAt(i);
        auto* text = dynamic_cast<graphics::CGraphicText*>(element.Get());
        if (text && element->GetName() == name) return text->GetBuffer()->GetText().ToStdWstring();
    }
    return {};
}

class ReloadTest : public testing::Test {
protected:
    void SetUp() override {
        menu = folder.Path() / "menu";
        Write("product.xml", Product(Page("P0") + Page("P1") + Page("P2")));
        Write("b.xml", kBreadcrumbText);
        Write("text/words.xml", Words("Before"));
        frame = new CMainFrame(wxString());
    }
    void TearDown() override { frame->Destroy(); }

    void Write(const std::string& name, const std::string& text) {
        const fs::path path = menu / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path.string() + ".new", std::ios::binary) << text;
        fs::rename(path.string() + ".new", path);
    }

    void Goto(const std::wstring& page) {
        auto action = tarn::New<lum::data::CAction>();
        action->SetType(lum::data::EActionType::ChangePage);
        action->SetChangePageKind(lum::data::EChangePageKind::GotoPage);
        action->SetPage(page);
        frame->ExecuteAction(*action);
    }

    lum::data::CElementFactories factories;
    testsupport::TempFolder folder;
    fs::path menu;
    CMainFrame* frame = nullptr;
};

TEST_F(ReloadTest, AFolderPlaysAsItsContentFile) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    EXPECT_TRUE(frame->GetProduct()->IsFolder());
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_EQ(TextOf(*frame, L"words"), L"Before");
}

TEST_F(ReloadTest, ReloadShowsTheEditOnTheSamePageWithItsHistory) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    Goto(L"P1");
    Goto(L"P2");
    Write("text/words.xml", Words("After"));
    EXPECT_EQ(TextOf(*frame, L"words"), L"Before");
    EXPECT_TRUE(frame->Reload());
    EXPECT_EQ(frame->GetTitle(), "T [P2]");
    EXPECT_EQ(TextOf(*frame, L"words"), L"After");
    EXPECT_EQ(TextOf(*frame, L"$breadcrumb"), L"P0 | P1 | P2");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 3u);
    // The frame shows the new product's pages, not the old ones.
    EXPECT_EQ(frame->GetCurrentPage(), frame->GetProduct()->GetPage(2));
    EXPECT_EQ(frame->GetStatusLine(), "");  // no status line without a reason for one
}

TEST_F(ReloadTest, APageThatIsGoneGivesTheMainPage) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    Goto(L"P2");
    Write("product.xml", Product(Page("P0") + Page("P1")));
    EXPECT_TRUE(frame->Reload());
    EXPECT_EQ(frame->GetTitle(), "T [P0]");
    EXPECT_EQ(frame->GetHistory()->GetCount(), 1u);
}

TEST_F(ReloadTest, ABrokenEditKeepsTheOldPageAndTheStatusLineSaysWhy) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    Goto(L"P1");
    const auto shown = frame->GetCurrentPage();
    const wxSize client = frame->GetClientSize();
    Write("product.xml", "<product>\n<pages></product>");
    EXPECT_FALSE(frame->Reload());
    EXPECT_EQ(frame->GetCurrentPage(), shown);
    EXPECT_EQ(frame->GetTitle(), "T [P1]");
    const wxString status = frame->GetStatusLine();
    EXPECT_TRUE(status.StartsWith("Reload failed: its product.xml is not well-formed XML"))
        << status;
    EXPECT_TRUE(status.Contains("(XML parsing error: 'mismatched tag' at line 2)")) << status;
    EXPECT_TRUE(status.EndsWith("The menu shown is the one read before.")) << status;
    // The page keeps its size beside the status line.
    EXPECT_EQ(frame->GetClientSize(), client);

    Write("product.xml", Product(""));
    EXPECT_FALSE(frame->Reload());
    EXPECT_TRUE(frame->GetStatusLine().Contains("it has no pages")) << frame->GetStatusLine();

    Write("product.xml",
          Product(Page("P0") + "<page name=\"P1\"><document version=\"1\"><state-button "
                               "type-name=\"lum-state-button-action\" name=\"b\"><action "
                               "type=\"change-page\" change-page=\"sideways\"/></state-button>"
                               "</document></page>"));
    EXPECT_FALSE(frame->Reload());
    EXPECT_TRUE(frame->GetStatusLine().Contains("Unknown Change page type"))
        << frame->GetStatusLine();
    EXPECT_EQ(frame->GetCurrentPage(), shown);

    Write("product.xml", Product(Page("P0") + Page("P1"), "Fixed"));
    EXPECT_TRUE(frame->Reload());
    EXPECT_EQ(frame->GetTitle(), "Fixed [P1]");
    EXPECT_TRUE(frame->GetStatusLine().StartsWith("Reloaded at ")) << frame->GetStatusLine();
}

TEST_F(ReloadTest, ANewClientSizeResizesTheWindow) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    EXPECT_EQ(frame->GetClientSize(), wxSize(320, 200));
    Write("product.xml", Product(Page("P0"), "T", "400"));
    ASSERT_TRUE(frame->Reload());
    EXPECT_EQ(frame->GetClientSize(), wxSize(400, 200));
}

TEST_F(ReloadTest, AuthorModeWatchesTheDescriptionAndTheFilesItNames) {
    ASSERT_TRUE(frame->LoadContent(menu.string()));
    frame->SetAuthorMode(true);
    EXPECT_TRUE(frame->IsAuthorMode());
    EXPECT_TRUE(frame->GetStatusLine().StartsWith("Author mode:")) << frame->GetStatusLine();
    const auto& watched = frame->GetWatchedFiles();
    for (const char* name : {"product.xml", "b.xml", "text/words.xml"}) {
        // Compared as paths: "/" and the system's own separator name the same folder.
        const auto same = [&](const std::wstring& file) { return fs::path(file) == menu / name; };
        EXPECT_NE(std::find_if(watched.begin(), watched.end(), same), watched.end()) << name;
    }
    Goto(L"P1");
    Write("text/words.xml", Words("Changed"));
    EXPECT_TRUE(testsupport::RunEventsUntil([&] { return TextOf(*frame, L"words") == L"Changed"; },
                                            5000ms));
    EXPECT_EQ(frame->GetTitle(), "T [P1]");

    Write("product.xml", Product(Page("P0") + Page("P1"), "Saved"));
    EXPECT_TRUE(
        testsupport::RunEventsUntil([&] { return frame->GetTitle() == "Saved [P1]"; }, 1000ms));
    frame->SetAuthorMode(false);
    Write("product.xml", Product(Page("P0") + Page("P1"), "Unwatched"));
    testsupport::RunEventsFor(800ms);
    EXPECT_EQ(frame->GetTitle(), "Saved [P1]");
}

TEST(ContentWatcherTest, NoticesChangesAppearanceAndRemoval) {
    testsupport::TempFolder folder;
    const fs::path file = folder.Write("a.txt", "one");
    const fs::path missing = folder / "b.txt";
    CContentWatcher watcher;
    watcher.Watch({file.wstring(), missing.wstring()});
    EXPECT_FALSE(watcher.Poll());
    folder.Write("a.txt", "two, longer");
    EXPECT_TRUE(watcher.Poll());
    EXPECT_FALSE(watcher.Poll());
    folder.Write("b.txt", "now here");
    EXPECT_TRUE(watcher.Poll());
    fs::remove(file);
    EXPECT_TRUE(watcher.Poll());
    EXPECT_FALSE(watcher.Poll());
    // Replaced by a file of the same size through a rename (as editors save): a new inode.
    folder.Write("c.txt", "now here");
    fs::rename(folder / "c.txt", missing);
    EXPECT_TRUE(watcher.Poll());
}

TEST(ContentWatcherTest, TheAuthorOptionIsReadAfterTheContent) {
    const CStartOptions options =
        ScanStartOptions({L"lumplayer", L"menu", L"-nosplash", L"-author"});
    EXPECT_TRUE(options.author);
    EXPECT_TRUE(options.noSplash);
    EXPECT_FALSE(ScanStartOptions({L"lumplayer", L"-author"}).author);
}

}  // namespace
