#include "MenuFolder.h"

#include <wx/log.h>

#include <iostream>

#include "Command.h"
#include "DiscFiles.h"
#include "InputFile.h"
#include "graphics/Catalogue.h"
#include "graphics/QuietAsserts.h"
#include "graphics/XmlReader.h"
#include "tarn/Text.h"
#include "tarn/win32/FileReplacement.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";

// The files a content file of the folder may hold; raises CUsageError for what it must not.
std::vector<graphics::SContentFile> ListFiles(const fs::path& folder, const SPackOptions& options) {
    std::vector<graphics::SContentFile> files;
    for (graphics::SContentFile& file : graphics::ListContentFiles(folder)) {
        if (tarn::win32::IsTemporaryName(file.path.filename().string())) {
            std::cerr << "lumtool: warning: '" << file.relative
                      << "' was left by a write that was cut short; not packed (remove it)\n";
            continue;
        }
        files.push_back(std::move(file));
    }
    if (files.empty() || files.front().relative != kDescription) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription +
                          " any more; nothing written");
    }
    // Refused wherever they lie, packed or not: a folder from a stranger is not packed by
    // halves.
    std::string outside;
    for (const graphics::SContentFile& file : files) {
        if (file.name.empty()) {
            throw CUsageError("cannot name an entry for '" + file.path.string() +
                              "': its name is not UTF-8");
        }
        if (file.leavesFolder && !options.allowOutsideLinks) {
            outside += (outside.empty() ? "" : ", ") + ("'" + file.relative + "'");
        }
    }
    if (!outside.empty()) {
        throw CUsageError("links lead out of the menu folder: " + outside + "; " +
                          options.outsideLinksRemedy);
    }
    return files;
}

// Whether relative is one of files, or lies in one of folders.
bool IsAmong(const std::string& relative, const std::vector<std::string>& files,
             const std::vector<std::string>& folders) {
    for (const std::string& file : files) {
        if (relative == file) return true;
    }
    for (const std::string& folder : folders) {
        if (relative.size() > folder.size() && relative.compare(0, folder.size(), folder) == 0 &&
            relative[folder.size()] == '/') {
            return true;
        }
    }
    return false;
}

}  // namespace

CMenuFolder::CMenuFolder(const std::string& folder) : m_folder(folder) {
    std::error_code error;
    if (!fs::is_directory(m_folder, error)) throw CUsageError("'" + folder + "' is not a folder");
    const fs::path description = m_folder / kDescription;
    if (!fs::is_regular_file(description, error)) {
        throw CUsageError("'" + m_folder.string() + "' holds no " + kDescription);
    }
    std::wstring reason;
    const std::string text = ReadInputFile(description, lum::data::CProduct::kMaxDescriptionSize);
    if (!graphics::xml::ReadDocument(text, m_document, reason)) {
        throw CUsageError("'" + description.string() + "' is not well-formed XML (" +
                          wxString(reason).utf8_string() + ")");
    }
}

CMenuFolder::~CMenuFolder() = default;

void CMenuFolder::Read(const SPackOptions& options) {
    // Listed as the folder catalogue lists them, so that the folder plays as the file will.
    std::vector<graphics::SContentFile> files = ListFiles(m_folder, options);
    ReadReferences();
    Sort(std::move(files));
}

void CMenuFolder::ReadReferences() {
    m_factories = std::make_unique<lum::data::CElementFactories>();
    m_catalogue = tarn::New<graphics::CFolderCatalogue>(m_folder);
    m_recorder = tarn::New<CAttachmentRecorder>(*m_catalogue);
    m_product = tarn::New<lum::data::CProduct>();
    {
        const graphics::CQuietAsserts quiet;  // as in the player's own reading
        const wxLogNull silent;               // pack names what it leaves out, not why
        try {
            m_product->ReadXml(GetDescription(), *m_recorder);
        } catch (const graphics::CListingError&) {
            throw;
        } catch (const std::exception& error) {
            throw CUsageError("'" + (m_folder / kDescription).string() +
                              "' cannot be read by the player: " + error.what());
        }
    }
    for (const SAttachmentUse& use : m_recorder->GetUses()) {
        if (!use.name.empty()) m_attachments.insert(graphics::CCatalogue::NormalName(use.name));
    }
}

void CMenuFolder::FindDiscPaths(std::vector<std::string>& files,
                                std::vector<std::string>& folders) const {
    // The folder stands for the disc, as when the player plays it unpacked.
    CDiscLookup disc(m_folder, m_product->GetBase());
    for (const SDiscReference& reference : ListDiscFiles(*m_product)) {
        const SDiscLookup& found = disc.Find(reference.name, reference.kind);
        // The root itself is the disc, not a file of it.
        if (found.outcome != EDiscOutcome::Found || found.relative.empty()) continue;
        std::error_code error;
        auto& list = fs::is_directory(found.file, error) ? folders : files;
        list.push_back(tarn::ToUtf8(found.relative));
    }
}

void CMenuFolder::Sort(std::vector<graphics::SContentFile> files) {
    std::vector<std::string> discFiles;
    std::vector<std::string> discFolders;
    FindDiscPaths(discFiles, discFolders);
    for (graphics::SContentFile& file : files) {
        const bool referenced =
            file.relative == kDescription ||
            m_attachments.count(graphics::CCatalogue::StoredName(file.name)) > 0;
        if (referenced) {
            m_packed.push_back(std::move(file));
        } else if (IsAmong(file.relative, discFiles, discFolders)) {
            m_forTheDisc.push_back(file.relative);
        } else {
            m_unreferenced.push_back(file.relative);
        }
    }
}

}  // namespace lumtool
