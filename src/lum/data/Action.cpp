#include "lum/data/Action.h"

#include <array>

#include "graphics/XmlValues.h"
#include "lum/data/LoadError.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace lum::data {

namespace {

// Indexed by the enumerations' values.
constexpr std::array<const wchar_t*, 11> kTypeTexts{
    L"undefined",    L"run-file", L"change-page",     L"open-website",
    L"send-mail",    L"open-folder", L"quit-program", L"custom",
    L"change-language", L"open-local-folder", L"run-local-file"};
constexpr std::array<const wchar_t*, 3> kChangePageTexts{L"go-back", L"goto-mainpage",
                                                         L"goto-page"};

constexpr const wchar_t* kUnknownType = L"Unknown Action type";
constexpr const wchar_t* kUnknownChangePage = L"Unknown Change page type";

// The plain text when value is empty, else the "X" text whose placeholder value fills.
CAction::SDescriptionText Described(const wchar_t* key, const wchar_t* text, const wchar_t* keyX,
                                    const wchar_t* textX, const wchar_t* placeholder,
                                    const std::wstring& value) {
    if (value.empty()) return {key, text, {}, {}};
    return {keyX, textX, placeholder, value};
}

CAction::SDescriptionText Plain(const wchar_t* key, const wchar_t* text) {
    return {key, text, {}, {}};
}

void WriteText(wxXmlNode& node, const wchar_t* name, const std::wstring& value) {
    graphics::xml::WriteString(node, name, value);
}

}  // namespace

std::optional<EActionType> CAction::FindType(const std::wstring& text) {
    for (std::size_t i = 0; i < kTypeTexts.size(); ++i) {
        if (tarn::EqualsNoCase(text, kTypeTexts[i])) return static_cast<EActionType>(i);
    }
    return std::nullopt;
}

std::optional<EChangePageKind> CAction::FindChangePageKind(const std::wstring& text) {
    for (std::size_t i = 0; i < kChangePageTexts.size(); ++i) {
        if (tarn::EqualsNoCase(text, kChangePageTexts[i])) {
            return static_cast<EChangePageKind>(i);
        }
    }
    return std::nullopt;
}

EActionType CAction::TypeFromText(const std::wstring& text) {
    if (const auto type = FindType(text)) return *type;
    throw tarn::CError(kUnknownType);
}

std::wstring CAction::TypeToText(EActionType type) {
    const auto index = static_cast<std::int32_t>(type);
    if (index < 0 || index >= static_cast<std::int32_t>(kTypeTexts.size())) {
        throw tarn::CError(kUnknownType);
    }
    return kTypeTexts[index];
}

EChangePageKind CAction::ChangePageKindFromText(const std::wstring& text) {
    if (const auto kind = FindChangePageKind(text)) return *kind;
    throw tarn::CError(kUnknownChangePage);
}

std::wstring CAction::ChangePageKindToText(EChangePageKind kind) {
    const auto index = static_cast<std::int32_t>(kind);
    if (index < 0 || index >= static_cast<std::int32_t>(kChangePageTexts.size())) {
        throw tarn::CError(kUnknownChangePage);
    }
    return kChangePageTexts[index];
}

void CAction::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore*) {
    using graphics::xml::ReadString;
    // A missing or unknown type is not an error: the action simply does nothing.
    std::wstring type;
    ReadString(node, "type", type);
    if (const auto known = FindType(type)) m_type = *known;
    std::wstring kind;
    if (ReadString(node, "change-page", kind) && !kind.empty()) {
        const auto known = FindChangePageKind(kind);
        if (!known) {
            // The menu does not load: the author learns what was written and what may be.
            throw tarn::CError(std::wstring(kUnknownChangePage) + L" " + QuotedValue(kind) + L" " +
                               ValidValuesText({kChangePageTexts.begin(), kChangePageTexts.end()}));
        }
        m_changePageKind = *known;
    }
    graphics::xml::ReadBool(node, "valid", m_valid);
    ReadString(node, "e-mail", m_eMail);
    ReadString(node, "website", m_website);
    ReadString(node, "page", m_page);
    ReadString(node, "folder", m_folder);
    ReadString(node, "file", m_file);
    ReadString(node, "command", m_command);
    ReadString(node, "params", m_params);
    ReadString(node, "language", m_language);
}

