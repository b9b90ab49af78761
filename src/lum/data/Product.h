#pragma once
// The root of the menu content, read from the entry "product.xml" of a content file.

#include <wx/bitmap.h>
#include <wx/filename.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ContentSource.h"
#include "graphics/ResourceStore.h"
#include "lum/data/Music.h"
#include "lum/data/Page.h"
#include "lum/data/Translation.h"
#include "lum/data/Volume.h"
#include "tarn/Object.h"
#include "tarn/StringLocalizer.h"

namespace lum::data {

class CProduct : public tarn::CObject {
public:
    static constexpr std::int32_t kDefaultSplashDuration = 4000;
    // A larger "product.xml" is taken as damaged rather than read into memory.
    static constexpr std::size_t kMaxDescriptionSize = 64u << 20;

    CProduct();
    ~CProduct() override;

    // Reads the content file, or an unpacked folder holding "product.xml" and its files (read
    // by the same rules, as if packed). A file that cannot be opened, lacks "product.xml" or
    // holds malformed XML leaves the product empty without an error (GetLoadProblem says why);
    // errors raised while the pages are read pass out.
    void Load(const wxFileName& file);
    void ReadXml(const wxXmlNode& root, graphics::IResourceInputStore& store);

    // The translation of id for language, else for "en-us", else defaultText.
    std::wstring Translate(const std::wstring& id, const std::wstring& language,
                           const std::wstring& defaultText) const;
    // Hands the localizer to every page.
    void SetLocalizer(const tarn::P<tarn::IStringLocalizer>& localizer);

    std::size_t GetPageCount() const { return m_pages.size(); }
    // index must be below GetPageCount(); index 0 is the main page.
    tarn::P<CPage> GetPage(std::size_t index) const { return m_pages.at(index); }
    // The first page with this name, letter case aside (as goto and -page compare); none when
    // no page has it.
    tarn::P<CPage> FindPage(const std::wstring& name) const;
    std::size_t GetTranslationCount() const { return m_translations.size(); }
    tarn::P<CTranslation> GetTranslation(std::size_t index) const {
        return m_translations.at(index);
    }

    wxFileName GetFile() const { return m_file; }
    // Why the last Load gave no pages, in a line for the menu's author; empty when it has pages
    // (or when an error passed out of Load).
    std::wstring GetLoadProblem() const { return m_loadProblem; }
    // The files on disk the last Load read or looked for: the content file, or for a folder its
    // product.xml and the file of every name the description asked for (found or not). A change
    // to any of them may change what Load gives.
    const std::vector<std::wstring>& GetSourceFiles() const { return m_sourceFiles; }
    // How many pictures were decoded from the content since Load (each is decoded when first
    // shown, and again when shown after it was given back).
    std::int64_t GetPictureDecodes() const;
    // True when the last Load read an unpacked folder.
    bool IsFolder() const { return m_folder; }
    wxFileName GetIconFileName() const { return m_iconFileName; }
    wxFileName GetBase() const { return m_base; }
    std::wstring GetTitle() const { return m_title; }
    void GetClientSize(double& width, double& height) const;
    // The splash image, or null; owned by the product.
    const wxBitmap* GetSplash() const { return m_splash.get(); }
    std::int32_t GetSplashDuration() const { return m_splashDuration; }
    tarn::P<CMusic> GetMusic() const { return m_music; }
    tarn::P<CVolume> GetVolume() const { return m_volume; }

private:
    void ReadBase(const wxXmlNode& root);
    void ReadSplashDuration(const wxXmlNode& root);
    void ReadPages(const wxXmlNode& root, graphics::IResourceInputStore& store);
    // Reads the page of node, the position-th (from 0); an error passes out with the page's
    // place added.
    void ReadPage(CPage& page, const wxXmlNode& node, std::size_t position,
                  graphics::IResourceInputStore& store);
    void ReadClientSize(const wxXmlNode& root);
    void ReadTranslations(const wxXmlNode& root, graphics::IResourceInputStore& store);

    // Declared first, so that the pages go before the content they decode from.
    std::unique_ptr<graphics::CContentSource> m_content;
    wxFileName m_file;
    wxFileName m_iconFileName;
    wxFileName m_base;
    std::wstring m_title;
    tarn::P<CVolume> m_volume;
    tarn::P<CMusic> m_music;
    std::unique_ptr<wxBitmap> m_splash;
    std::vector<tarn::P<CPage>> m_pages;
    double m_clientWidth = 0;
    double m_clientHeight = 0;
    std::vector<tarn::P<CTranslation>> m_translations;
    std::int32_t m_splashDuration = kDefaultSplashDuration;
    std::wstring m_loadProblem;
    std::vector<std::wstring> m_sourceFiles;
    bool m_folder = false;
};

}  // namespace lum::data
