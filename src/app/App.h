#pragma once
// The player's application object: reads the command line, loads the menu and shows it.

#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

namespace lum::data {
class CElementFactories;
}

class CApp : public wxApp {
public:
    CApp();
    ~CApp() override;

    bool OnInit() override;
    // The product language, for example "de-de"; "en-us" when the system's is unknown.
    std::wstring GetLanguage() const { return m_language; }

    // The language code of a toolkit language ("de_DE" becomes "de-de").
    static std::wstring LanguageCode(int toolkitLanguage);

private:
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
