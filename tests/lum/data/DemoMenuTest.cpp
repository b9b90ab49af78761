// The demo menu in examples/demo: its generator runs, its content file loads with the real
// loader, and every page, action, attachment and translation it promises is there.

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/richtext/richtextbuffer.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "ContentFile.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicImage.h"
#include "graphics/GraphicTable.h"
#include "graphics/GraphicText.h"
#include "graphics/animation/Animation.h"
#include "graphics/animation/GIFAnimation.h"
#include "graphics/animation/GraphicAnimationImage.h"
#include "graphics/animation/GraphicElementAnimationFactory.h"
#include "graphics/skin/AnimationLayer.h"
#include "graphics/skin/GraphicElementSkinFactory.h"
#include "graphics/skin/Skin.h"
#include "graphics/skin/State.h"
#include "lum/data/GraphicActionButton.h"
#include "lum/data/GraphicElementFactory.h"
#include "lum/data/Product.h"
#include "tarn/StringLocalizer.h"

#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

using namespace lum::data;
namespace fs = std::filesystem;

namespace {

// Answers from the product's translations for one language, as the player does.
class CDemoLocalizer : public tarn::CObject, public virtual tarn::IStringLocalizer {
public:
    CDemoLocalizer(const CProduct& product, std::wstring language)
        : m_product(product), m_language(std::move(language)) {}
    void Clear() override {}
    void SetFallback(tarn::P<tarn::IStringLocalizer>) override {}
    void Set(const std::wstring&, const std::wstring&) override {}
    std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) override {
        const std::wstring text = m_product.Translate(key, m_language, defaultText);
        return text.empty() ? defaultText : text;
    }

private:
    const CProduct& m_product;
    std::wstring m_language;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class DemoMenuTest : public testing::Test {
protected:
    // The generator runs once for all tests; each test loads its own product.
    static void SetUpTestSuite() {
        s_folder = new testsupport::TempFolder;
        s_assets = *s_folder / "assets";
#ifdef LUM_PREMADE_DEMO_ASSETS
        // Made on the build machine: this program runs where python3 is not at hand.
        std::error_code failed;
        fs::copy(LUM_PREMADE_DEMO_ASSETS, s_assets, fs::copy_options::recursive, failed);
        s_generated = !failed;
#else
        const std::string command = "python3 \"" +
                                    (fs::path(DEMO_FOLDER) / "make_assets.py").string() +
                                    "\" \"" + s_assets.string() + "\"";
        s_generated = std::system(command.c_str()) == 0;
#endif
        if (!s_generated) return;
        // The content file holds everything the generator put into the folder.
        for (const auto& entry : fs::recursive_directory_iterator(s_assets)) {
            if (!entry.is_regular_file()) continue;
            s_entries[fs::relative(entry.path(), s_assets).generic_string()] =
                ReadAll(entry.path());
        }
        s_content = lumtest::WriteArchive(*s_folder, "content.lum", s_entries);
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
        s_entries.clear();
    }

    void SetUp() override {
        for (const auto& factory : m_factories) graphics::RegisterFactory(factory);
        ASSERT_TRUE(s_generated) << "make_assets.py failed";
        ASSERT_EQ(s_entries["product.xml"], ReadAll(fs::path(DEMO_FOLDER) / "product.xml"));
        m_assets = s_assets;
        m_entries = s_entries;
        m_product = tarn::New<CProduct>();
        m_product->Load(wxFileName(s_content));
    }
    void TearDown() override {
        for (const auto& factory : m_factories) graphics::UnregisterFactory(factory);
    }

    tarn::P<CPage> Page(const std::wstring& name) const {
        for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
            if (m_product->GetPage(i)->GetName() == name) return m_product->GetPage(i);
        }
        return {};
    }

    std::vector<tarn::P<CGraphicActionButton>> Buttons() const {
        std::vector<tarn::P<CGraphicActionButton>> buttons;
        for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
            const auto document = m_product->GetPage(i)->GetDocument();
            for (std::size_t j = 0; j < document->GetCount(); ++j) {
                if (auto button = tarn::Cast<CGraphicActionButton>(document->GetAt(j))) {
                    buttons.push_back(button);
                }
            }
        }
        return buttons;
    }

    const std::vector<tarn::P<graphics::IGraphicElementFactory>> m_factories{
        tarn::New<CGraphicElementFactory>(),
        tarn::New<graphics::skin::CGraphicElementSkinFactory>(),
        tarn::New<graphics::animation::CGraphicElementAnimationFactory>()};
    static inline testsupport::TempFolder* s_folder = nullptr;
    static inline fs::path s_assets;
    static inline std::map<std::string, std::string> s_entries;
    static inline std::wstring s_content;
    static inline bool s_generated = false;
    fs::path m_assets;
    std::map<std::string, std::string> m_entries;
    tarn::P<CProduct> m_product;
};

}  // namespace

