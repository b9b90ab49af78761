#pragma once
// Paints one state of a skin into a rectangle, directly or through an offscreen bitmap.

#include <wx/graphics.h>
#include <wx/image.h>

#include <memory>

#include "graphics/PaintMatrixDC.h"
#include "graphics/skin/State.h"

namespace graphics::skin {

class CStatePainter : public tarn::CObject {
public:
    static constexpr int kAllLayers = 0xff;

    // Layers draw through context in its current coordinates; dc carries the modes.
    void PaintState(const CState& state, CPaintMatrixDC& dc, wxGraphicsContext& context,
                    const CDRect& target, const COwnerSources& sources,
                    int mask = kAllLayers);

    // The last offscreen picture (empty when painted directly).
    const wxImage& GetOffscreen() const { return m_offscreen; }

private:
    void PaintLayers(const CState& state, CPaintMatrixDC& dc, const CDRect& target,
                     const COwnerSources& sources, int mask);
    void PaintOffscreen(const CState& state, CPaintMatrixDC& dc, wxGraphicsContext& context,
                        const CDRect& target, const COwnerSources& sources, int mask);

    wxImage m_offscreen;
};

// A paint context on another device context with the modes of like and no transform.
CPaintMatrixDC PaintContextLike(wxDC& target, const CPaintMatrixDC& like,
                                wxGraphicsContext* context);
// A transparent 32-bit picture of the size.
wxImage TransparentImage(int width, int height);
// Paints a text layer in device pixels, scaled about the target's centre (text-effect path).
void PaintTextEffect(CLayer& layer, CPaintMatrixDC& dc, wxGraphicsContext& context,
                     const CDRect& target, const COwnerSources& sources);

}  // namespace graphics::skin
