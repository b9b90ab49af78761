#include "graphics/PictureDecoding.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/thread.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/QuietAsserts.h"

namespace graphics {
namespace {

using tarn::win32::EPictureFormat;

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

// Keeps the first message the toolkit's reader logs (libpng's or libjpeg's own, before the
// reader's general one), to give the reason of a failure. Pictures may be decoded on several
// threads at once: each other thread catches its own messages.
class CFirstMessage : public wxLog {
public:
    CFirstMessage()
        : m_main(wxIsMainThread()),
          m_previous(m_main ? wxLog::SetActiveTarget(this) : wxLog::SetThreadActiveTarget(this)) {}
    ~CFirstMessage() override {
        if (m_main) {
            wxLog::SetActiveTarget(m_previous);
        } else {
            wxLog::SetThreadActiveTarget(m_previous);
        }
    }
    CFirstMessage(const CFirstMessage&) = delete;
    CFirstMessage& operator=(const CFirstMessage&) = delete;

    const wxString& Get() const { return m_first; }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& text, const wxLogRecordInfo&) override {
        if (level <= wxLOG_Warning && m_first.empty()) m_first = text;
    }

private:
    bool m_main;
    wxLog* m_previous;
    wxString m_first;
};

// PNG and JPEG: libpng and libjpeg hold up against damaged files, but allocate whatever size
// the header declares, so that is checked first. libpng's messages come through the
// toolkit's log; libjpeg's would go straight to stderr unless the reader is asked to be quiet.
bool DecodeWithToolkit(wxImageHandler& reader, EPictureFormat format, const std::uint8_t* data,
                       std::size_t size, const tarn::win32::SPictureLimits& limits, wxImage& image,
                       std::string& error) {
    tarn::win32::SPictureHeader header;
    if (!tarn::win32::ReadPictureHeader(format, data, size, limits, header, error)) return false;
    wxMemoryInputStream stream(data, size);
    const CQuietAsserts noDialogs;
    const CFirstMessage messages;
    const bool verbose = format == EPictureFormat::Png;
    if (reader.LoadFile(&image, stream, verbose, -1) && image.IsOk()) return true;
    image = wxImage();
    const std::string detail = messages.Get().utf8_string();
    return Fail(error, "does not decode" + (detail.empty() ? "" : " (" + detail + ")"));
}

}  // namespace

bool PictureFormatOf(wxBitmapType type, EPictureFormat& format) {
    switch (type) {
        case wxBITMAP_TYPE_PNG:
            format = EPictureFormat::Png;
            return true;
        case wxBITMAP_TYPE_JPEG:
            format = EPictureFormat::Jpeg;
            return true;
        case wxBITMAP_TYPE_BMP:
            format = EPictureFormat::Bmp;
            return true;
        case wxBITMAP_TYPE_ICO:
            format = EPictureFormat::Ico;
            return true;
        case wxBITMAP_TYPE_GIF:
            format = EPictureFormat::Gif;
            return true;
        default:
            return false;
    }
}

std::string PictureTooLargeReason() {
    return "is larger than the " + std::to_string(tarn::win32::kMaxPictureBytes >> 20) +
           " MiB read of a picture";
}

bool ReadPictureBytes(wxInputStream& stream, std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kChunk = 64 * 1024;
    bytes.clear();
    // What is left of a stream that knows its length and place is refused by it, unread.
    const wxFileOffset length = stream.GetLength();
    const wxFileOffset at = length == wxInvalidOffset ? wxInvalidOffset : stream.TellI();
    if (at != wxInvalidOffset && length - at > 0 &&
        static_cast<std::uint64_t>(length - at) > tarn::win32::kMaxPictureBytes) {
        return false;
    }
    while (bytes.size() <= tarn::win32::kMaxPictureBytes) {
        const std::size_t had = bytes.size();
        // One byte beyond the limit tells a file that is too large from one that just fits.
        const std::size_t want = std::min(kChunk, tarn::win32::kMaxPictureBytes + 1 - had);
        bytes.resize(had + want);
        stream.Read(bytes.data() + had, want);
        bytes.resize(had + stream.LastRead());
        if (stream.LastRead() == 0) return true;
    }
    bytes.resize(tarn::win32::kMaxPictureBytes);
    return false;
}

bool DecodePicture(const std::uint8_t* data, std::size_t size, wxBitmapType type,
                   const tarn::win32::SPictureLimits& limits, wxImage& image, std::string& error) {
    EPictureFormat format;
    if (!PictureFormatOf(type, format)) return Fail(error, "is not of a picture type that is read");
    if (size > tarn::win32::kMaxPictureBytes) {
        return Fail(error, PictureTooLargeReason());
    }
    if (format == EPictureFormat::Png) {
        wxPNGHandler reader;
        return DecodeWithToolkit(reader, format, data, size, limits, image, error);
    }
    if (format == EPictureFormat::Jpeg) {
        wxJPEGHandler reader;
        return DecodeWithToolkit(reader, format, data, size, limits, image, error);
    }
    tarn::win32::SPixels pixels;
    if (!tarn::win32::DecodePicture(format, data, size, limits, pixels, error)) return false;
    image = ToImage(pixels);
    return image.IsOk() || Fail(error, "could not be made into an image");
}

wxImage ToImage(const tarn::win32::SPixels& pixels) {
    const std::size_t count = static_cast<std::size_t>(pixels.width) * pixels.height;
    if (count == 0 || pixels.rgba.size() != 4 * count) return wxImage();
    wxImage image(pixels.width, pixels.height, false);
    if (!image.IsOk()) return image;
    // One pass splits the pixels into the image's colour and alpha planes; the alpha plane is
    // dropped again when every pixel turns out opaque.
    auto* alpha = static_cast<unsigned char*>(std::malloc(count));
    if (!alpha) return wxImage();
    const std::uint8_t* in = pixels.rgba.data();
    unsigned char* rgb = image.GetData();
    unsigned char opaque = 255;
    for (std::size_t i = 0; i < count; ++i, in += 4, rgb += 3) {
        std::memcpy(rgb, in, 3);
        alpha[i] = in[3];
        opaque &= in[3];
    }
    if (opaque == 255) {
        std::free(alpha);
    } else {
        image.SetAlpha(alpha, false);  // the image frees it
    }
    return image;
}

}  // namespace graphics
