#pragma once
// An unpacked menu folder as the packer takes it apart: product.xml and the attachments the
// player's loader reads go into the content file; the files that run-file and open-folder
// actions name belong on the disc beside it; whatever else lies in the folder, nothing
// references.

#include <wx/xml/xml.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AttachmentRecorder.h"
#include "PackCommand.h"
#include "graphics/ContentFolder.h"
#include "graphics/FolderCatalogue.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"

namespace lumtool {

class CMenuFolder {
public:
    // Checks that folder is a folder holding a readable, well-formed product.xml; raises
    // CUsageError when not.
    explicit CMenuFolder(const std::string& folder);
    ~CMenuFolder();
    CMenuFolder(const CMenuFolder&) = delete;
    CMenuFolder& operator=(const CMenuFolder&) = delete;

    // Lists the folder and reads the description with the player's loader, as it reads the
    // folder when it plays it. Raises CUsageError for what a content file must not hold (see
    // SPackOptions) and when the loader stops with an error. Needs the GUI toolkit.
    void Read(const SPackOptions& options);

    const std::filesystem::path& GetFolder() const { return m_folder; }
    const wxXmlNode& GetDescription() const { return *m_document.GetRoot(); }
    // After Read: the product as the loader read it.
    const lum::data::CProduct& GetProduct() const { return *m_product; }
    // After Read: what a content file of the folder holds, product.xml first.
    const std::vector<graphics::SContentFile>& GetPacked() const { return m_packed; }
    // After Read: the paths below the folder of the files that actions name (or that lie in
    // folders they name), and of the files nothing references.
    const std::vector<std::string>& GetForTheDisc() const { return m_forTheDisc; }
    const std::vector<std::string>& GetUnreferenced() const { return m_unreferenced; }

private:
    void ReadReferences();
    // The paths below the folder of the disc's files and folders that actions name.
    void FindDiscPaths(std::vector<std::string>& files, std::vector<std::string>& folders) const;
    void Sort(std::vector<graphics::SContentFile> files);

    std::filesystem::path m_folder;
    wxXmlDocument m_document;
    // The element kinds stay known while the product lives; the product's pictures read from
    // the catalogue, which goes last.
    std::unique_ptr<lum::data::CElementFactories> m_factories;
    tarn::P<graphics::CFolderCatalogue> m_catalogue;
    tarn::P<CAttachmentRecorder> m_recorder;
    tarn::P<lum::data::CProduct> m_product;
    std::set<wxString> m_attachments;  // the entries the loader asked for, found or not
    std::vector<graphics::SContentFile> m_packed;
    std::vector<std::string> m_forTheDisc;
    std::vector<std::string> m_unreferenced;
};

}  // namespace lumtool
