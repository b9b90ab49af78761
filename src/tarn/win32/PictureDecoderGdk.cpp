// The picture decoder on Linux: GdkPixbuf, with its loader pinned to the format at hand so
// that it never guesses another one from the bytes.

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>
#include <memory>

#include "tarn/win32/PictureDecoder.h"

namespace tarn::win32 {
namespace {

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

struct SUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using TOwned = std::unique_ptr<T, SUnref>;

// One loader, fed the whole file at once (GdkPixbuf then composes a GIF's first frame only
// once or twice instead of after every data block) and always closed.
class CLoader {
public:
    CLoader(const char* type, const SPictureLimits& limits) : m_limits(limits) {
        GError* failure = nullptr;
        m_loader.reset(gdk_pixbuf_loader_new_with_type(type, &failure));
        if (failure) TakeError(failure);
        if (m_loader) {
            g_signal_connect(m_loader.get(), "size-prepared", G_CALLBACK(&CLoader::OnSize), this);
        }
    }
    ~CLoader() {
        if (m_loader && !m_closed) gdk_pixbuf_loader_close(m_loader.get(), nullptr);
    }
    CLoader(const CLoader&) = delete;
    CLoader& operator=(const CLoader&) = delete;

    // Writes the bytes and closes the loader; false, with the reason, when it fails.
    bool Load(const std::uint8_t* data, std::size_t size, std::string& error) {
        if (!m_loader) return Fail(error, "cannot be decoded here (" + m_error + ")");
        if (size == 0) return Fail(error, "is empty");
        GError* failure = nullptr;
        const bool written = gdk_pixbuf_loader_write(m_loader.get(), data, size, &failure);
        if (failure) TakeError(failure);
        m_closed = true;
        const bool closed = gdk_pixbuf_loader_close(m_loader.get(), &failure);
        if (failure) TakeError(failure);
        if (m_refused) return Fail(error, "declares a picture above the limits");
        if (!written || !closed) return Fail(error, "does not decode (" + m_error + ")");
        return true;
    }

    GdkPixbufLoader* Get() const { return m_loader.get(); }

private:
    // A second guard behind the header check: a size above the limits stops the decoder
    // before it allocates the picture.
    static void OnSize(GdkPixbufLoader* loader, gint width, gint height, gpointer self) {
        auto* me = static_cast<CLoader*>(self);
        if (width > me->m_limits.maxSide || height > me->m_limits.maxSide ||
            std::int64_t{width} * height > me->m_limits.maxPixels) {
            me->m_refused = true;
            gdk_pixbuf_loader_set_size(loader, 0, 0);
        }
    }

    // Keeps the first error's text and frees it.
    void TakeError(GError*& failure) {
        if (m_error.empty()) m_error = failure->message ? failure->message : "unknown error";
        g_clear_error(&failure);
    }

    TOwned<GdkPixbufLoader> m_loader;
    SPictureLimits m_limits;
    bool m_closed = false;
    bool m_refused = false;
    std::string m_error;
};

bool CopyPixels(const GdkPixbuf* pixbuf, SPixels& pixels, std::string& error) {
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels != (alpha ? 4 : 3)) {
        return Fail(error, "decodes to a pixel layout that is not read");
    }
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const std::size_t stride = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    const guint8* source = gdk_pixbuf_read_pixels(pixbuf);
    pixels.width = width;
    pixels.height = height;
    pixels.rgba.resize(std::size_t{4} * width * height);
    const std::size_t rowBytes = std::size_t{4} * width;
    std::uint8_t* out = pixels.rgba.data();
    for (int y = 0; y < height; ++y, out += rowBytes) {
        const guint8* in = source + stride * y;
        if (alpha) {
            std::memcpy(out, in, rowBytes);  // already the layout we hand on
            continue;
        }
        for (std::uint8_t* pixel = out; pixel != out + rowBytes; pixel += 4, in += 3) {
            std::memcpy(pixel, in, 3);
            pixel[3] = 255;
        }
    }
    return true;
}

// The chosen picture of an icon file as a file of its own, so that GdkPixbuf (which would
// pick by another rule) decodes exactly that one.
std::vector<std::uint8_t> SingleIcon(const std::uint8_t* data, std::size_t index,
                                     const SIconEntry& icon) {
    constexpr std::uint8_t kHeader[] = {0, 0, 1, 0, 1, 0};
    constexpr std::uint32_t kPictureAt = 6 + 16;
    std::vector<std::uint8_t> file(kHeader, kHeader + sizeof kHeader);
    const std::uint8_t* entry = data + 6 + 16 * index;
    file.insert(file.end(), entry, entry + 12);
    for (int shift = 0; shift < 32; shift += 8) file.push_back((kPictureAt >> shift) & 0xFF);
    file.insert(file.end(), data + icon.offset, data + icon.offset + icon.size);
    return file;
}

bool DecodeStill(const char* type, const std::uint8_t* data, std::size_t size,
                 const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    CLoader loader(type, limits);
    if (!loader.Load(data, size, error)) return false;
    const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.Get());
    if (!pixbuf) return Fail(error, "does not decode to a picture");
    return CopyPixels(pixbuf, pixels, error);
}

