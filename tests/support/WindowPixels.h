#pragma once
// A window's pixels as an X display server holds them, read back from the window's own
// surface: steps of a fade may be drawn there outside paints. GTK 3 on X only.

#include <cairo.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/window.h>

#include <cstdint>
#include <optional>

namespace testsupport {

// The colour at a point of the window; none where the window is not on an X display.
inline std::optional<wxColour> PixelOnDisplay(wxWindow* window, const wxPoint& at) {
    wxClientDC dc(window);
    wxGraphicsContext* context = dc.GetGraphicsContext();
    auto* cr = context ? static_cast<cairo_t*>(context->GetNativeContext()) : nullptr;
    if (!cr || cairo_surface_get_type(cairo_get_target(cr)) != CAIRO_SURFACE_TYPE_XLIB) {
        return std::nullopt;
    }
    cairo_surface_t* pixel = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* reader = cairo_create(pixel);
    cairo_set_operator(reader, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(reader, cairo_get_target(cr), -at.x, -at.y);
    cairo_paint(reader);
    cairo_destroy(reader);
    cairo_surface_flush(pixel);
    const std::uint32_t value =
        *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(pixel));
    cairo_surface_destroy(pixel);
    return wxColour((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

}  // namespace testsupport
