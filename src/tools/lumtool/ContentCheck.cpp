#include "ContentCheck.h"

#include <wx/image.h>
#include <wx/log.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "AttachmentRecorder.h"
#include "CheckPlace.h"
#include "Command.h"
#include "LayoutCheck.h"
#include "NameCheck.h"
#include "SchemaValidation.h"
#include "SizeFieldCheck.h"
#include "TextFitCheck.h"
#include "TranslationCheck.h"
#include "graphics/PictureHandlers.h"
#include "graphics/PictureReader.h"
#include "graphics/QuietAsserts.h"
#include "graphics/XmlReader.h"
#include "graphics/skin/GraphicSkinButton.h"
#include "graphics/skin/Skin.h"
#include "graphics/skin/State.h"
#include "lum/AudioClip.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/FormatSchema.h"
#include "lum/data/GraphicActionButton.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

constexpr const wchar_t* kDescription = L"product.xml";

std::string Utf8(const std::wstring& text) { return wxString(text).utf8_string(); }

std::wstring Quoted(const std::wstring& text) { return L"'" + text + L"'"; }

const wchar_t* Noun(EAttachmentKind kind, const std::wstring& where) {
    switch (kind) {
        case EAttachmentKind::Picture:
            return L"picture";
        case EAttachmentKind::RichText:
            return L"rich text";
        case EAttachmentKind::Data:
            return where == L"music" ? L"sound" : L"data";
    }
    return L"attachment";
}

// What a menu author needs to hear about one attachment, or nothing when it loaded.
std::wstring Describe(const SAttachmentUse& use) {
    const std::wstring noun = Noun(use.kind, use.where);
    const std::wstring named = noun + L" " + Quoted(use.name);
    switch (use.outcome) {
        case EAttachmentOutcome::Loaded:
            return {};
        case EAttachmentOutcome::NoName:
            return L"a " + noun + L" reference names no entry";
        case EAttachmentOutcome::Missing:
            return named + L" is not in the content file";
        case EAttachmentOutcome::UnknownType:
            return named + L" is not of a type the player reads (.png, .jpg, .bmp or .ico)";
        case EAttachmentOutcome::NoSize:
            return named + L" has no size in product.xml, so none of it is read";
        case EAttachmentOutcome::Unreadable:
            if (use.kind == EAttachmentKind::Picture) return named + L" does not decode";
            if (use.kind == EAttachmentKind::RichText) return named + L" is not readable rich text";
            return named + L" is empty";
        case EAttachmentOutcome::TooLarge:
            return named + L" is larger than the player reads of it (" +
                   std::to_wstring(use.limit >> 20) + L" MiB); none of it is read";
    }
    return {};
}

// For a name that is missing: the entries whose names differ from it only in letter case.
std::wstring CaseHint(const std::wstring& name, const std::vector<wxString>& entries) {
    const wxString wanted = graphics::CCatalogue::NormalName(name);
    std::wstring hint;
    for (const wxString& entry : entries) {
        if (entry == wanted || !tarn::EqualsNoCase(entry.ToStdWstring(), wanted.ToStdWstring())) {
            continue;
        }
        if (hint.find(Quoted(entry.ToStdWstring())) != std::wstring::npos) continue;
        hint += (hint.empty() ? L" (" : L", ") + Quoted(entry.ToStdWstring());
    }
    if (hint.empty()) return hint;
    return hint + L" differs only in letter case; names compare with case, packed or not)";
}

// The player's own decoder judges, so the verdict is the player's.
std::wstring WavError(const graphics::CSharedBuffer& data) {
    std::string error;
    if (lum::CAudioClip::Decode(data.GetData(), data.GetLength(), &error)) return {};
    return wxString::FromUTF8(error).ToStdWstring();
}

}  // namespace

void CContentCheck::Run() {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(fs::path(m_path), error)) Unreadable("the file does not exist");
    graphics::InstallPictureHandlers();
    const lum::data::CElementFactories factories;  // the element kinds the player knows

    graphics::CContentSource source(wxString::FromUTF8(m_path).ToStdWstring());
    wxXmlDocument document;
    std::string text;
    try {
        ReadDescription(source, document, text);
    } catch (const graphics::CListingError& error) {
        Unreadable(error.what());  // a part of the folder is not known, so nothing is sure
    }
    CheckNames(*document.GetRoot(), text);
    LoadProduct();
    for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
        m_pageNames.push_back(m_product->GetPage(i)->GetName());
    }
    CheckAttachments(source, document);
    CheckPageNames();
    CheckButtons();
    CheckMusic();
    Report(CheckSizeFields(document, source.GetCatalogue()));
    Report(CheckLayout(*m_product));
    Report(CheckTextFit(m_product));
    Report(CheckTranslations(*m_product));
    CheckDiscFiles(source);
    CheckLeftOut(source);
}

