#pragma once
// Drawing-quality settings, named by their GDI+ values, applied to a toolkit graphics
// context. Callers keep the numbers visible at their call sites.

#include <wx/graphics.h>

namespace tarn::win32::drawing {

// GDI+ smoothing modes: 1 high speed and 3 none draw without anti-aliasing; 2 high quality
// and 4 anti-alias smooth.
void SetSmoothingMode(wxGraphicsContext& context, int gdiplusMode);
// GDI+ interpolation modes: 7 high-quality bicubic (best), 4 bicubic (good), 5 nearest
// neighbour (none), 1 low quality (fast); others leave the default.
void SetInterpolationMode(wxGraphicsContext& context, int gdiplusMode);
// GDI+ text rendering hints: 4 anti-aliased.
void SetTextRenderingHint(wxGraphicsContext& context, int gdiplusHint);

// Saves the graphics state on construction and restores exactly that state on
// destruction, including the settings above.
class CSavedState {
public:
    explicit CSavedState(wxGraphicsContext& context);
    ~CSavedState();
    CSavedState(const CSavedState&) = delete;
    CSavedState& operator=(const CSavedState&) = delete;

private:
    wxGraphicsContext& m_context;
    wxAntialiasMode m_antialias;
    wxInterpolationQuality m_interpolation;
    wxCompositionMode m_composition;
};

}  // namespace tarn::win32::drawing
