#pragma once
// The player's application object: reads the command line, loads the menu and shows it.

#include <wx/app.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lum::data {
class CElementFactories;
}

class CApp : public wxApp {
public:
    CApp();
    ~CApp() override;

    // Answers "--help" and "--version" before the toolkit starts, which needs a display.
    bool Initialize(int& argc, wxChar** argv) override;
    bool OnInit() override;
    // Runs the menu; when the start failed, only gives the exit status.
    int OnRun() override;
    // The product language, for example "de-de"; "en-us" when the system's is unknown.
    std::wstring GetLanguage() const { return m_language; }

    // The language code of a toolkit language ("de_DE" becomes "de-de").
    static std::wstring LanguageCode(int toolkitLanguage);

    // The exit status for a menu that cannot be opened.
    static constexpr int kCannotOpenStatus = 1;

private:
    // Says why the menu cannot be opened: one line on stderr and, when nobody may read that
    // (no terminal), the same text in a message box. The program then ends with status 1.
    void FailStart(const wxString& content, const std::wstring& reason);

    std::optional<int> m_exitStatus;  // set when the program ends without showing a menu
    std::wstring m_language;
    std::unique_ptr<lum::data::CElementFactories> m_factories;
};

// What the command line asks for beyond the content file (arguments from index 2 on).
struct CStartOptions {
    bool noSplash = false;
    bool author = false;  // "-author": reload when the content's files change
    bool fullScreen = false;  // "-fullscreen": start in full screen
    std::wstring page;
    std::wstring languageFolder;
    std::wstring language;
};

// Scans the options as the player always has: an option's value is examined by the checks
// that follow in the same pass, so "-page -lang de" names the page "-lang" and sets the
// language "de".
CStartOptions ScanStartOptions(const std::vector<std::wstring>& arguments);
