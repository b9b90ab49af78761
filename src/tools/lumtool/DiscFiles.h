#pragma once
// The files and folders on the disc that a menu's run-file and open-folder actions name. They
// are not attachments: the player looks for them beside the content file (below the product's
// base folder), so they go onto the medium beside content.lum rather than into it. The lookup
// finds each one as the player on the medium will, and says what an author needs to know
// when that is not plainly so.

#include <wx/filename.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "graphics/GraphicElement.h"
#include "lum/data/Action.h"
#include "lum/data/Page.h"
#include "lum/data/Product.h"

namespace lumtool {

enum class EDiscKind { File, Folder };

// One name an action gives, with the place of its button; or the product's icon-filename,
// which has no page.
struct SDiscReference {
    tarn::P<lum::data::CPage> page;  // none for the icon
    tarn::P<graphics::CGraphicElement> element;
    std::size_t index = 0;  // the element's position in the page's document
    lum::data::EActionType action = lum::data::EActionType::Undefined;
    std::wstring name;  // as written in product.xml
    EDiscKind kind = EDiscKind::File;
};

// Every run-file and open-folder action of the product's pages, in page and element order.
// Actions without a name do nothing in the player and are left out.
std::vector<SDiscReference> ListDiscReferences(const lum::data::CProduct& product);

// The product's icon-filename, a file on the disc too (the window's icon, and the icon of a
// Windows medium); none without one. A missing icon leaves the player's own.
std::optional<SDiscReference> IconReference(const lum::data::CProduct& product);

// The actions' names, then the icon's.
std::vector<SDiscReference> ListDiscFiles(const lum::data::CProduct& product);

enum class EDiscOutcome {
    Found,
    Missing,
    Absolute,    // an absolute path (also a Windows drive or network path), not on the disc
    LeavesDisc,  // ".." leads above the disc's root
};

struct SDiscLookup {
    EDiscOutcome outcome = EDiscOutcome::Missing;
    // Found: the names as they are on the disc differ from the written ones in letter case
    // only (the player finds it all the same; media that keep case show the difference).
    bool otherCase = false;
    // Absolute: the name is relative, but the product's base folder is absolute.
    bool absoluteBase = false;
    // Found: a folder where a file is expected, or a file where a folder is.
    bool otherKind = false;
    // Found: the file or folder.
    std::filesystem::path file;
    // Found: its path below the disc's root as it is there, base folder included, with "/"
    // between folders; empty for the root itself.
    std::wstring relative;
    // Found: the name as the action should write it (below the base folder, real letter
    // case). Missing: the nearest existing name, when one is close; else empty.
    std::wstring suggestion;
    // Where relative names are taken below: the root, or its base folder.
    std::filesystem::path lookedIn;
};

// Looks names up below a disc's root (and the product's base folder there) the way the player
// does when it plays from that disc: the name as written, else one that matches without
// regard to letter case. "\" counts as a folder separator. The folders it lists, and what it
// found, are kept for the next names: make one for the names of one menu.
class CDiscLookup {
public:
    CDiscLookup(const std::filesystem::path& root, const wxFileName& base);

    // Valid while the lookup lives.
    const SDiscLookup& Find(const std::wstring& name, EDiscKind kind);

private:
    // Guesses at missing names, each of which reads the folders on its way.
    static constexpr int kMaxGuesses = 100;

    // The sorted names in folder; none when it cannot be listed.
    const std::vector<wxString>& Entries(const wxString& folder);
    // The entry of folder named part as written, else one that differs in letter case only
    // (as the player takes it), else empty. Listed, so that a system blind to case names it.
    wxString RealEntry(const wxString& folder, const wxString& part);
    // The entry of folder closest to part, when it is close enough to be a slip of the keys.
    wxString NearestEntry(const wxString& folder, const wxString& part);
    // The existing name nearest to the missing one below the root, in the form an action
    // writes (below the base folder); empty when some part of it has nothing close.
    std::wstring Suggest(const std::vector<wxString>& below, std::size_t baseParts);

    wxString m_root;
    wxString m_folder;  // the root, or the base folder within it
    wxFileName m_base;
    std::map<wxString, std::vector<wxString>> m_listings;
    std::map<std::pair<std::wstring, EDiscKind>, SDiscLookup> m_found;
    int m_guesses = 0;
};

// One name looked up on its own (see CDiscLookup).
SDiscLookup LookUpOnDisc(const std::wstring& name, EDiscKind kind,
                         const std::filesystem::path& root, const wxFileName& base);

// One thing an author needs to hear about a name, in a line that starts with the place of
// its button: "page 'main', state-button 'install' at 30,110 (292×44): runs ...".
struct SDiscProblem {
    bool error = false;  // else a warning; the icon has warnings only
    std::wstring text;
};

// What there is to say about one lookup below root: nothing when the name is found as
// written and is what the action expects.
std::vector<SDiscProblem> DescribeLookup(const SDiscReference& reference, const SDiscLookup& found,
                                         const std::filesystem::path& root);

// The distance between two names as a typist errs: letters left out, added, changed or two
// swapped, letter case aside.
std::size_t TypingDistance(const std::wstring& a, const std::wstring& b);

}  // namespace lumtool
