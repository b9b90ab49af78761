#include "graphics/PictureHandlers.h"

#include <cstring>
#include <string>
#include <vector>

#include "graphics/PictureDecoding.h"

namespace graphics {
namespace {

// Decodes the rest of the stream. A failure is told by the result alone, whatever the caller
// asks: the toolkit tries a rich text's picture again on every repaint, and the content
// file's own reader says once which picture is missing and why.
bool LoadPicture(wxImage* image, wxInputStream& stream, wxBitmapType type) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    wxImage decoded;
    if (!ReadPictureBytes(stream, bytes) ||
        !DecodePicture(bytes.data(), bytes.size(), type, tarn::win32::SPictureLimits(), decoded,
                       error)) {
        return false;
    }
    *image = decoded;
    return true;
}

bool StartsWith(wxInputStream& stream, const char* magic, std::size_t size) {
    char start[8] = {};
    stream.Read(start, size);
    return stream.LastRead() == size && std::memcmp(start, magic, size) == 0;
}

}  // namespace

CPictureHandler::CPictureHandler(const wxString& name, const wxString& extension, wxBitmapType type,
                                 const wxString& mime) {
    SetName(name);
    SetExtension(extension);
    SetType(type);
    SetMimeType(mime);
}

bool CPictureHandler::LoadFile(wxImage* image, wxInputStream& stream, bool, int) {
    return LoadPicture(image, stream, GetType());
}

bool CPictureHandler::DoCanRead(wxInputStream& stream) {
    switch (GetType()) {
        case wxBITMAP_TYPE_BMP:
            return StartsWith(stream, "BM", 2);
        case wxBITMAP_TYPE_ICO:
            return StartsWith(stream, "\0\0\1\0", 4);
        case wxBITMAP_TYPE_GIF:
            return StartsWith(stream, "GIF8", 4);
        default:
            return false;
    }
}

bool CBoundedPNGHandler::LoadFile(wxImage* image, wxInputStream& stream, bool, int) {
    return LoadPicture(image, stream, wxBITMAP_TYPE_PNG);
}

bool CBoundedJPEGHandler::LoadFile(wxImage* image, wxInputStream& stream, bool, int) {
    return LoadPicture(image, stream, wxBITMAP_TYPE_JPEG);
}

CRefusingHandler::CRefusingHandler(const wxString& name, const wxString& extension,
                                   wxBitmapType type, const wxString& mime) {
    SetName(name);
    SetExtension(extension);
    SetType(type);
    SetMimeType(mime);
}

void InstallPictureHandlers() {
    wxImage::CleanUpHandlers();
    wxImage::AddHandler(new CBoundedPNGHandler);
    wxImage::AddHandler(new CBoundedJPEGHandler);
    // The toolkit's names, so that a search by name finds these.
    wxImage::AddHandler(
        new CPictureHandler("Windows bitmap file", "bmp", wxBITMAP_TYPE_BMP, "image/x-bmp"));
    wxImage::AddHandler(
        new CPictureHandler("Windows icon file", "ico", wxBITMAP_TYPE_ICO, "image/x-ico"));
    wxImage::AddHandler(new CPictureHandler("GIF file", "gif", wxBITMAP_TYPE_GIF, "image/gif"));
    const struct {
        const char* name;
        const char* extension;
        wxBitmapType type;
        const char* mime;
    } refused[] = {
        {"Windows cursor file", "cur", wxBITMAP_TYPE_CUR, "image/x-cur"},
        {"Windows animated cursor file", "ani", wxBITMAP_TYPE_ANI, "image/x-ani"},
        {"TIFF file", "tif", wxBITMAP_TYPE_TIFF, "image/tiff"},
        {"PNM file", "pnm", wxBITMAP_TYPE_PNM, "image/pnm"},
        {"PCX file", "pcx", wxBITMAP_TYPE_PCX, "image/pcx"},
        {"IFF file", "iff", wxBITMAP_TYPE_IFF, "image/x-iff"},
        {"TGA file", "tga", wxBITMAP_TYPE_TGA, "image/tga"},
        {"XPM file", "xpm", wxBITMAP_TYPE_XPM, "image/xpm"},
    };
    for (const auto& format : refused) {
        wxImage::AddHandler(
            new CRefusingHandler(format.name, format.extension, format.type, format.mime));
    }
}

}  // namespace graphics
