#include "lum/data/Product.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "graphics/ContentSource.h"
#include "graphics/QuietAsserts.h"
#include "graphics/XmlReader.h"
#include "graphics/XmlValues.h"
#include "lum/data/LoadError.h"
#include "tarn/ScopeExit.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace lum::data {

namespace {

constexpr const wchar_t* kFallbackLanguage = L"en-us";

// Paths in content files are written on Windows: "\" separates there as here.
wxString ContentPath(wxString path) {
#ifndef __WINDOWS__
    path.Replace("\\", "/");
#endif
    return path;
}

// The longest leading decimal integer, clamped to 32 bits; 0 without leading digits.
std::int32_t LeadingInteger(const wxString& text) {
    const std::wstring wide = text.ToStdWstring();
    errno = 0;
    const long long value = std::wcstoll(wide.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// Reads product.xml whole, within limit bytes; false, with the reason, when it is longer, empty,
// not well formed or has no root.
bool ParseBounded(wxInputStream& in, std::size_t limit, wxXmlDocument& document,
                  std::wstring& problem) {
    std::wstring reason;
    switch (graphics::xml::ReadStream(in, limit, document, reason)) {
        case graphics::xml::EStreamRead::Read:
            return true;
        case graphics::xml::EStreamRead::TooLarge:
            problem = tarn::Localize(L"lum.CProduct.DescriptionTooLarge",
                                     L"its product.xml is larger than the player reads (64 MiB)");
            return false;
        case graphics::xml::EStreamRead::Empty:
            problem = tarn::Localize(L"lum.CProduct.DescriptionEmpty", L"its product.xml is empty");
            return false;
        case graphics::xml::EStreamRead::Malformed:
            break;
    }
    problem = tarn::Localize(L"lum.CProduct.DescriptionMalformed",
                             L"its product.xml is not well-formed XML") +
              L" (" + reason + L")";
    return false;
}

}  // namespace

CProduct::CProduct() : m_volume(tarn::New<CVolume>()), m_music(tarn::New<CMusic>()) {}

CProduct::~CProduct() = default;

std::int64_t CProduct::GetPictureDecodes() const {
    return m_content && m_content->IsOk() ? m_content->GetCatalogue().GetDecodeCount() : 0;
}

void CProduct::Load(const wxFileName& file) {
    // Whatever in the toolkit a damaged file trips over, it never becomes a dialog.
    const graphics::CQuietAsserts quiet;
    const std::wstring path = file.GetFullPath().ToStdWstring();
    m_loadProblem.clear();
    m_sourceFiles.clear();
    // Stays open while the product lives: pictures are decoded from it when first shown.
    m_content = std::make_unique<graphics::CContentSource>(path);
    graphics::CContentSource& source = *m_content;
    m_folder = source.IsFolder();
    if (!m_folder) m_sourceFiles.push_back(path);
    const auto failed = [this](const std::wstring& key, const std::wstring& text) {
        m_loadProblem = tarn::Localize(key, text);
    };
    if (!source.IsOk()) {
        if (wxFileName::Exists(file.GetFullPath())) {
            failed(L"lum.CProduct.CannotOpen", L"it cannot be opened");
        } else {
            failed(L"lum.CProduct.NoSuchFile", L"the file does not exist");
        }
        return;
    }
    graphics::CCatalogue& catalogue = source.GetCatalogue();
    // Names the description asks for become source files of a folder, read or not.
    const auto notes = tarn::MakeScopeExit([this, &source] {
        graphics::CFolderCatalogue* folder = source.GetFolderCatalogue();
        if (!folder) return;
        for (const wxString& name : folder->GetRequestedNames()) {
            std::filesystem::path file = folder->FileOf(name);
            if (file.empty()) {
                file = folder->GetFolder() / std::filesystem::path(name.utf8_string());
            }
            m_sourceFiles.push_back(wxString(file.c_str(), *wxConvFileName).ToStdWstring());
        }
    });
    if (!catalogue.OpenEntry(L"product.xml")) {
        if (m_folder) {
            failed(L"lum.CProduct.FolderWithoutDescription", L"the folder holds no product.xml");
        } else if (catalogue.GetEntryCount() == 0) {
            failed(L"lum.CProduct.NotAnArchive", L"it is not a ZIP archive (or an empty one)");
        } else {
            failed(L"lum.CProduct.NoDescription", L"it holds no product.xml");
        }
        return;
    }
    wxXmlDocument document;
    const bool parsed =
        ParseBounded(catalogue.GetStream(), kMaxDescriptionSize, document, m_loadProblem);
    catalogue.CloseEntry();
    if (!parsed) return;
    ReadXml(*document.GetRoot(), catalogue);
    m_file = file;
    if (m_pages.empty()) failed(L"lum.CProduct.NoPages", L"it has no pages");
}

void CProduct::ReadXml(const wxXmlNode& root, graphics::IResourceInputStore& store) {
    using namespace graphics::xml;
    ReadString(root, "title", m_title);
    ReadBase(root);
    ReadSplashDuration(root);
    wxString icon;
    if (GetAttribute(root, "icon-filename", icon)) m_iconFileName = wxFileName(ContentPath(icon));
    if (const wxXmlNode* volume = FindChild(root, "volume")) m_volume->ReadXml(*volume, &store);
    if (const wxXmlNode* music = FindChild(root, "music")) m_music->ReadXml(*music, &store);
    if (FindChild(root, "splash")) {
        wxFileName ignored;
        m_splash = store.LoadBitmap(root, L"splash", ignored);
    }
    ReadPages(root, store);
    ReadClientSize(root);
    ReadTranslations(root, store);
}

void CProduct::ReadBase(const wxXmlNode& root) {
    const wxXmlNode* base = graphics::xml::FindChild(root, "base");
    if (!base) return;
    wxString path;
    wxString name;
    graphics::xml::GetAttribute(*base, "path", path);
    graphics::xml::GetAttribute(*base, "name", name);
    path = ContentPath(path);
    name = ContentPath(name);
    if (name.empty()) {
        m_base = wxFileName::DirName(path);
        return;
    }
    // Joined as text: a name that carries folders of its own stays valid.
    if (!path.empty() && !wxFileName::IsPathSeparator(path.Last())) {
        path += wxFileName::GetPathSeparator();
    }
    m_base = wxFileName(path + name);
}

void CProduct::ReadSplashDuration(const wxXmlNode& root) {
    wxString text;
    if (graphics::xml::GetAttribute(root, "splash-duration", text)) {
        m_splashDuration = LeadingInteger(text);
    }
}

void CProduct::ReadPages(const wxXmlNode& root, graphics::IResourceInputStore& store) {
    // Built aside, so that a page that fails to read leaves no half-filled list.
    std::vector<tarn::P<CPage>> pages;
    if (const wxXmlNode* list = graphics::xml::FindChild(root, "pages")) {
        for (const wxXmlNode* child = list->GetChildren(); child; child = child->GetNext()) {
            if (child->GetType() != wxXML_ELEMENT_NODE || child->GetName() != "page") continue;
            auto page = tarn::New<CPage>();
            ReadPage(*page, *child, pages.size(), store);
            pages.push_back(page);
        }
    }
    m_pages.swap(pages);
}

void CProduct::ReadPage(CPage& page, const wxXmlNode& node, std::size_t position,
                        graphics::IResourceInputStore& store) {
    const auto place = [&node, position] {
        return CLoadError::PagePlace(node.GetAttribute("name", wxString()).ToStdWstring(),
                                     position);
    };
    try {
        page.ReadXml(node, store);
    } catch (const CLoadError& error) {
        throw CLoadError(error.GetReason(), place(), error.GetElement());
    } catch (const tarn::CException& error) {
        throw CLoadError(CLoadError::WithValidValues(error.GetDescription()), place(), {});
    }
}

void CProduct::ReadClientSize(const wxXmlNode& root) {
    const wxXmlNode* size = graphics::xml::FindChild(root, "clientsize");
    if (!size) return;
    const auto readOne = [size](const char* name, double& value) {
        wxString text;
        if (!graphics::xml::GetAttribute(*size, name, text) || text.empty()) return;
        if (!graphics::xml::ParseDouble(text, value)) value = 0;
    };
    readOne("width", m_clientWidth);
    readOne("height", m_clientHeight);
}

void CProduct::ReadTranslations(const wxXmlNode& root, graphics::IResourceInputStore& store) {
    const wxXmlNode* list = graphics::xml::FindChild(root, "translations");
    if (!list) return;
    for (const wxXmlNode* child = list->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        auto translation = tarn::New<CTranslation>();
        translation->ReadXml(*child, &store);
        m_translations.push_back(translation);
    }
}

std::wstring CProduct::Translate(const std::wstring& id, const std::wstring& language,
                                 const std::wstring& defaultText) const {
    for (const auto& translation : m_translations) {
        if (translation->GetId() == id && translation->GetLanguage() == language) {
            return translation->GetTranslation();
        }
    }
    for (const auto& translation : m_translations) {
        if (translation->GetId() == id && translation->GetLanguage() == kFallbackLanguage) {
            return translation->GetTranslation();
        }
    }
    return defaultText;
}

void CProduct::SetLocalizer(const tarn::P<tarn::IStringLocalizer>& localizer) {
    for (const auto& page : m_pages) page->SetLocalizer(localizer);
}

void CProduct::GetClientSize(double& width, double& height) const {
    width = m_clientWidth;
    height = m_clientHeight;
}

tarn::P<CPage> CProduct::FindPage(const std::wstring& name) const {
    for (const tarn::P<CPage>& page : m_pages) {
        if (tarn::EqualsNoCase(page->GetName(), name)) return page;
    }
    return {};
}

}  // namespace lum::data
