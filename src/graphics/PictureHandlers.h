#pragma once
// The toolkit's image handlers as this program installs them: every picture the toolkit
// reads (a content file's attachment, a picture in a rich text, a skin's art file, the window
// icon) goes through PictureDecoding, never through one of the toolkit's own BMP, icon, GIF,
// cursor or other readers, which corrupt memory or allocate without bound on damaged files.
// Load pictures into a wxImage and make bitmaps of that: on GTK, wxBitmap::LoadFile and
// wxIcon::LoadFile hand a file to GdkPixbuf's every loader without a size check first.

#include <wx/image.h>
#include <wx/imagjpeg.h>
#include <wx/imagpng.h>

namespace graphics {

// Reads BMP, ICO or GIF files through the platform's decoder.
class CPictureHandler : public wxImageHandler {
public:
    // The toolkit's own name, extension, type and MIME type for the format.
    CPictureHandler(const wxString& name, const wxString& extension, wxBitmapType type,
                    const wxString& mime);

    bool LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int index) override;

protected:
    bool DoCanRead(wxInputStream& stream) override;
};

// The toolkit's PNG handler with the declared size checked before libpng allocates.
class CBoundedPNGHandler : public wxPNGHandler {
public:
    bool LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int index) override;
};

// The toolkit's JPEG handler with the declared size checked before libjpeg allocates.
class CBoundedJPEGHandler : public wxJPEGHandler {
public:
    bool LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int index) override;
};

// Holds the place of a format no picture of ours has (cursors, TIFF, XPM, ...) and reads
// nothing, so that wxInitAllImageHandlers, which adds a handler only for a type that has
// none, finds no place left for the toolkit's reader.
class CRefusingHandler : public wxImageHandler {
public:
    CRefusingHandler(const wxString& name, const wxString& extension, wxBitmapType type,
                     const wxString& mime);

    bool LoadFile(wxImage*, wxInputStream&, bool, int) override { return false; }

protected:
    bool DoCanRead(wxInputStream&) override { return false; }
};

// Removes every installed image handler and installs ours instead: PNG, JPEG, BMP, ICO and
// GIF readers, and a refusing handler for every other type the toolkit could read. Call it
// once the toolkit has started (its start adds the toolkit's BMP reader).
void InstallPictureHandlers();

}  // namespace graphics
