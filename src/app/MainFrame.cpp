#include "app/MainFrame.h"

#include <wx/app.h>
#include <wx/datetime.h>
#include <wx/statusbr.h>
#include <wx/filefn.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <algorithm>
#include <cmath>

#include "app/App.h"
#include "lum/MenuView.h"
#include "lum/BuiltInIcons.h"
#include "lum/PathResolver.h"
#include "app/SplashFrame.h"
#include "graphics/QuietAsserts.h"
#include "graphics/components/FastFadeTransitionController.h"
#include "lum/DecodedPages.h"
#include "lum/LinkedPages.h"
#include "lum/data/GraphicActionButton.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "tarn/URI.h"
#include "tarn/win32/System.h"

wxBEGIN_EVENT_TABLE(CMainFrame, wxFrame)
    EVT_CLOSE(CMainFrame::OnClose)
wxEND_EVENT_TABLE()

namespace {

using graphics::components::CFastFadeTransitionController;
using lum::data::EActionType;
using lum::data::EChangePageKind;

wxString ProgramFolder() {
    return wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath(wxPATH_GET_VOLUME);
}

bool SameMusic(const lum::data::CMusic& a, const lum::data::CMusic& b) {
    if (a.GetFormat() != b.GetFormat() || a.IsLoop() != b.IsLoop()) return false;
    const auto first = a.GetData();
    const auto second = b.GetData();
    if (!first || !second) return !first && !second;
    return first->GetLength() == second->GetLength() &&
           std::equal(first->GetData(), first->GetData() + first->GetLength(), second->GetData());
}

std::wstring ProductLanguage() {
    if (const auto* app = dynamic_cast<CApp*>(wxApp::GetInstance())) return app->GetLanguage();
    return L"en-us";
}

}  // namespace

CMainFrame::CMainFrame(const wxString& title)
    // Resizable only so that the desktop lets it go full screen: its size is held at the
    // menu's client size otherwise (FixWindowSize).
    : wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(600, 600),
              wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxCLIP_CHILDREN | wxRESIZE_BORDER) {
    const wxEventType forwarded[] = {wxEVT_MENU, wxEVT_UPDATE_UI, wxEVT_KEY_UP, wxEVT_KEY_DOWN,
                                     wxEVT_CHECKBOX};
    for (const wxEventType type : forwarded) {
        m_forwarder.AddType(type);
    }
    m_view = new graphics::components::CViewControl(this, wxID_ANY, wxDefaultPosition,
                                                    wxDefaultSize, wxBORDER_NONE);
    m_forwarder.SetTarget(m_view);
    lum::ConfigureMenuView(*m_view);
    m_view->SetClickHandler(this);
    m_view->SetMouseListener(this);
    m_view->Bind(wxEVT_KEY_DOWN, &CMainFrame::OnViewKeyDown, this);
    m_view->Bind(wxEVT_KEY_UP, &CMainFrame::OnViewKeyUp, this);
    Bind(wxEVT_SIZE, &CMainFrame::OnFrameSize, this);
    m_prepareTimer.Bind(wxEVT_TIMER, &CMainFrame::OnPrepareTimer, this);
    m_history = tarn::New<lum::CHistory>();
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_view, 1, wxEXPAND, 5);
    SetSizer(sizer);
    SetIcons(lum::GetMainIcons());
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
}

CMainFrame::~CMainFrame() {
    m_watchTimer.reset();
    StopMusic();
    m_view->SetPainter({});
    m_view->SetMouseListener(nullptr);
    m_view->SetClickHandler(nullptr);
    m_musicPainter = {};
    if (m_localizer) tarn::GetGlobalLocalizer()->SetFallback({});
    m_localizer = {};
    m_history = {};
    if (m_currentPage) m_currentPage->Deactivate();
    m_currentPage = {};
    m_product = {};
}

