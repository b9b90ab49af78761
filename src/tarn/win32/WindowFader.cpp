#include "tarn/win32/WindowFader.h"

#include <wx/graphics.h>

#ifdef __WXGTK3__
#include <cairo.h>
#endif

namespace tarn::win32 {

#ifdef __WXGTK3__

namespace {

// A copy of the picture made for target: on an X display a picture held by the server.
cairo_surface_t* CopyFor(cairo_surface_t* target, const wxBitmap& picture) {
    cairo_surface_t* copy = cairo_surface_create_similar(target, CAIRO_CONTENT_COLOR_ALPHA,
                                                         picture.GetWidth(), picture.GetHeight());
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    cairo_t* painter = cairo_create(copy);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    picture.SetSourceSurface(painter, 0, 0);  // the bitmap's own pixels, not converted
    cairo_paint(painter);
    cairo_destroy(painter);
    return copy;
}

}  // namespace

struct CWindowFader::SCopies {
    const void* from = nullptr;  // which pictures the copies were made of
    const void* to = nullptr;
    cairo_surface_t* fromCopy = nullptr;
    cairo_surface_t* toCopy = nullptr;

    ~SCopies() {
        if (fromCopy) cairo_surface_destroy(fromCopy);
        if (toCopy) cairo_surface_destroy(toCopy);
    }
};

CWindowFader::CWindowFader() = default;
CWindowFader::~CWindowFader() = default;

bool CWindowFader::Paint(wxDC& target, const wxBitmap& from, const wxBitmap& to, int x, int y,
                         unsigned char alpha) {
    wxGraphicsContext* context = target.GetGraphicsContext();
    if (!context || !from.IsOk() || !to.IsOk()) return false;
    auto* cr = static_cast<cairo_t*>(context->GetNativeContext());
    if (!cr) return false;
    cairo_surface_t* surface = cairo_get_target(cr);
    if (!m_copies || m_copies->from != from.GetRefData() || m_copies->to != to.GetRefData()) {
        auto copies = std::make_unique<SCopies>();
        copies->from = from.GetRefData();
        copies->to = to.GetRefData();
        copies->fromCopy = CopyFor(surface, from);
        copies->toCopy = CopyFor(surface, to);
        if (!copies->fromCopy || !copies->toCopy) return false;
        m_copies = std::move(copies);
    }
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, m_copies->fromCopy, x, y);
    cairo_rectangle(cr, x, y, from.GetWidth(), from.GetHeight());
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, m_copies->toCopy, x, y);
    cairo_rectangle(cr, x, y, to.GetWidth(), to.GetHeight());
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha / 255.0);
    cairo_restore(cr);
    return true;
}

void CWindowFader::Reset() { m_copies.reset(); }

#else

struct CWindowFader::SCopies {};

CWindowFader::CWindowFader() = default;
CWindowFader::~CWindowFader() = default;

bool CWindowFader::Paint(wxDC&, const wxBitmap&, const wxBitmap&, int, int, unsigned char) {
    return false;
}

void CWindowFader::Reset() {}

#endif

}  // namespace tarn::win32
