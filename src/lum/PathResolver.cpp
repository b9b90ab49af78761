#include "lum/PathResolver.h"

#include <wx/dir.h>
#include <wx/tokenzr.h>

#include "tarn/Text.h"

namespace lum {

wxFileName FromContentName(const wxFileName& name) {
    wxString path = name.GetFullPath();
    path.Replace("\\", "/");
    return wxFileName(path);
}

wxString MatchEntry(const wxString& folder, const wxString& name) {
    wxDir dir(folder);
    if (!dir.IsOpened()) return {};
    wxString entry;
    for (bool more = dir.GetFirst(&entry, wxString(), wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
         more; more = dir.GetNext(&entry)) {
        if (tarn::EqualsNoCase(entry.ToStdWstring(), name.ToStdWstring())) return entry;
    }
    return {};
}

wxString BaseFolder(const wxString& folder, const wxFileName& base) {
    if (!base.IsOk() || base.GetFullPath().empty()) return folder;
    const wxFileName normalised = FromContentName(base);
    const wxString directory = normalised.GetPath();
    if (directory.empty()) return folder;
    if (normalised.IsAbsolute()) return directory;
    return folder + "/" + directory;
}

namespace {

bool Exists(const wxString& path) { return wxFileName::Exists(path); }

}  // namespace

std::optional<wxFileName> FindBelow(const wxString& folder, const wxString& relative) {
    const wxString exact = folder + "/" + relative;
    if (Exists(exact)) return wxFileName(exact);
    // Walk the components, taking the exact one where it exists and a case match otherwise.
    wxString current = folder;
    wxStringTokenizer parts(relative, "/", wxTOKEN_STRTOK);
    while (parts.HasMoreTokens()) {
        const wxString part = parts.GetNextToken();
        if (part == ".") continue;
        if (part == "..") {
            current += "/..";
            continue;
        }
        if (Exists(current + "/" + part)) {
            current += "/" + part;
            continue;
        }
        const wxString match = MatchEntry(current, part);
        if (match.empty()) return std::nullopt;
        current += "/" + match;
    }
    wxFileName found(current);
    found.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    return found;
}

wxFileName ResolveContentPath(const wxFileName& name, const wxString& programFolder,
                              const wxFileName& base, const wxString& contentFolder) {
    const wxFileName normalised = FromContentName(name);
    if (!normalised.IsOk() || normalised.GetFullPath().empty()) return name;
    if (normalised.IsAbsolute()) return normalised;
    const wxString relative = normalised.GetFullPath();
    const wxString primary = BaseFolder(programFolder, base);
    if (auto found = FindBelow(primary, relative)) return *found;
    if (!contentFolder.empty() && contentFolder != programFolder) {
        if (auto found = FindBelow(BaseFolder(contentFolder, base), relative)) return *found;
    }
    wxFileName fallback(relative);
    fallback.MakeAbsolute(primary);
    return fallback;
}

}  // namespace lum
