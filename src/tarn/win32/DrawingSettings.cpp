#include "tarn/win32/DrawingSettings.h"

namespace tarn::win32::drawing {

void SetSmoothingMode(wxGraphicsContext& context, int gdiplusMode) {
    switch (gdiplusMode) {
        case 1:
        case 3:
            context.SetAntialiasMode(wxANTIALIAS_NONE);
            break;
        case 2:
        case 4:
            context.SetAntialiasMode(wxANTIALIAS_DEFAULT);
            break;
        default:
            break;
    }
}

void SetInterpolationMode(wxGraphicsContext& context, int gdiplusMode) {
    switch (gdiplusMode) {
        case 7:
            context.SetInterpolationQuality(wxINTERPOLATION_BEST);
            break;
        case 4:
            context.SetInterpolationQuality(wxINTERPOLATION_GOOD);
            break;
        case 5:
            context.SetInterpolationQuality(wxINTERPOLATION_NONE);
            break;
        case 1:
            context.SetInterpolationQuality(wxINTERPOLATION_FAST);
            break;
        default:
            break;
    }
}

void SetTextRenderingHint(wxGraphicsContext& context, int gdiplusHint) {
    // Text follows the context's anti-aliasing here.
    if (gdiplusHint == 4) context.SetAntialiasMode(wxANTIALIAS_DEFAULT);
}

CSavedState::CSavedState(wxGraphicsContext& context)
    : m_context(context),
      m_antialias(context.GetAntialiasMode()),
      m_interpolation(context.GetInterpolationQuality()),
      m_composition(context.GetCompositionMode()) {
    m_context.PushState();
}

CSavedState::~CSavedState() {
    m_context.PopState();
    // The context keeps these outside the state it pushes.
    m_context.SetAntialiasMode(m_antialias);
    m_context.SetInterpolationQuality(m_interpolation);
    m_context.SetCompositionMode(m_composition);
}

}  // namespace tarn::win32::drawing
