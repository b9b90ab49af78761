#pragma once
// The player's only window: shows the pages of the loaded menu, keeps the navigation
// history, carries out the actions of clicked buttons and plays the background music.

#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ContentWatcher.h"
#include "app/EventForwarder.h"
#include "lum/DecodedPages.h"
#include "lum/History.h"
#include "lum/MusicPainter.h"
#include "lum/ProductStringLocalizer.h"
#include "app/Sound.h"
#include "graphics/components/ViewControl.h"
#include "lum/data/Action.h"
#include "lum/data/Product.h"

class CMainFrame : public wxFrame,
                   public graphics::components::CViewControl::IClickHandler,
                   public graphics::components::CView::IMouseListener {
public:
    using CViewPainter = lum::CMusicPainter;

    explicit CMainFrame(const wxString& title);
    ~CMainFrame() override;

    // False when the file (or unpacked folder) yields no pages; reading errors pass out.
    bool LoadContent(const wxString& path);
    // Reads the content again from disk and shows the same page (by name), or the main page
    // when it is gone. When the new content cannot be read the old one stays on screen and
    // the status line says why; false then.
    bool Reload();
    // Author mode: a status line, and a reload whenever a file the content was read from
    // changes (polled every CContentWatcher::kPollMilliseconds).
    void SetAuthorMode(bool on);
    bool IsAuthorMode() const { return m_authorMode; }
    // The text of the status line; empty while there is none.
    wxString GetStatusLine() const;
    // The files a change of which author mode reloads on.
    const std::vector<std::wstring>& GetWatchedFiles() const { return m_watcher.GetFiles(); }
    bool GotoPage(const std::wstring& name, bool transition, bool addToHistory);
    bool ShowPage(const tarn::P<lum::data::CPage>& page, bool transition, bool addToHistory);
    void UpdateTitle();
    void UpdateBreadcrumb();
    wxFileName ResolvePath(const wxFileName& fileName) const;
    // Shows the product's splash for its duration (at least the fade period).
    void ShowSplash();
    void ExecuteAction(const lum::data::CAction& action);
    void PlayMusic(const tarn::P<lum::data::CMusic>& music);
    void StopMusic();

    void OnClick(graphics::CGraphicStateButton& button) override;
    bool OnMouse(wxMouseEvent& event) override;
    bool ProcessEvent(wxEvent& event) override;

    // ---- Keys and full screen (MainFrameKeys.cpp) ----
    // Going back and to the main page, as the actions of those names do (with the fade).
    void GoBack();
    void GotoMainPage();
    // Stops or restarts the music, as a click on its icon does; false without music.
    bool ToggleMusic();
    // Full screen shows the page scaled to fit the screen, keeping its aspect ratio, centred
    // on black; leaving it gives back the window of the menu's client size.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreenShown() const { return m_fullScreen; }
    // The keys of the view: Tab and Shift+Tab, the arrows, Enter and Space, Backspace and
    // Alt+Left, Alt+Home, M, F11 and Escape. True when the key was one of them.
    bool HandleKeyDown(const wxKeyEvent& event);
    bool HandleKeyUp(const wxKeyEvent& event);

    graphics::components::CViewControl* GetViewControl() const { return m_view; }
    tarn::P<lum::data::CProduct> GetProduct() const { return m_product; }
    tarn::P<lum::data::CPage> GetCurrentPage() const { return m_currentPage; }
    tarn::P<lum::CHistory> GetHistory() const { return m_history; }
    const CSound* GetSound() const { return m_sound.get(); }
    tarn::P<CViewPainter> GetMusicPainter() const { return m_musicPainter; }

private:
    void RunFile(const lum::data::CAction& action);
    void OpenFolder(const lum::data::CAction& action);
    void ChangePage(const lum::data::CAction& action);
    void ChangeLanguage(const lum::data::CAction& action);
    void OnViewKeyDown(wxKeyEvent& event);
    void OnViewKeyUp(wxKeyEvent& event);
    // The window keeps the menu's client size while it is not full screen.
    void FixWindowSize();
    // After leaving full screen the desktop gives the window back its decorations, which
    // changes what the size limits mean: the size is fixed again once it has settled.
    void OnFrameSize(wxSizeEvent& event);
    void OnPrepareTimer(wxTimerEvent& event);
    // Ends the main loop and hides the window (it is not destroyed).
    void Quit();
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    // Makes product the shown one: texts, size, icon and music (music that did not change
    // plays on).
    void InstallProduct(const tarn::P<lum::data::CProduct>& product);
    void ApplyIcon();
    void ShowStatus(const wxString& text);

    wxString m_contentPath;
    bool m_authorMode = false;
    CContentWatcher m_watcher;
    std::unique_ptr<CContentWatchTimer> m_watchTimer;
    // The pages the shown page leads to, made ready at the view's scale one at a time once
    // the page has settled, so that a click only has to fade.
    static constexpr int kPrepareDelayMs = 150;
    wxTimer m_prepareTimer;
    std::vector<tarn::P<lum::data::CPage>> m_pagesToPrepare;
    lum::CDecodedPages m_decodedPages;

    graphics::components::CViewControl* m_view = nullptr;
    CEventForwarder m_forwarder;
    tarn::P<lum::data::CProduct> m_product;
    tarn::P<lum::data::CPage> m_currentPage;
    tarn::P<lum::CHistory> m_history;
    tarn::P<lum::CProductStringLocalizer> m_localizer;
    std::unique_ptr<CSound> m_sound;
    int m_soundFlags = 0;  // how the music plays, again when it is switched back on
    tarn::P<CViewPainter> m_musicPainter;
    wxString m_contentFolder;
    bool m_fullScreen = false;
    int m_sizeFixes = 0;  // bounded: a desktop that insists on another size keeps it
    // The key (Enter or Space) that holds the focused button down, 0 for none.
    int m_pressKey = 0;

    wxDECLARE_EVENT_TABLE();
};
