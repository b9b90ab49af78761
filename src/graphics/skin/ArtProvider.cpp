#include "graphics/skin/ArtProvider.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

namespace graphics {

std::unique_ptr<wxBitmap> CArtProvider::LoadBitmap(const std::wstring& name, bool) {
    if (name.empty()) return nullptr;
    const wxString folder = m_folder.IsDir() ? m_folder.GetPath() : m_folder.GetFullPath();
    wxFileName file(folder, wxString(name));
    if (!file.FileExists()) return nullptr;
    wxLogNull quiet;  // an unreadable picture is silent
    // Read as an image, through the program's picture readers: wxBitmap::LoadFile would hand
    // the file to any decoder the system has.
    wxImage image;
    if (!image.LoadFile(file.GetFullPath(), wxBITMAP_TYPE_ANY) || !image.IsOk()) return nullptr;
    auto bitmap = std::make_unique<wxBitmap>(image);
    if (!bitmap->IsOk()) return nullptr;
    return bitmap;
}

wxFileName CArtProvider::DefaultFolder() {
    // The toolkit knows the running program's file on every system.
    const wxString program = wxStandardPaths::Get().GetExecutablePath();
    wxFileName folder =
        wxFileName::DirName(program.empty() ? wxString(".") : wxFileName(program).GetPath());
    folder.AppendDir("skins");
    folder.AppendDir("graphics");
    return folder;
}

}  // namespace graphics
