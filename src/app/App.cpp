#include "app/App.h"

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

#include <cstdlib>
#include <iostream>

#include "app/MainFrame.h"
#include "app/ProgramInformation.h"
#include "app/SystemLanguage.h"
#include "graphics/PictureHandlers.h"
#include "graphics/skin/SkinManager.h"
#include "lum/data/ElementFactories.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "tarn/win32/Terminal.h"
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

namespace {

// "cannot open the menu 'X': REASON", each value set once: neither may fill the other's place.
std::wstring CannotOpenText(const std::wstring& content, const std::wstring& reason) {
    const std::wstring text =
        tarn::Localize(L"lum.CApp.CannotOpen", L"cannot open the menu '%MENU%': %REASON%");
    const std::size_t at = text.find(L"%REASON%");
    if (at == std::wstring::npos) return tarn::SetPlaceholder(text, L"MENU", content);
    return tarn::SetPlaceholder(text.substr(0, at), L"MENU", content) + reason +
           tarn::SetPlaceholder(text.substr(at + 8), L"MENU", content);
}

constexpr std::size_t kMaxBoxWord = 120;
constexpr std::size_t kMaxBoxText = 2000;

// The line as a message box shows it. A reason may quote a value of a megabyte without a
// blank: the box would take many seconds to lay it out, on one line wider than any screen.
// So long words and long texts are cut short there (stderr has them whole).
std::wstring BoxText(const std::wstring& line) {
    std::wstring shown;
    std::size_t word = 0;  // characters since the last blank
    for (const wchar_t c : line) {
        if (shown.size() >= kMaxBoxText) return shown + L"...";
        word = c == L' ' ? 0 : word + 1;
        // Never half of a UTF-16 pair (where wchar_t is 16 bits wide).
        if (word == kMaxBoxWord && c >= 0xD800 && c <= 0xDBFF) ++word;
        if (word == kMaxBoxWord + 1) shown += L"...";
        if (word <= kMaxBoxWord) shown += c;
    }
    return shown;
}

}  // namespace

bool CApp::Initialize(int& count, wxChar** values) {
    std::vector<std::wstring> arguments;
    for (int i = 0; i < count; ++i) arguments.emplace_back(values[i]);
    if (const auto text = ProgramInformationAsked(arguments)) {
        // Nothing of the toolkit has started yet, so there is nothing to end.
        std::cout << *text << std::flush;
        std::exit(EXIT_SUCCESS);
    }
    return wxApp::Initialize(count, values);
}

int CApp::OnRun() { return m_exitStatus ? *m_exitStatus : wxApp::OnRun(); }

void CApp::FailStart(const wxString& content, const std::wstring& reason) {
    const std::wstring text = L"lumplayer: " + CannotOpenText(content.ToStdWstring(), reason);
    std::cerr << tarn::ToUtf8(text) << std::endl;
    // Started from a file manager or an autorun nobody reads stderr, and silence would look
    // as if nothing had happened.
    if (!tarn::win32::IsErrorOutputTerminal()) {
        wxMessageBox(BoxText(text), "lumplayer", wxOK | wxICON_ERROR | wxCENTRE, nullptr);
    }
    m_exitStatus = kCannotOpenStatus;
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
    m_language = SystemProductLanguage();

    auto* frame = new CMainFrame(wxString());
    const wxString content = argc == 1
                                 ? program.GetPath(wxPATH_GET_VOLUME) + "/content.lum"
                                 : wxString(argv[1]);
    bool loaded = false;
    std::wstring problem;
    try {
        loaded = frame->LoadContent(content);
    } catch (const tarn::CException& error) {
        problem = error.GetDescription();
    } catch (const std::exception& error) {
        problem = tarn::FromUtf8(error.what());
    }
    if (!loaded) {
        if (const auto product = frame->GetProduct(); problem.empty() && product) {
            problem = product->GetLoadProblem();
        }
        if (problem.empty()) problem = tarn::Localize(L"lum.CProduct.NoPages", L"it has no pages");
        frame->Destroy();
        FailStart(content, problem);
        return true;  // OnRun gives the status
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