bool CMainFrame::LoadContent(const wxString& path) {
    m_contentPath = path;
    const auto product = tarn::New<lum::data::CProduct>();
    m_product = product;
    const wxFileName file(path);
    product->Load(file);
    if (product->GetPageCount() == 0) return false;
    wxFileName absolute(file);
    absolute.MakeAbsolute();
    // Files the menu names relative to the disc lie beside a content file, and inside an
    // unpacked folder: the folder stands for the disc the content file will be on.
    m_contentFolder =
        product->IsFolder() ? absolute.GetFullPath() : absolute.GetPath(wxPATH_GET_VOLUME);
    m_product = {};
    InstallProduct(product);
    ShowPage(m_product->GetPage(0), false, true);
    m_watcher.Watch(m_product->GetSourceFiles());
    return true;
}

void CMainFrame::InstallProduct(const tarn::P<lum::data::CProduct>& product) {
    const tarn::P<lum::data::CProduct> previous = m_product;
    m_decodedPages = lum::CDecodedPages();  // the pages it kept go with their product
    const std::wstring language = m_localizer ? m_localizer->GetLanguage() : ProductLanguage();
    m_product = product;
    m_localizer = tarn::New<lum::CProductStringLocalizer>(m_product, language);
    tarn::GetGlobalLocalizer()->SetFallback(m_localizer);
    m_product->SetLocalizer(m_localizer);

    // The page fills the window as the menu's client area: at that size exactly, and scaled
    // to fit whenever the window is larger (full screen) or smaller.
    m_view->SetFitCanvas(lum::MenuClientSize(*m_product));
    FixWindowSize();
    Layout();
    ApplyIcon();

    const tarn::P<lum::data::CMusic> music = m_product->GetMusic();
    const tarn::P<lum::data::CMusic> before = previous ? previous->GetMusic() : nullptr;
    if (m_sound && before && SameMusic(*before, *music)) return;  // it plays on
    if (m_sound) {
        StopMusic();
        m_view->SetPainter({});
        m_musicPainter = {};
    }
    if (music && !music->IsEmpty()) PlayMusic(music);
}

void CMainFrame::ApplyIcon() {
    const wxFileName icon = ResolvePath(m_product->GetIconFileName());
    if (!icon.IsOk() || !icon.FileExists()) return;
    // A damaged icon file leaves the built-in one, silently. Read as an image, so that the
    // program's own icon reader decodes it (wxIcon::LoadFile would try every format).
    const wxLogNull quiet;
    const graphics::CQuietAsserts noDialogs;
    wxImage loaded;
    if (loaded.LoadFile(icon.GetFullPath(), wxBITMAP_TYPE_ICO) && loaded.IsOk()) {
        wxIcon shown;
        shown.CopyFromBitmap(wxBitmap(loaded));
        if (shown.IsOk()) SetIcon(shown);
    }
}

bool CMainFrame::Reload() {
    if (m_contentPath.empty()) return false;
    const auto product = tarn::New<lum::data::CProduct>();
    std::wstring problem;
    try {
        product->Load(wxFileName(m_contentPath));
    } catch (const tarn::CException& error) {
        problem = error.GetDescription();
    } catch (const std::exception& error) {
        problem = wxString::FromUTF8(error.what()).ToStdWstring();
    }
    if (problem.empty() && product->GetPageCount() == 0) {
        problem = product->GetLoadProblem();
        if (problem.empty()) problem = tarn::Localize(L"lum.CProduct.NoPages", L"it has no pages");
    }
    if (!problem.empty()) {
        // What failed to load is watched too, so that the fix of a broken edit is noticed.
        std::vector<std::wstring> files = m_watcher.GetFiles();
        for (const std::wstring& file : product->GetSourceFiles()) {
            if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
        }
        m_watcher.Watch(files);
        const std::wstring text = tarn::SetPlaceholder(
            tarn::Localize(L"lum.CMainFrame.ReloadFailed",
                           L"Reload failed: %REASON%. The menu shown is the one read before."),
            L"REASON", problem);
        wxLogMessage("%s", wxString(text));  // also where whoever tests a menu reads it
        ShowStatus(text);
        return false;
    }

    // The same page again, and the way to it as far as its pages still exist.
    const std::wstring current = m_currentPage ? m_currentPage->GetName() : std::wstring();
    std::vector<std::wstring> path;
    for (std::int32_t i = 0; i <= m_history->GetPosition(); ++i) {
        path.push_back(m_history->GetPage(static_cast<std::size_t>(i))->GetName());
    }
    const auto find = [&product](const std::wstring& name) -> tarn::P<lum::data::CPage> {
        for (std::size_t i = 0; i < product->GetPageCount(); ++i) {
            if (product->GetPage(i)->GetName() == name) return product->GetPage(i);
        }
        return product->FindPage(name);
    };
    const tarn::P<lum::data::CPage> page = current.empty() ? nullptr : find(current);

    if (m_currentPage) m_currentPage->Deactivate();
    m_currentPage = {};
    InstallProduct(product);
    m_history = tarn::New<lum::CHistory>();
    if (page) {
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            if (const auto earlier = find(path[i])) m_history->Push(earlier);
        }
        m_history->Push(page);
        ShowPage(page, false, false);
    } else {
        ShowPage(m_product->GetPage(0), false, true);
    }
    m_watcher.Watch(m_product->GetSourceFiles());
    if (GetStatusBar() != nullptr) {
        ShowStatus(tarn::SetPlaceholder(
            tarn::Localize(L"lum.CMainFrame.Reloaded", L"Reloaded at %TIME%."), L"TIME",
            wxDateTime::Now().FormatISOTime().ToStdWstring()));
    }
    return true;
}

