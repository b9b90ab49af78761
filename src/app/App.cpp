#include "app/App.h"

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

#include <iostream>

#include "app/MainFrame.h"
#include "graphics/PictureHandlers.h"
#include "graphics/skin/SkinManager.h"
#include "lum/data/ElementFactories.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/VirtualDisplay.h"
#include "wxutil/LocaleManager.h"
#include "wxutil/MyStringLocalizer.h"

CApp::CApp() { tarn::win32::SkipOpenGL(); }  // constructed before the toolkit starts
CApp::~CApp() = default;

std::wstring CApp::LanguageCode(int toolkitLanguage) {
    if (toolkitLanguage == wxLANGUAGE_UNKNOWN) return L"en-us";
    const wxLanguageInfo* info = wxLocale::GetLanguageInfo(toolkitLanguage);
    if (info == nullptr || info->CanonicalName.empty()) return L"en-us";
    wxString code = info->CanonicalName.Lower();
    code.Replace("_", "-");
    return code.ToStdWstring();
}

CStartOptions ScanStartOptions(const std::vector<std::wstring>& arguments) {
    CStartOptions options;
    const auto valueAfter = [&](std::size_t& i) {
        ++i;
        return i < arguments.size() ? arguments[i] : std::wstring();
    };
    const auto trimmed = [](std::wstring text) {
        return wxString(text).Trim(true).ToStdWstring();
    };
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == L"-nosplash") options.noSplash = true;
        if (arguments[i] == L"-author") options.author = true;
        if (arguments[i] == L"-fullscreen") options.fullScreen = true;
        if (i < arguments.size() && arguments[i] == L"-page") options.page = valueAfter(i);
        if (i < arguments.size() && arguments[i] == L"-langfolder") {
            options.languageFolder = trimmed(valueAfter(i));
        }
        if (i < arguments.size() && arguments[i] == L"-lang") options.language = trimmed(valueAfter(i));
    }
    return options;
}

bool CApp::OnInit() {
    if (argc == 0) return false;
    // Messages go to the terminal: a menu on a stranger's computer shows no log dialogs.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxutil::CMyStringLocalizer::Install();
    m_factories = std::make_unique<lum::data::CElementFactories>();

    const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
    wxFileName skins = wxFileName::DirName(program.GetPath(wxPATH_GET_VOLUME));
    skins.AppendDir("skins");
    skins.AppendDir("graphics");
    graphics::GetSkinManager()->SetArtFolder(skins);
    graphics::InstallPictureHandlers();
    m_language = LanguageCode(wxLocale::GetSystemLanguage());

    auto* frame = new CMainFrame(wxString());
    const wxString content = argc == 1
                                 ? program.GetPath(wxPATH_GET_VOLUME) + "/content.lum"
                                 : wxString(argv[1]);
    bool loaded = false;
    try {
        loaded = frame->LoadContent(content);
    } catch (const tarn::CException& error) {
        // The menu cannot be shown: say why where a developer looks, and show nothing.
        std::cerr << "lumplayer: " << tarn::ToUtf8(error.GetDescription()) << "\n";
    }
    if (!loaded) {
        if (const auto product = frame->GetProduct();
            product && !product->GetLoadProblem().empty()) {
            std::cerr << "lumplayer: cannot open the menu '" << content.utf8_string()
                      << "': " << tarn::ToUtf8(product->GetLoadProblem()) << "\n";
        }
        frame->Destroy();
        return false;
    }

    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(argv[i].ToStdWstring());
    const CStartOptions options = ScanStartOptions(arguments);
    if (!options.languageFolder.empty() && !options.language.empty()) {
        const auto locales = wxutil::CLocaleManager::Instance();
        locales->AddPacks(options.languageFolder, L"quellbrook-", L"quellbrook");
        locales->SetLanguage(options.language, true);
    }
    if (!options.noSplash) frame->ShowSplash();
    if (!options.page.empty()) frame->GotoPage(options.page, false, false);
    if (options.author) frame->SetAuthorMode(true);
    frame->Center(wxBOTH);
    // Full screen asked for before the window appears: it appears full screen.
    if (options.fullScreen) frame->SetFullScreen(true);
    frame->Show(true);
    // Keys go to the page from the start.
    frame->GetViewControl()->SetFocus();
    return true;
}
