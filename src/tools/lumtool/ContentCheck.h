#pragma once
// Reads a content file with the player's own loader and finds what would go wrong when the
// player shows it: missing or unreadable attachments, actions that lead nowhere, skins without
// the looks their buttons show, page names that clash, music that does not play.

#include <wx/xml/xml.h>

#include <string>
#include <vector>

#include "CheckFinding.h"
#include "graphics/ContentSource.h"
#include "lum/data/Product.h"

namespace lumtool {

class CContentCheck {
public:
    explicit CContentCheck(std::string path) : m_path(std::move(path)) {}

    // Reads the content file, or an unpacked folder, and runs every check. Raises CUsageError
    // with the reason when it cannot be read as a menu at all (no ZIP archive, no product.xml,
    // malformed XML, a reading error of the loader, no pages, a folder that cannot be listed
    // completely). Needs the GUI toolkit and the
    // element factories.
    void Run();

    // The disc's root, where the files that actions run or open are looked for; by default
    // the menu folder itself, or the folder beside the content file.
    void SetDiscRoot(std::string root) { m_discRoot = std::move(root); }

    const std::vector<std::wstring>& GetPageNames() const { return m_pageNames; }
    // In the order found; the same text only once.
    const std::vector<SFinding>& GetFindings() const { return m_findings; }

private:
    void ReadDescription(graphics::CContentSource& source, wxXmlDocument& document,
                         std::string& text) const;
    // Names and values the player does not read, then what else the format's schema refuses.
    void CheckNames(const wxXmlNode& root, const std::string& text);
    void LoadProduct();
    void CheckAttachments(graphics::CContentSource& source, const wxXmlDocument& document);
    // Only for a folder: what a content file packed from it would not hold.
    void CheckLeftOut(graphics::CContentSource& source);
    void CheckPageNames();
    void CheckButtons();
    void CheckSkin(const std::wstring& place, const graphics::CGraphicElement& element);
    void CheckGotoPage(const std::wstring& place, const graphics::CGraphicElement& element);
    void CheckMusic();
    // The files and folders that actions name on the disc (DiscCheck.cpp).
    void CheckDiscFiles(graphics::CContentSource& source);
    bool HasPage(const std::wstring& name) const;
    [[noreturn]] void Unreadable(const std::string& reason) const;
    void Error(const std::wstring& text) { Report(ESeverity::Error, text); }
    void Warning(const std::wstring& text) { Report(ESeverity::Warning, text); }
    void Report(ESeverity severity, const std::wstring& text);
    // The findings of a check kept in a file of its own, each text once.
    void Report(const std::vector<SFinding>& findings);

    std::string m_path;
    std::string m_discRoot;
    tarn::P<lum::data::CProduct> m_product;
    std::vector<std::wstring> m_pageNames;
    std::vector<SFinding> m_findings;
};

}  // namespace lumtool