void CMainFrame::SetAuthorMode(bool on) {
    m_authorMode = on;
    if (!on) {
        m_watchTimer.reset();
        return;
    }
    ShowStatus(tarn::SetPlaceholder(
        tarn::Localize(L"lum.CMainFrame.AuthorMode",
                       L"Author mode: the menu reloads when one of its %COUNT% files changes; "
                       L"F5 reloads now."),
        L"COUNT", std::to_wstring(m_watcher.GetFiles().size())));
    m_watchTimer = std::make_unique<CContentWatchTimer>(m_watcher, [this] { Reload(); });
    m_watchTimer->Start(CContentWatcher::kPollMilliseconds);
}

void CMainFrame::ShowStatus(const wxString& text) {
    if (GetStatusBar() == nullptr) {
        CreateStatusBar(1);
        // The page keeps its size; the window grows by the status line.
        Layout();
        if (!m_fullScreen) FixWindowSize();
    }
    SetStatusText(text);
}

wxString CMainFrame::GetStatusLine() const {
    const wxStatusBar* bar = GetStatusBar();
    return bar ? bar->GetStatusText() : wxString();
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_F5 && event.GetModifiers() == wxMOD_NONE) {
        Reload();
        return;
    }
    event.Skip();
}

bool CMainFrame::ShowPage(const tarn::P<lum::data::CPage>& page, bool transition,
                          bool addToHistory) {
    const tarn::P<graphics::CGraphicDocument> document = page->GetDocument();
    // A page change puts the focus on no button, also when the page is the same.
    m_view->ClearFocus();
    if (transition) {
        m_view->ChangeDocument(document, tarn::New<CFastFadeTransitionController>(0, 255));
    } else {
        m_view->SetDocument(document);
    }
    if (m_currentPage) m_currentPage->Deactivate();
    m_currentPage = page;
    m_currentPage->Activate();
    if (addToHistory) m_history->Push(page);
    UpdateTitle();
    UpdateBreadcrumb();
    if (m_product) {
        m_pagesToPrepare = lum::LinkedPages(*m_product, *page);
        m_decodedPages.Show(page, m_pagesToPrepare);
        std::reverse(m_pagesToPrepare.begin(), m_pagesToPrepare.end());  // first button first
        m_prepareTimer.StartOnce(kPrepareDelayMs);
    }
    return true;
}

void CMainFrame::OnPrepareTimer(wxTimerEvent&) {
    if (m_pagesToPrepare.empty()) return;
    if (m_view->IsTransitionRunning()) {
        m_prepareTimer.StartOnce(kPrepareDelayMs);
        return;
    }
    const tarn::P<lum::data::CPage> page = m_pagesToPrepare.back();
    m_pagesToPrepare.pop_back();
    m_view->PreparePicture(page->GetDocument());
    if (!m_pagesToPrepare.empty()) m_prepareTimer.StartOnce(1);
}

bool CMainFrame::GotoPage(const std::wstring& name, bool transition, bool addToHistory) {
    if (!m_product) return false;
    const tarn::P<lum::data::CPage> page = m_product->FindPage(name);
    return page && ShowPage(page, transition, addToHistory);
}

