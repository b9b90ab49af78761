#pragma once
// Turns file and folder names from menu content into paths on this system. Content made on
// Windows writes "\" between folders and does not care about letter case.

#include <wx/filename.h>

#include <optional>

namespace lum {

// The name with every "\" read as a folder separator.
wxFileName FromContentName(const wxFileName& name);

// folder/relative when it exists; else the existing path whose components match those of
// relative without regard to letter case; else nothing.
std::optional<wxFileName> FindBelow(const wxString& folder, const wxString& relative);

// The entry of folder whose name equals name without regard to letter case, or empty.
wxString MatchEntry(const wxString& folder, const wxString& name);

// The folder that relative disc paths are taken below: folder, or the base's folder within it
// (an absolute base stands alone).
wxString BaseFolder(const wxString& folder, const wxFileName& base);

// Resolves a content name as the player does: an empty or absolute name stays as it is; a
// relative one is taken below the program folder (and the product's base directory there).
// When no such file exists and the content file lives elsewhere, the content file's folder
// (and the base below it) is tried too; a case-insensitive match counts. When nothing
// exists, the name below the program folder is returned.
wxFileName ResolveContentPath(const wxFileName& name, const wxString& programFolder,
                              const wxFileName& base, const wxString& contentFolder);

}  // namespace lum