TEST_F(DemoMenuTest, HasThreeNamedPagesAtMenuSize) {
    ASSERT_EQ(m_product->GetPageCount(), 3u);
    EXPECT_EQ(m_product->GetPage(0)->GetName(), L"main");
    EXPECT_EQ(m_product->GetPage(1)->GetName(), L"guide");
    EXPECT_EQ(m_product->GetPage(2)->GetName(), L"showcase");
    EXPECT_EQ(m_product->GetTitle(), L"Lumplayer Demo Disc");
    double width = 0, height = 0;
    m_product->GetClientSize(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
        const auto document = m_product->GetPage(i)->GetDocument();
        const graphics::CDRect box = document->GetContentBox();
        EXPECT_EQ(box.width, 800) << i;
        EXPECT_EQ(box.height, 600) << i;
    }
}

TEST_F(DemoMenuTest, EveryActionTypeOccursAndOnlyTheInstallerIsNotValid) {
    const auto buttons = Buttons();
    ASSERT_FALSE(buttons.empty());
    std::set<EActionType> types;
    std::set<EChangePageKind> kinds;
    std::set<std::wstring> languages;
    std::set<std::wstring> pages;
    int notValid = 0;
    for (const auto& button : buttons) {
        const auto action = button->GetAction();
        EXPECT_NE(action->GetType(), EActionType::Undefined) << button->GetName();
        types.insert(action->GetType());
        if (action->GetType() == EActionType::ChangePage) kinds.insert(action->GetChangePageKind());
        if (action->GetType() == EActionType::ChangeLanguage) languages.insert(action->GetLanguage());
        if (action->GetChangePageKind() == EChangePageKind::GotoPage &&
            action->GetType() == EActionType::ChangePage) {
            pages.insert(action->GetPage());
        }
        if (!action->IsValid()) {
            ++notValid;
            EXPECT_EQ(button->GetName(), L"install");
        }
        // Every button carries the full button skin with its three looks.
        const auto skin = button->GetSkin();
        ASSERT_TRUE(skin) << button->GetName();
        for (const wchar_t* state : {L"normal", L"hover", L"down"}) {
            const auto found = skin->FindState(state);
            ASSERT_TRUE(found) << state;
            ASSERT_FALSE(found->GetLayers().empty()) << button->GetName() << " " << state;
            bool hasBitmap = false, hasText = false;
            for (const auto& layer : found->GetLayers()) {
                if (auto bitmap = tarn::Cast<graphics::skin::CAnimationLayer>(layer)) {
                    EXPECT_TRUE(bitmap->GetBitmap() && bitmap->GetBitmap()->IsOk());
                    hasBitmap = true;
                }
                hasText = hasText || layer->GetKindName() == L"text";
            }
            EXPECT_TRUE(hasBitmap && hasText) << button->GetName() << " " << state;
        }
    }
    EXPECT_EQ(notValid, 1);
    for (EActionType type : {EActionType::RunFile, EActionType::ChangePage, EActionType::OpenWebsite,
                             EActionType::SendMail, EActionType::OpenFolder,
                             EActionType::QuitProgram, EActionType::ChangeLanguage}) {
        EXPECT_TRUE(types.count(type)) << static_cast<int>(type);
    }
    EXPECT_EQ(kinds.size(), 3u);
    EXPECT_EQ(languages, (std::set<std::wstring>{L"de-de", L"en-us"}));
    for (const auto& page : pages) EXPECT_TRUE(Page(page)) << page;

    // Files and folders named by actions ship with the demo.
    for (const auto& button : buttons) {
        const auto action = button->GetAction();
        if (!action->IsValid()) continue;
        if (action->GetType() == EActionType::RunFile) {
            EXPECT_TRUE(fs::is_regular_file(m_assets / action->GetFile())) << action->GetFile();
        }
        if (action->GetType() == EActionType::OpenFolder) {
            EXPECT_TRUE(fs::is_directory(m_assets / action->GetFolder())) << action->GetFolder();
        }
    }
}