void CContentCheck::ReadDescription(graphics::CContentSource& source, wxXmlDocument& document,
                                    std::string& text) const {
    if (!source.IsFolder() && (!source.IsOk() || source.GetCatalogue().GetEntryCount() == 0)) {
        Unreadable("it is not a ZIP archive (or an empty one)");
    }
    graphics::CCatalogue& catalogue = source.GetCatalogue();
    if (!catalogue.HasEntry(kDescription)) Unreadable("it holds no product.xml");
    if (!catalogue.OpenEntry(kDescription)) Unreadable("its product.xml cannot be opened");

    std::wstring reason;
    const auto read = graphics::xml::ReadStream(
        catalogue.GetStream(), lum::data::CProduct::kMaxDescriptionSize, document, reason, &text);
    catalogue.CloseEntry();
    switch (read) {
        case graphics::xml::EStreamRead::Read:
            return;
        case graphics::xml::EStreamRead::TooLarge:
            Unreadable("its product.xml is larger than the player reads (64 MiB)");
        case graphics::xml::EStreamRead::Empty:
            Unreadable("its product.xml is empty");
        case graphics::xml::EStreamRead::Malformed:
            Unreadable("its product.xml is not well-formed XML (" + Utf8(reason) + ")");
    }
}

void CContentCheck::CheckNames(const wxXmlNode& root, const std::string& text) {
    const std::size_t before = m_findings.size();
    CNameCheck names(
        lum::data::CFormatSchema::Product(),
        [this](ESeverity severity, const std::wstring& line) { Report(severity, line); });
    names.Run(root);
    if (m_findings.size() != before) return;
    // The names are right: what the schema still refuses is in how they are put together.
    // libxml2 names the innermost refusal first; the rest repeat it for each element around.
    for (const std::string& line :
         ValidateWithSchema(text, lum::data::CFormatSchema::ProductText(), 1)) {
        Warning(L"product.xml " + wxString::FromUTF8(line).ToStdWstring() +
                L" (the format's schema, docs/product.rng, does not take this)");
    }
}

void CContentCheck::LoadProduct() {
    m_product = tarn::New<lum::data::CProduct>();
    try {
        m_product->Load(wxFileName(wxString::FromUTF8(m_path)));
    } catch (const std::exception& error) {
        // The player's loader gives up on the whole product at the first such error.
        Unreadable(std::string("the loader stops with an error: ") + error.what());
    }
    if (m_product->GetPageCount() == 0) Unreadable("it has no pages");
}

void CContentCheck::CheckAttachments(graphics::CContentSource& source,
                                     const wxXmlDocument& document) {
    // A second reading of the same description, through a store that notes every attachment
    // the loader asks for; the product it makes is thrown away.
    const auto recorder = tarn::New<CAttachmentRecorder>(source.GetCatalogue());
    {
        const graphics::CQuietAsserts quiet;  // as in the loader's own reading
        const wxLogNull listedBelow;           // each problem is one line of the check's own
        try {
            tarn::New<lum::data::CProduct>()->ReadXml(*document.GetRoot(), *recorder);
        } catch (const std::exception& error) {
            Unreadable(std::string("the loader stops with an error: ") + error.what());
        }
        recorder->DecodePictures();
    }
    // As the player logs a picture it cannot show: once, with the reason.
    for (const auto& [name, reason] : recorder->GetMissingPictures()) {
        graphics::CPictureReader::WarnMissing(name, reason);
    }
    const std::vector<wxString> entries = source.GetCatalogue().GetEntryNames();
    for (const SAttachmentUse& use : recorder->GetUses()) {
        std::wstring text = Describe(use);
        if (text.empty()) continue;
        if (use.outcome == EAttachmentOutcome::Missing) text += CaseHint(use.name, entries);
        Error(use.where + L": " + text);
    }
}

void CContentCheck::CheckLeftOut(graphics::CContentSource& source) {
    graphics::CFolderCatalogue* folder = source.GetFolderCatalogue();
    if (!folder) return;
    // Played unpacked these files are not there either, but an author may not expect that.
    for (const graphics::SLeftOut& left : folder->GetLeftOut()) {
        Error(L"folder: " + Quoted(wxString::FromUTF8(left.relative).ToStdWstring()) + L" " +
              wxString::FromUTF8(left.reason).ToStdWstring() +
              L"; a content file packed from the folder does not hold it");
    }
    // A stranger's folder may link to the author's own files, which must not end up packed.
    for (const graphics::SContentFile& file : folder->GetFiles()) {
        if (!file.leavesFolder) continue;
        Error(L"folder: " + Quoted(wxString::FromUTF8(file.relative).ToStdWstring()) +
              L" is a link that leads out of the menu folder (to " +
              Quoted(wxString(file.target.c_str(), *wxConvFileName).ToStdWstring()) +
              L"); pack refuses it");
    }
}

