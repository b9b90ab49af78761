#include "graphics/skin/ArtProvider.h"

#include <wx/image.h>
#include <wx/log.h>

#include <filesystem>
#include <system_error>

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
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    wxFileName folder = wxFileName::DirName(
        error ? wxString(".") : wxString(program.parent_path().string()));
    folder.AppendDir("skins");
    folder.AppendDir("graphics");
    return folder;
}

}  // namespace graphics
