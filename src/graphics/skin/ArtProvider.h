#pragma once
// Loads the program's art files (skin pictures, key caps, icons) from one folder.

#include <wx/bitmap.h>
#include <wx/filename.h>

#include <memory>
#include <string>

#include "tarn/Object.h"

namespace graphics {

class IArtProvider : public virtual tarn::IBase {
public:
    virtual void SetArtFolder(const wxFileName& folder) = 0;
    virtual wxFileName GetArtFolder() const = 0;
    // The picture of that file name in the art folder, or none when there is no such file
    // or it cannot be read. flag is passed through for providers that use it.
    virtual std::unique_ptr<wxBitmap> LoadBitmap(const std::wstring& name, bool flag) = 0;
};

class CArtProvider : public tarn::CObject, public virtual IArtProvider {
public:
    void SetArtFolder(const wxFileName& folder) override { m_folder = folder; }
    wxFileName GetArtFolder() const override { return m_folder; }
    std::unique_ptr<wxBitmap> LoadBitmap(const std::wstring& name, bool flag) override;

    // skins/graphics below the folder of the running program.
    static wxFileName DefaultFolder();

private:
    wxFileName m_folder;
};

}  // namespace graphics