void CContentCheck::CheckPageNames() {
    for (std::size_t i = 0; i < m_pageNames.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const std::wstring& first = m_pageNames[j];
            const std::wstring& second = m_pageNames[i];
            if (!tarn::EqualsNoCase(first, second)) continue;
            if (first == second) {
                Error(L"pages " + std::to_wstring(j + 1) + L" and " + std::to_wstring(i + 1) +
                      L" are both named " + Quoted(first) +
                      L"; actions that go to this name reach only the first");
            } else {
                Error(L"page names " + Quoted(first) + L" and " + Quoted(second) +
                      L" differ only in letter case; actions that go to either reach only " +
                      Quoted(first));
            }
            break;  // one report for each later page
        }
    }
}

void CContentCheck::CheckButtons() {
    for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
        const auto page = m_product->GetPage(i);
        const auto document = page->GetDocument();
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            const std::wstring place = ElementPlace(*page, *element, j);
            CheckSkin(place, *element);
            CheckGotoPage(place, *element);
        }
    }
}

void CContentCheck::CheckSkin(const std::wstring& place, const graphics::CGraphicElement& element) {
    const auto* button = dynamic_cast<const graphics::skin::CGraphicSkinButton*>(&element);
    if (!button || !button->GetSkin()) return;  // without a skin the plain look is meant
    const auto& skin = *button->GetSkin();
    // The looks the player chooses between; the other states are never shown.
    static const std::vector<std::pair<std::wstring, std::wstring>> looks{
        {L"normal", L"at rest"},
        {L"hover", L"while the pointer is over it"},
        {L"down", L"while it is pressed"}};
    const std::wstring skinName =
        skin.GetId().empty() ? L"its skin" : L"its skin " + Quoted(skin.GetId());
    for (const auto& [state, when] : looks) {
        const auto found = skin.FindState(state);
        if (found && !found->GetLayers().empty()) continue;
        Error(place + L": " + skinName + L" has no " + Quoted(state) +
              L" look, so the button shows nothing " + when);
    }
}

void CContentCheck::CheckGotoPage(const std::wstring& place,
                                  const graphics::CGraphicElement& element) {
    const auto* button = dynamic_cast<const lum::data::CGraphicActionButton*>(&element);
    if (!button) return;
    const auto action = button->GetAction();
    if (action->GetType() != lum::data::EActionType::ChangePage ||
        action->GetChangePageKind() != lum::data::EChangePageKind::GotoPage) {
        return;
    }
    const std::wstring target = action->GetPage();
    if (target.empty()) {
        Error(place + L": goes to a page but names none; the click does nothing");
    } else if (!HasPage(target)) {
        Error(place + L": goes to page " + Quoted(target) +
              L", but no page has that name; the click does nothing");
    }
}

bool CContentCheck::HasPage(const std::wstring& name) const {
    for (const std::wstring& page : m_pageNames) {
        if (tarn::EqualsNoCase(page, name)) return true;
    }
    return false;
}

void CContentCheck::CheckMusic() {
    // A music reference that loads nothing is reported with the attachments.
    const auto music = m_product->GetMusic();
    if (music->IsEmpty()) return;
    const std::wstring format = music->GetFormat();
    if (format != L"wav") {
        Error(L"music: the format is " + Quoted(format) +
              L", but the player plays only 'wav' (in lower case); the menu stays silent");
        return;
    }
    const std::wstring error = WavError(*music->GetData());
    if (!error.empty()) {
        Error(L"music: the sound is not a WAV file the player can play (" + error + L")");
    }
}

void CContentCheck::Unreadable(const std::string& reason) const {
    throw CUsageError("'" + m_path + "' cannot be read: " + reason);
}

void CContentCheck::Report(ESeverity severity, const std::wstring& text) {
    // One picture in several states of a skin would otherwise give the same line each time.
    const std::string line = Utf8(text);
    const bool known = std::any_of(m_findings.begin(), m_findings.end(),
                                   [&](const SFinding& finding) { return finding.text == line; });
    if (!known) m_findings.push_back({severity, line});
}

void CContentCheck::Report(const std::vector<SFinding>& findings) {
    // Looked up in a set: a damaged menu may give thousands of findings.
    std::set<std::string> known;
    for (const SFinding& finding : m_findings) known.insert(finding.text);
    for (const SFinding& finding : findings) {
        if (known.insert(finding.text).second) m_findings.push_back(finding);
    }
}

}  // namespace lumtool
