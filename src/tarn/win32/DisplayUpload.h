#pragma once
// Hands a picture's pixels to an X display server through one shared memory segment kept for
// as long as its owner lives. Cairo's own uploads take a fresh segment each time, which both
// processes must then map page by page again: at full screen that costs more than the copy.

#include <cairo.h>

#include <cstddef>

typedef struct _XDisplay Display;
struct _XImage;

namespace tarn::win32 {

class CDisplayUpload {
public:
    CDisplayUpload() = default;
    ~CDisplayUpload();
    CDisplayUpload(const CDisplayUpload&) = delete;
    CDisplayUpload& operator=(const CDisplayUpload&) = delete;

    // Copies picture (a cairo image, RGB24 or ARGB32) into target, an X pixmap surface of
    // depth 32 and the same size; RGB24 becomes opaque. Returns when the display has read
    // the segment. False, with target unchanged, where this way is not open: then cairo's
    // own upload must serve.
    bool Put(cairo_surface_t* target, cairo_surface_t* picture);
    // Makes the segment for target's size and has the display read it into target once, so
    // that the memory on both sides is in place before the first picture needs it.
    bool Warm(cairo_surface_t* target);

private:
    bool Fit(Display* display, int width, int height);
    void Release();
    void Send(cairo_surface_t* target, int width, int height);

    Display* m_display = nullptr;
    _XImage* m_image = nullptr;
    void* m_segment = nullptr;  // an XShmSegmentInfo, kept out of this header
    int m_width = 0;
    int m_height = 0;
    bool m_refused = false;  // the display has no shared memory for us: not tried again
};

}  // namespace tarn::win32