void CAction::WriteXml(wxXmlNode& node, graphics::IResourceStore*) const {
    // Named first, so that an action that cannot be written leaves the node as it was.
    const std::wstring type = TypeToText(m_type);
    const std::wstring kind = ChangePageKindToText(m_changePageKind);
    WriteText(node, L"e-mail", m_eMail);
    WriteText(node, L"website", m_website);
    WriteText(node, L"command", m_command);
    WriteText(node, L"params", m_params);
    WriteText(node, L"language", m_language);
    WriteText(node, L"page", m_page);
    WriteText(node, L"folder", m_folder);
    WriteText(node, L"file", m_file);
    graphics::xml::WriteBool(node, "valid", m_valid);
    WriteText(node, L"type", type);
    WriteText(node, L"change-page", kind);
}

CAction::SDescriptionText CAction::ChangePageDescriptionText() const {
    switch (m_changePageKind) {
    case EChangePageKind::GoBack:
        return Plain(L"lumCAction.GoBack", L"Go back");
    case EChangePageKind::GotoMainPage:
        return Plain(L"lumCAction.GotoMainPage", L"Goto mainpage");
    case EChangePageKind::GotoPage:
        return Described(L"lumCAction.GotoPage", L"Goto page", L"lumCAction.GotoPageX",
                         L"Goto page '%PAGE%'", L"PAGE", m_page);
    }
    return {};
}

CAction::SDescriptionText CAction::GetDescriptionText() const {
    switch (m_type) {
    case EActionType::Undefined:
        return Plain(L"lumCAction.Undefined", L"Undefined");
    case EActionType::RunFile:
    case EActionType::RunLocalFile:
        return Described(L"lumCAction.RunFile", L"Run file", L"lumCAction.RunFileX",
                         L"Run file '%FILE%'", L"FILE", m_file);
    case EActionType::ChangePage:
        return ChangePageDescriptionText();
    case EActionType::OpenWebsite:
        return Described(L"lumCAction.OpenWebsite", L"Open website", L"lumCAction.OpenWebsiteX",
                         L"Open website '%URL%'", L"URL", m_website);
    case EActionType::SendMail:
        return Described(L"lumCAction.SendEMail", L"Send an E-Mail", L"lumCAction.SendEMailX",
                         L"Send an E-Mail to %EMAIL%", L"EMAIL", m_eMail);
    case EActionType::OpenFolder:
    case EActionType::OpenLocalFolder:
        return Described(L"lumCAction.OpenFolder", L"Open folder", L"lumCAction.OpenFolderX",
                         L"Open folder '%FOLDER%'", L"FOLDER", m_folder);
    case EActionType::QuitProgram:
        return Plain(L"lumCAction.QuitProgram", L"Quit program");
    case EActionType::Custom:
        return Plain(L"lumCAction.Custom", L"Custom action");
    case EActionType::ChangeLanguage:
        return Described(L"lumCAction.ChangeLanguage", L"Change language",
                         L"lumCAction.ChangeLanguageX", L"Change language to %LANGUAGE%",
                         L"LANGUAGE", m_language);
    }
    return {};
}

std::wstring CAction::GetDescription() const {
    const SDescriptionText text = GetDescriptionText();
    if (text.key.empty()) return {};
    const std::wstring localized = tarn::Localize(text.key, text.text);
    if (text.placeholder.empty()) return localized;
    return tarn::SetPlaceholder(localized, text.placeholder, text.value);
}

}  // namespace lum::data
