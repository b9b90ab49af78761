#include "tarn/win32/WindowFader.h"

#include <wx/graphics.h>

#ifdef __WXGTK3__
#include <cairo-xlib.h>
#include <cairo.h>

#include "tarn/win32/DisplayUpload.h"
#endif

namespace tarn::win32 {

#ifdef __WXGTK3__

namespace {

// A surface of the display's own for pictures of this size, made for target.
cairo_surface_t* SimilarTo(cairo_surface_t* target, cairo_content_t content, const wxSize& size) {
    cairo_surface_t* surface =
        cairo_surface_create_similar(target, content, size.GetWidth(), size.GetHeight());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

// The cairo image a bitmap keeps its pixels in; to be destroyed by the caller.
cairo_surface_t* ImageOf(const wxBitmap& picture) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* painter = cairo_create(scratch);
    picture.SetSourceSurface(painter, 0, 0);
    cairo_surface_t* image = nullptr;
    if (cairo_pattern_get_surface(cairo_get_source(painter), &image) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_reference(image);
    } else {
        image = nullptr;
    }
    cairo_destroy(painter);
    cairo_surface_destroy(scratch);
    return image;
}

void CopyInto(CDisplayUpload& upload, cairo_surface_t* copy, const wxBitmap& picture) {
    if (cairo_surface_t* image = ImageOf(picture)) {
        const bool sent = upload.Put(copy, image);
        cairo_surface_destroy(image);
        if (sent) return;
    }
    cairo_t* painter = cairo_create(copy);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    picture.SetSourceSurface(painter, 0, 0);  // the bitmap's own pixels, not converted
    cairo_paint(painter);
    cairo_destroy(painter);
}

// A surface the display keeps, released with its holder.
struct SSurface {
    cairo_surface_t* surface = nullptr;
    cairo_content_t content = CAIRO_CONTENT_COLOR;
    wxSize size;

    SSurface() = default;
    SSurface(const SSurface&) = delete;
    SSurface& operator=(const SSurface&) = delete;
    ~SSurface() { Release(); }

    void Release() {
        if (surface) cairo_surface_destroy(surface);
        surface = nullptr;
    }
    // Made already, of this size and content, for target's display.
    bool Fits(cairo_surface_t* target, cairo_content_t wanted, const wxSize& wantedSize) const {
        return surface && cairo_surface_get_device(surface) == cairo_surface_get_device(target) &&
               cairo_surface_get_type(surface) == cairo_surface_get_type(target) &&
               content == wanted && size == wantedSize;
    }
    // Made again only when it does not fit.
    bool Fit(cairo_surface_t* target, cairo_content_t wanted, const wxSize& wantedSize) {
        if (Fits(target, wanted, wantedSize)) return true;
        Release();
        surface = SimilarTo(target, wanted, wantedSize);
        content = wanted;
        size = wantedSize;
        return surface != nullptr;
    }
};

bool OnXDisplay(cairo_surface_t* target) {
    return cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_XLIB;
}

// Shows source as it is at (x, y) of cr, over the area of its size.
void CopyAt(cairo_t* cr, cairo_surface_t* source, int x, int y, const wxSize& size) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, size.GetWidth(), size.GetHeight());
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, x, y);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace

struct CWindowFader::SCopies {
    const void* from = nullptr;  // which pictures the copies hold now
    const void* to = nullptr;
    SSurface fromCopy;
    SSurface toCopy;
    SSurface step;  // where a step outside a paint is blended before it is shown
    CDisplayUpload upload;

    // The display's copies of from and to, each made once per fade.
    bool Hold(cairo_surface_t* target, const wxBitmap& fromPicture, const wxBitmap& toPicture) {
        return Keep(target, fromCopy, from, fromPicture) && Keep(target, toCopy, to, toPicture);
    }

    bool Keep(cairo_surface_t* target, SSurface& copy, const void*& held, const wxBitmap& picture) {
        if (held == picture.GetRefData() && copy.surface) return true;
        held = nullptr;
        if (!copy.Fit(target, CAIRO_CONTENT_COLOR_ALPHA, picture.GetSize())) return false;
        CopyInto(upload, copy.surface, picture);
        held = picture.GetRefData();
        return true;
    }

    void Blend(cairo_t* cr, int x, int y, const wxSize& size, unsigned char alpha) const {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, size.GetWidth(), size.GetHeight());
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, fromCopy.surface, x, y);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_source_surface(cr, toCopy.surface, x, y);
        cairo_paint_with_alpha(cr, alpha / 255.0);
        cairo_restore(cr);
    }
};

CWindowFader::CWindowFader() : m_copies(std::make_unique<SCopies>()) {}
CWindowFader::~CWindowFader() = default;