bool DecodeIcon(const std::uint8_t* data, const SPictureHeader& header,
                const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    const std::size_t index = ChooseIcon(header.icons);
    const SIconEntry& icon = header.icons[index];
    if (icon.png) return DecodeStill("png", data + icon.offset, icon.size, limits, pixels, error);
    const std::vector<std::uint8_t> single = SingleIcon(data, index, icon);
    return DecodeStill("ico", single.data(), single.size(), limits, pixels, error);
}

// GdkPixbuf's time for animations: a GTimeVal, which GLib has deprecated in favour of a
// type its animation interface does not take.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS
using STime = GTimeVal;

void Advance(STime& time, int milliseconds) {
    const glong micro = time.tv_usec + static_cast<glong>(milliseconds) * 1000;
    time.tv_sec += micro / G_USEC_PER_SEC;
    time.tv_usec = micro % G_USEC_PER_SEC;
}

// Steps through one pass of the animation, frame by frame, by the time each is shown. One
// frame's pixels are reused for every frame.
bool ComposeFrames(GdkPixbufAnimation* animation, const SPictureHeader& header,
                   const FrameSink& sink, std::string& error) {
    STime time{0, 0};
    const TOwned<GdkPixbufAnimationIter> iter(gdk_pixbuf_animation_get_iter(animation, &time));
    SAnimationFrame frame;
    for (std::size_t i = 0; i < header.frames.size(); ++i) {
        if (i > 0) {
            const int shown = gdk_pixbuf_animation_iter_get_delay_time(iter.get());
            if (shown < 0) return Fail(error, "has fewer frames than it lists");
            Advance(time, shown);
            gdk_pixbuf_animation_iter_advance(iter.get(), &time);
        }
        const GdkPixbuf* pixbuf = gdk_pixbuf_animation_iter_get_pixbuf(iter.get());
        if (!pixbuf) return Fail(error, "does not decode frame " + std::to_string(i + 1));
        if (!CopyPixels(pixbuf, frame.pixels, error)) return false;
        if (frame.pixels.width != header.width || frame.pixels.height != header.height) {
            return Fail(error, "decodes to frames of another size than its canvas");
        }
        frame.delay = header.frames[i].delay;
        if (!sink(frame)) return Fail(error, "could not keep frame " + std::to_string(i + 1));
    }
    return true;
}
G_GNUC_END_IGNORE_DEPRECATIONS

}  // namespace

bool DecodePicture(EPictureFormat format, const std::uint8_t* data, std::size_t size,
                   const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    SPictureHeader header;
    if (!ReadPictureHeader(format, data, size, limits, header, error)) return false;
    switch (format) {
        case EPictureFormat::Bmp:
            return DecodeStill("bmp", data, size, limits, pixels, error);
        case EPictureFormat::Ico:
            return DecodeIcon(data, header, limits, pixels, error);
        case EPictureFormat::Gif:
            return DecodeStill("gif", data, size, limits, pixels, error);
        case EPictureFormat::Png:
        case EPictureFormat::Jpeg:
            break;
    }
    return Fail(error, "is of a format this decoder leaves to the toolkit");
}

bool DecodeAnimation(const std::uint8_t* data, std::size_t size, const SAnimationLimits& limits,
                     const FrameSink& sink, std::string& error) {
    SPictureHeader header;
    if (!ReadAnimationHeader(data, size, limits, header, error)) return false;
    CLoader loader("gif", limits.picture);
    if (!loader.Load(data, size, error)) return false;
    GdkPixbufAnimation* animation = gdk_pixbuf_loader_get_animation(loader.Get());
    if (!animation) return Fail(error, "does not decode to an animation");
    return ComposeFrames(animation, header, sink, error);
}

}  // namespace tarn::win32