void CMainFrame::UpdateTitle() {
    if (!m_product || !m_currentPage) return;
    SetTitle(wxString::Format("%s [%s]", wxString(m_product->GetTitle()),
                              wxString(m_currentPage->GetDisplayTitle())));
}

void CMainFrame::UpdateBreadcrumb() {
    if (!m_currentPage || !m_currentPage->GetDocument()) return;
    if (lum::ApplyBreadcrumb(*m_currentPage->GetDocument(), m_history->GetBreadcrumb())) {
        m_view->Refresh(false);
    }
}

wxFileName CMainFrame::ResolvePath(const wxFileName& fileName) const {
    const wxFileName base = m_product ? m_product->GetBase() : wxFileName();
    return lum::ResolveContentPath(fileName, ProgramFolder(), base, m_contentFolder);
}

void CMainFrame::ShowSplash() {
    if (!m_product || m_product->GetSplash() == nullptr) return;
    common::dialog::wx::ShowProductSplash(m_product->GetSplash(), m_product->GetSplashDuration());
}

// ---- Actions ----

namespace {

// A website goes to the desktop only as an address it cannot take for an option or a file.
void OpenWebsite(const std::wstring& website) {
    const std::wstring address = tarn::win32::CSystem::WebsiteAddress(website);
    if (address.empty()) {
        throw tarn::CError(L"The website '" + website + L"' is not an address the player opens");
    }
    tarn::win32::GetSystem()->ShellOpen(tarn::New<tarn::CURI>(address));
}

}  // namespace

void CMainFrame::OnClick(graphics::CGraphicStateButton& button) {
    auto* actionButton = dynamic_cast<lum::data::CGraphicActionButton*>(&button);
    if (actionButton == nullptr) return;
    // The action may replace the page and with it the button: work on a copy.
    const auto action = tarn::New<lum::data::CAction>();
    action->Assign(*actionButton->GetAction());
    try {
        ExecuteAction(*action);
    } catch (const tarn::CException& error) {
        // A damaged address or a failing desktop call must not end the menu.
        wxLogError("%s", wxString(error.GetDescription()));
    }
}

void CMainFrame::ExecuteAction(const lum::data::CAction& action) {
    if (!action.IsValid()) {
        const std::wstring text =
            tarn::Localize(L"lum.CMainFrame.ActionNoValid",
                           L"The requested action is not valid in the preview:\n") +
            action.GetDescription();
        // Also on the terminal, where whoever tests a menu can read it.
        wxLogMessage("%s", wxString(text));
        wxMessageBox(text, wxMessageBoxCaptionStr, wxOK | wxCENTRE, nullptr);
    }
    switch (action.GetType()) {
        case EActionType::RunFile:
        case EActionType::RunLocalFile:
            RunFile(action);
            break;
        case EActionType::ChangePage:
            ChangePage(action);
            break;
        case EActionType::OpenWebsite:
            OpenWebsite(action.GetWebsite());
            break;
        case EActionType::SendMail:
            tarn::win32::GetSystem()->ShellOpen(
                tarn::New<tarn::CURI>(L"mailto:" + action.GetEMail()));
            break;
        case EActionType::OpenFolder:
        case EActionType::OpenLocalFolder:
            OpenFolder(action);
            break;
        case EActionType::QuitProgram:
            StopMusic();
            Quit();
            break;
        case EActionType::ChangeLanguage:
            ChangeLanguage(action);
            break;
        case EActionType::Undefined:
        case EActionType::Custom:
            break;
    }
}

void CMainFrame::RunFile(const lum::data::CAction& action) {
    if (action.GetFile().empty()) return;
    wxFileName file = ResolvePath(wxFileName(wxString(action.GetFile())));
    file.MakeAbsolute();  // an absolute path is never taken for an option
    try {
        tarn::win32::GetSystem()->RunFile(file.GetFullPath().ToStdWstring(), action.GetParams());
    } catch (const tarn::CException& error) {
        // A program that cannot run here (from a noexec medium): whoever clicked learns why
        // nothing starts, and stderr has it too.
        wxLogMessage("%s", wxString(error.GetDescription()));
        wxMessageBox(error.GetDescription(), wxMessageBoxCaptionStr,
                     wxOK | wxICON_WARNING | wxCENTRE, this);
    }
}

