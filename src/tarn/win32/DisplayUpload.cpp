#include "tarn/win32/DisplayUpload.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <cairo-xlib.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace tarn::win32 {

namespace {

XShmSegmentInfo& Segment(void* segment) { return *static_cast<XShmSegmentInfo*>(segment); }

bool NativeIsLittleEndian() {
    const std::uint32_t probe = 1;
    return *reinterpret_cast<const unsigned char*>(&probe) == 1;
}

// A display that refuses the segment (one across a network) answers with an X error; it is
// caught here instead of ending the program in the toolkit's handler.
bool g_attachRefused = false;

int NoteRefusal(Display*, XErrorEvent*) {
    g_attachRefused = true;
    return 0;
}

bool Attach(Display* display, XShmSegmentInfo* info) {
    g_attachRefused = false;
    XSync(display, False);
    auto* previous = XSetErrorHandler(NoteRefusal);
    const bool attached = XShmAttach(display, info);
    XSync(display, False);
    XSetErrorHandler(previous);
    return attached && !g_attachRefused;
}

// An X pixmap with alpha: what pictures are sent into.
bool IsPixmapWithAlpha(cairo_surface_t* target) {
    return cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_XLIB &&
           cairo_xlib_surface_get_depth(target) == 32;
}

}  // namespace

CDisplayUpload::~CDisplayUpload() { Release(); }

void CDisplayUpload::Release() {
    if (m_image) {
        XShmSegmentInfo& info = Segment(m_segment);
        XShmDetach(m_display, &info);
        XSync(m_display, False);
        shmdt(info.shmaddr);
        m_image->data = nullptr;
        XDestroyImage(m_image);
        m_image = nullptr;
    }
    delete static_cast<XShmSegmentInfo*>(m_segment);
    m_segment = nullptr;
    m_display = nullptr;
    m_width = m_height = 0;
}

bool CDisplayUpload::Fit(Display* display, int width, int height) {
    if (m_image && display == m_display && width == m_width && height == m_height) return true;
    Release();
    if (m_refused || !XShmQueryExtension(display)) {
        m_refused = true;
        return false;
    }
    auto info = std::make_unique<XShmSegmentInfo>();
    XImage* image = XShmCreateImage(display, DefaultVisual(display, DefaultScreen(display)), 32,
                                    ZPixmap, nullptr, info.get(), width, height);
    // Pixels are written as this machine's 32-bit words.
    const int nativeOrder = NativeIsLittleEndian() ? LSBFirst : MSBFirst;
    if (!image || image->bits_per_pixel != 32 || image->byte_order != nativeOrder) {
        if (image) XDestroyImage(image);
        m_refused = true;
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * height;
    info->shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info->shmid < 0) {
        XDestroyImage(image);
        m_refused = true;
        return false;
    }
    info->shmaddr = image->data = static_cast<char*>(shmat(info->shmid, nullptr, 0));
    info->readOnly = True;
    const bool mapped = info->shmaddr != reinterpret_cast<char*>(-1);
    const bool attached = mapped && Attach(display, info.get());
    // Gone once both sides let go, whatever happens to this process.
    shmctl(info->shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (mapped) shmdt(info->shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        m_refused = true;
        return false;
    }
    m_display = display;
    m_image = image;
    m_segment = info.release();
    m_width = width;
    m_height = height;
    return true;
}

bool CDisplayUpload::Put(cairo_surface_t* target, cairo_surface_t* picture) {
    if (!IsPixmapWithAlpha(target) || cairo_surface_get_type(picture) != CAIRO_SURFACE_TYPE_IMAGE) {
        return false;
    }
    const cairo_format_t format = cairo_image_surface_get_format(picture);
    const int width = cairo_image_surface_get_width(picture);
    const int height = cairo_image_surface_get_height(picture);
    if ((format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) ||
        width != cairo_xlib_surface_get_width(target) ||
        height != cairo_xlib_surface_get_height(target)) {
        return false;
    }
    Display* display = cairo_xlib_surface_get_display(target);
    if (!Fit(display, width, height)) return false;
    cairo_surface_flush(picture);
    const unsigned char* rows = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(rows + y * stride);
        auto* to = reinterpret_cast<std::uint32_t*>(m_image->data + y * m_image->bytes_per_line);
        if (format == CAIRO_FORMAT_ARGB32) {
            std::memcpy(to, from, static_cast<std::size_t>(width) * 4);
        } else {
            for (int x = 0; x < width; ++x) to[x] = from[x] | 0xFF000000u;  // no alpha: opaque
        }
    }
    Send(target, width, height);
    return true;
}

bool CDisplayUpload::Warm(cairo_surface_t* target) {
    if (!IsPixmapWithAlpha(target)) return false;
    const int width = cairo_xlib_surface_get_width(target);
    const int height = cairo_xlib_surface_get_height(target);
    if (!Fit(cairo_xlib_surface_get_display(target), width, height)) return false;
    std::memset(m_image->data, 0, static_cast<std::size_t>(m_image->bytes_per_line) * height);
    Send(target, width, height);
    return true;
}

void CDisplayUpload::Send(cairo_surface_t* target, int width, int height) {
    Display* display = cairo_xlib_surface_get_display(target);
    cairo_surface_flush(target);
    const Drawable drawable = cairo_xlib_surface_get_drawable(target);
    GC gc = XCreateGC(display, drawable, 0, nullptr);
    XShmPutImage(display, drawable, gc, m_image, 0, 0, 0, 0, width, height, False);
    XFreeGC(display, gc);
    // The segment is written again by the next picture: wait until this one has been read.
    XSync(display, False);
    cairo_surface_mark_dirty(target);
}

}  // namespace tarn::win32