TEST_F(DemoMenuTest, EveryAttachmentLoaded) {
    ASSERT_EQ(m_product->GetPageCount(), 3u);
    int images = 0, texts = 0, tables = 0, frameAnimations = 0, gifAnimations = 0;
    for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
        const auto document = m_product->GetPage(i)->GetDocument();
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            const std::wstring where = m_product->GetPage(i)->GetName() + L"/" + element->GetName();
            if (auto image = tarn::Cast<graphics::CGraphicImage>(element)) {
                ++images;
                EXPECT_TRUE(image->GetBitmap() && image->GetBitmap()->IsOk()) << where;
            } else if (auto text = tarn::Cast<graphics::CGraphicText>(element)) {
                ++texts;
                ASSERT_TRUE(text->GetBuffer()) << where;
                EXPECT_FALSE(text->GetBuffer()->GetText().empty()) << where;
            } else if (auto table = tarn::Cast<graphics::CGraphicTable>(element)) {
                ++tables;
                EXPECT_EQ(table->GetRowCount(), 4) << where;
                EXPECT_EQ(table->GetColCount(), 3) << where;
                for (int row = 0; row < table->GetRowCount(); ++row) {
                    for (int col = 0; col < table->GetColCount(); ++col) {
                        const auto cell = table->GetCell(col, row);
                        ASSERT_TRUE(cell && cell->GetBuffer()) << where << " " << row << "," << col;
                        EXPECT_FALSE(cell->GetBuffer()->GetText().empty());
                    }
                }
            } else if (auto animated = tarn::Cast<graphics::animation::CGraphicAnimationImage>(element)) {
                const auto animation = animated->GetAnimation();
                ASSERT_TRUE(animation) << where;
                EXPECT_TRUE(animation->GetLoop()) << where;
                if (auto frames = tarn::Cast<graphics::animation::CAnimation>(animation)) {
                    ++frameAnimations;
                    EXPECT_EQ(frames->GetFrameCount(), 12u);
                } else if (auto gif = tarn::Cast<graphics::animation::CGIFAnimation>(animation)) {
                    ++gifAnimations;
                    EXPECT_EQ(gif->GetFrameCount(), 8u);
                }
            }
        }
    }
    EXPECT_EQ(images, 4);  // three backgrounds and the cover picture
    EXPECT_GE(texts, 10);
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(frameAnimations, 1);
    EXPECT_EQ(gifAnimations, 1);

    const auto music = m_product->GetMusic();
    ASSERT_FALSE(music->IsEmpty());
    EXPECT_TRUE(music->IsLoop());
    EXPECT_EQ(music->GetFormat(), L"wav");
    EXPECT_EQ(music->GetData()->GetLength(), m_entries.at("music/theme.wav").size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(music->GetData()->GetData()), 4), "RIFF");

    ASSERT_TRUE(m_product->GetSplash());
    EXPECT_TRUE(m_product->GetSplash()->IsOk());
    EXPECT_EQ(m_product->GetSplashDuration(), 2500);

    // The icon is read from disk by the player, next to the content file.
    const fs::path icon = m_assets / m_product->GetIconFileName().GetFullPath().ToStdString();
    wxImage image;
    EXPECT_TRUE(image.LoadFile(icon.string(), wxBITMAP_TYPE_ICO)) << icon;
}

TEST_F(DemoMenuTest, GermanTranslationsReplaceTitlesAndLabels) {
    ASSERT_EQ(m_product->GetPageCount(), 3u);
    const std::map<std::wstring, std::wstring> german{
        {L"main", L"Start"}, {L"guide", L"Anleitung"}, {L"showcase", L"Animationen"}};
    const std::map<std::wstring, std::wstring> english{
        {L"main", L"Start"}, {L"guide", L"Guide"}, {L"showcase", L"Animations"}};

    m_product->SetLocalizer(tarn::New<CDemoLocalizer>(*m_product, L"de-de"));
    for (const auto& [name, title] : german) EXPECT_EQ(Page(name)->GetDisplayTitle(), title);
    const auto quit = tarn::Cast<CGraphicActionButton>(Page(L"main")->GetDocument()->GetAt(
        [&] {
            const auto document = Page(L"main")->GetDocument();
            for (std::size_t i = 0; i < document->GetCount(); ++i) {
                if (document->GetAt(i)->GetName() == L"quit") return i;
            }
            return document->GetCount();
        }()));
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->GetLabel(), L"Beenden");

    m_product->SetLocalizer(tarn::New<CDemoLocalizer>(*m_product, L"en-us"));
    for (const auto& [name, title] : english) EXPECT_EQ(Page(name)->GetDisplayTitle(), title);
    EXPECT_EQ(quit->GetLabel(), L"Quit");

    // Every page has a breadcrumb and a status text that shows the hovered button's hint.
    for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
        const auto document = m_product->GetPage(i)->GetDocument();
        bool breadcrumb = false, hint = false;
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            if (!tarn::Cast<graphics::CGraphicText>(element)) continue;
            breadcrumb = breadcrumb || element->GetName() == L"$breadcrumb";
            hint = hint || element->GetTags().count(L"hint") > 0;
        }
        EXPECT_TRUE(breadcrumb) << i;
        EXPECT_TRUE(hint) << i;
    }
}
