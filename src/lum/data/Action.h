#pragma once
// What a menu button does when it is clicked, with its XML form and its description.

#include <wx/xml/xml.h>

#include <cstdint>
#include <optional>
#include <string>

#include "graphics/ResourceStore.h"
#include "tarn/Object.h"

namespace lum::data {

enum class EActionType : std::int32_t {
    Undefined = 0,
    RunFile = 1,
    ChangePage = 2,
    OpenWebsite = 3,
    SendMail = 4,
    OpenFolder = 5,
    QuitProgram = 6,
    Custom = 7,
    ChangeLanguage = 8,
    OpenLocalFolder = 9,
    RunLocalFile = 10,
};

enum class EChangePageKind : std::int32_t {
    GoBack = 0,
    GotoMainPage = 1,
    GotoPage = 2,
};

class CAction : public tarn::CObject {
public:
    // Names compare without case; none for an unknown name.
    static std::optional<EActionType> FindType(const std::wstring& text);
    static std::optional<EChangePageKind> FindChangePageKind(const std::wstring& text);
    // As the Find functions, but an unknown name or value raises a tarn::CError.
    static EActionType TypeFromText(const std::wstring& text);
    static std::wstring TypeToText(EActionType type);
    static EChangePageKind ChangePageKindFromText(const std::wstring& text);
    static std::wstring ChangePageKindToText(EChangePageKind kind);

    // Changes only what the element carries. An unknown "type" leaves the type as it was;
    // an unknown "change-page" raises. The store is not used.
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store);
    // Writes every attribute, replacing those already there. An out-of-range type or kind
    // raises before anything is written.
    void WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const;
    // Copies every field, so that the two actions share nothing; each keeps its own
    // reference count.
    void Assign(const CAction& other) { *this = other; }

    // The localized, human-readable text; also the hint of an action button.
    std::wstring GetDescription() const;

    // What GetDescription localizes: the message key, its English text and, for a text with a
    // placeholder, the placeholder's name and the value it gets. An empty key for none.
    struct SDescriptionText {
        std::wstring key;
        std::wstring text;
        std::wstring placeholder;
        std::wstring value;
    };
    SDescriptionText GetDescriptionText() const;

    EActionType GetType() const { return m_type; }
    EChangePageKind GetChangePageKind() const { return m_changePageKind; }
    bool IsValid() const { return m_valid; }
    std::wstring GetEMail() const { return m_eMail; }
    std::wstring GetWebsite() const { return m_website; }
    std::wstring GetPage() const { return m_page; }
    std::wstring GetFolder() const { return m_folder; }
    std::wstring GetFile() const { return m_file; }
    std::wstring GetCommand() const { return m_command; }
    std::wstring GetParams() const { return m_params; }
    std::wstring GetLanguage() const { return m_language; }

    void SetType(EActionType type) { m_type = type; }
    void SetChangePageKind(EChangePageKind kind) { m_changePageKind = kind; }
    void SetValid(bool valid) { m_valid = valid; }
    void SetEMail(std::wstring value) { m_eMail = std::move(value); }
    void SetWebsite(std::wstring value) { m_website = std::move(value); }
    void SetPage(std::wstring value) { m_page = std::move(value); }
    void SetFolder(std::wstring value) { m_folder = std::move(value); }
    void SetFile(std::wstring value) { m_file = std::move(value); }
    void SetCommand(std::wstring value) { m_command = std::move(value); }
    void SetParams(std::wstring value) { m_params = std::move(value); }
    void SetLanguage(std::wstring value) { m_language = std::move(value); }

private:
    SDescriptionText ChangePageDescriptionText() const;

    std::wstring m_eMail;
    std::wstring m_website;
    std::wstring m_page;
    std::wstring m_folder;
    std::wstring m_file;
    std::wstring m_command;
    std::wstring m_params;
    std::wstring m_language;
    EActionType m_type = EActionType::Undefined;
    EChangePageKind m_changePageKind = EChangePageKind::GoBack;
    bool m_valid = true;
};

}  // namespace lum::data
