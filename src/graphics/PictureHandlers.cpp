#include "graphics/PictureHandlers.h"

#include <wx/log.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/PictureDecoding.h"

namespace graphics {
namespace {

// Decodes the rest of the stream; a failure is logged, as the toolkit's readers do, when the
// caller asks for messages.
bool LoadPicture(wxImage* image, wxInputStream& stream, wxBitmapType type, bool verbose) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    wxImage decoded;
    if (!ReadPictureBytes(stream, bytes)) {
        error = "is larger than the " + std::to_string(tarn::win32::kMaxPictureBytes >> 20) +
                " MiB read of a picture";
    } else if (DecodePicture(bytes.data(), bytes.size(), type, tarn::win32::SPictureLimits(),
                             decoded, error)) {
        *image = decoded;
        return true;
    }
    if (verbose) {
        const wxImageHandler* handler = wxImage::FindHandler(type);
        const wxString kind = handler ? handler->GetExtension().Upper() : wxString("A");
        wxLogWarning("%s picture %s; it is not shown.", kind, wxString::FromUTF8(error));
    }
    return false;
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

bool CPictureHandler::LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int) {
    return LoadPicture(image, stream, GetType(), verbose);
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

bool CBoundedPNGHandler::LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int) {
    return LoadPicture(image, stream, wxBITMAP_TYPE_PNG, verbose);
}

bool CBoundedJPEGHandler::LoadFile(wxImage* image, wxInputStream& stream, bool verbose, int) {
    return LoadPicture(image, stream, wxBITMAP_TYPE_JPEG, verbose);
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