namespace {

cairo_t* NativeContext(wxDC& target) {
    wxGraphicsContext* context = target.GetGraphicsContext();
    return context ? static_cast<cairo_t*>(context->GetNativeContext()) : nullptr;
}

}  // namespace

bool CWindowFader::Paint(wxDC& target, const wxBitmap& from, const wxBitmap& to, int x, int y,
                         unsigned char alpha) {
    cairo_t* cr = NativeContext(target);
    if (!cr || !from.IsOk() || !to.IsOk() || from.GetSize() != to.GetSize()) return false;
    if (!m_copies->Hold(cairo_get_target(cr), from, to)) return false;
    m_copies->Blend(cr, x, y, from.GetSize(), alpha);
    return true;
}

bool CWindowFader::PaintOnWindow(wxDC& window, const wxBitmap& from, const wxBitmap& to, int x,
                                 int y, unsigned char alpha) {
    cairo_t* cr = NativeContext(window);
    if (!cr || !from.IsOk() || !to.IsOk() || from.GetSize() != to.GetSize()) return false;
    cairo_surface_t* surface = cairo_get_target(cr);
    if (!OnXDisplay(surface)) return false;
    if (!m_copies->Hold(surface, from, to) ||
        !m_copies->step.Fit(surface, CAIRO_CONTENT_COLOR, from.GetSize())) {
        return false;
    }
    cairo_t* step = cairo_create(m_copies->step.surface);
    m_copies->Blend(step, 0, 0, from.GetSize(), alpha);
    cairo_destroy(step);
    CopyAt(cr, m_copies->step.surface, x, y, from.GetSize());
    cairo_surface_flush(surface);
    // Asked of the display's own surface: the window's may be a part of its parent's.
    if (Display* display = cairo_xlib_surface_get_display(m_copies->step.surface)) {
        XSync(display, False);
    }
    return true;
}

bool CWindowFader::Prepare(wxDC& window, const wxSize& size) {
    cairo_t* cr = NativeContext(window);
    if (!cr || size.GetWidth() <= 0 || size.GetHeight() <= 0) return false;
    cairo_surface_t* surface = cairo_get_target(cr);
    if (!OnXDisplay(surface)) return false;
    SCopies& copies = *m_copies;
    const bool ready = copies.fromCopy.Fits(surface, CAIRO_CONTENT_COLOR_ALPHA, size) &&
                       copies.toCopy.Fits(surface, CAIRO_CONTENT_COLOR_ALPHA, size) &&
                       copies.step.Fits(surface, CAIRO_CONTENT_COLOR, size);
    if (ready) return true;
    copies.from = copies.to = nullptr;
    if (!copies.fromCopy.Fit(surface, CAIRO_CONTENT_COLOR_ALPHA, size) ||
        !copies.toCopy.Fit(surface, CAIRO_CONTENT_COLOR_ALPHA, size) ||
        !copies.step.Fit(surface, CAIRO_CONTENT_COLOR, size)) {
        return false;
    }
    copies.upload.Warm(copies.fromCopy.surface);
    copies.upload.Warm(copies.toCopy.surface);
    cairo_t* step = cairo_create(copies.step.surface);
    cairo_set_source_rgb(step, 0, 0, 0);
    cairo_paint(step);
    cairo_destroy(step);
    cairo_surface_flush(copies.step.surface);
    return true;
}

bool CWindowFader::PaintCopyOf(wxDC& target, const wxBitmap& picture, int x, int y) {
    cairo_t* cr = NativeContext(target);
    if (!cr || !picture.IsOk() || m_copies->to != picture.GetRefData() ||
        !m_copies->toCopy.surface || !OnXDisplay(cairo_get_target(cr))) {
        return false;
    }
    CopyAt(cr, m_copies->toCopy.surface, x, y, picture.GetSize());
    return true;
}

void CWindowFader::Reset(bool keepNewPicture) {
    m_copies->from = nullptr;
    if (!keepNewPicture) m_copies->to = nullptr;
}

#else

struct CWindowFader::SCopies {};

CWindowFader::CWindowFader() = default;
CWindowFader::~CWindowFader() = default;

bool CWindowFader::Paint(wxDC&, const wxBitmap&, const wxBitmap&, int, int, unsigned char) {
    return false;
}

bool CWindowFader::PaintOnWindow(wxDC&, const wxBitmap&, const wxBitmap&, int, int, unsigned char) {
    return false;
}

bool CWindowFader::Prepare(wxDC&, const wxSize&) { return false; }

bool CWindowFader::PaintCopyOf(wxDC&, const wxBitmap&, int, int) { return false; }

void CWindowFader::Reset(bool) {}

#endif

}  // namespace tarn::win32