void CMainFrame::OpenFolder(const lum::data::CAction& action) {
    if (action.GetFolder().empty()) return;
    wxFileName folder = ResolvePath(wxFileName(wxString(action.GetFolder())));
    folder.MakeAbsolute();
    tarn::win32::GetSystem()->ExploreFolder(folder.GetFullPath().ToStdWstring());
}

void CMainFrame::ChangePage(const lum::data::CAction& action) {
    switch (action.GetChangePageKind()) {
        case EChangePageKind::GoBack:
            GoBack();
            break;
        case EChangePageKind::GotoMainPage:
            GotoMainPage();
            break;
        case EChangePageKind::GotoPage:
            GotoPage(action.GetPage(), true, true);
            break;
    }
}

void CMainFrame::ChangeLanguage(const lum::data::CAction& action) {
    const std::wstring language = action.GetLanguage();
    if (language.empty() || !m_localizer) return;
    m_localizer->SetLanguage(language);
    m_product->SetLocalizer(m_localizer);
    m_view->Refresh(false);
    UpdateBreadcrumb();
    UpdateTitle();
}

void CMainFrame::Quit() {
    if (wxTheApp != nullptr) wxTheApp->ExitMainLoop();
    Hide();
}

// ---- Music ----

void CMainFrame::PlayMusic(const tarn::P<lum::data::CMusic>& music) {
    if (!music || music->IsEmpty() || music->GetFormat() != L"wav") return;
    const std::wstring extension = L"." + music->GetFormat();
    const auto system = tarn::win32::GetSystem();
    std::wstring path;
    try {
        const tarn::P<tarn::CURI> temporary = system->CreateUniqueFile(
            system->PathToURI(wxFileName::GetTempDir().ToStdWstring()), L"lum", extension);
        path = system->URIToPath(temporary, false);
        music->WriteTo(wxFileName(path));
    } catch (const tarn::CException& error) {
        // No place for the copy (a full or read-only temporary folder): the menu itself
        // still opens, only silent.
        wxLogWarning("The music is not played: %s", wxString(error.GetDescription()));
        if (!path.empty()) wxRemoveFile(path);
        return;
    }
    m_sound = std::make_unique<CSound>(path);
    // The copy exists only to be played.
    m_sound->RemoveFileOnDestroy();
    m_soundFlags = music->IsLoop() ? (kSoundAsync | kSoundLoop) : kSoundAsync;
    m_sound->Play(m_soundFlags);
    m_musicPainter = tarn::New<CViewPainter>();
    m_musicPainter->SetPlaying(true);
    m_view->SetPainter(m_musicPainter);
}

void CMainFrame::StopMusic() {
    if (!m_sound) return;
    CSound::Stop();
    m_sound.reset();
}

bool CMainFrame::OnMouse(wxMouseEvent& event) {
    if (!m_sound || !m_musicPainter) return false;
    // The icon lies in the page's pixels: scaled in full screen and on high-density screens.
    const wxPoint2DDouble position = m_view->ToPagePixels(event.GetPosition());
    if (!m_musicPainter->HitTest(static_cast<int>(std::floor(position.m_x)),
                                 static_cast<int>(std::floor(position.m_y)))) {
        return false;
    }
    return ToggleMusic();
}

bool CMainFrame::ToggleMusic() {
    if (!m_sound || !m_musicPainter) return false;
    if (m_musicPainter->IsPlaying()) {
        CSound::Stop();
        m_musicPainter->SetPlaying(false);
    } else {
        m_sound->Play(m_soundFlags);
        m_musicPainter->SetPlaying(true);
    }
    // The icon shows its new state at once, not at the next repaint the page happens to need.
    m_view->Refresh(false);
    return true;
}

// ---- Events ----

bool CMainFrame::ProcessEvent(wxEvent& event) {
    if (wxFrame::ProcessEvent(event)) return true;
    return m_forwarder.Forward(event);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    StopMusic();
    Quit();
    // The window stays (hidden) until the program ends, unless the close cannot be refused.
    if (event.CanVeto()) {
        event.Veto();
    } else {
        Destroy();
    }
}
