#include "graphics/skin/CustomLayer.h"

#include <wx/graphics.h>

#include <algorithm>
#include <memory>

#include "graphics/DrawHelpers.h"
#include "graphics/ImagePainter.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"
#include "graphics/skin/Skin.h"
#include "graphics/skin/StatePainter.h"
#include "tarn/ScopeExit.h"

namespace graphics::skin {
namespace {

// Shared skins can nest a shape inside itself; such a chain stops at this depth.
constexpr int kMaxShapeDepth = 8;
thread_local int g_shapeDepth = 0;

}  // namespace

CCustomLayer::CCustomLayer() = default;
CCustomLayer::~CCustomLayer() = default;

void CCustomLayer::SetShape(const tarn::P<CShapeSkin>& shape) {
    m_shape = shape;
    m_mask = wxImage();
}

void CCustomLayer::Paint(CPaintMatrixDC& dc, const CDRect& target,
                         const COwnerSources& sources) {
    if (!dc.GetGraphicsContext()) return;
    const CDRect content = ContentRect(target);
    if (m_shape) {
        PaintMasked(dc, content, sources);
    } else {
        PaintContent(dc, content, sources);
    }
}

const wxImage& CCustomLayer::Mask(CPaintMatrixDC& dc, int width, int height) {
    if (m_mask.IsOk() && m_mask.GetWidth() == width && m_mask.GetHeight() == height) {
        return m_mask;
    }
    wxImage mask = TransparentImage(width, height);
    ++g_shapeDepth;
    const auto leave = tarn::MakeScopeExit([] { --g_shapeDepth; });
    if (g_shapeDepth > kMaxShapeDepth) return m_mask = mask;
    if (const tarn::P<CState> normal = m_shape->FindState(L"normal")) {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(mask));
        if (context) {
            CPaintMatrixDC inner = PaintContextLike(dc.GetDC(), dc, context.get());
            // Straight into the mask, no further offscreen step.
            inner.SetZoomMode(EZoomMode::Fixed);
            CStatePainter painter;
            painter.PaintState(*normal, inner, *context, {0, 0, double(width), double(height)},
                               {});
        }
    }
    m_mask = mask;
    return m_mask;
}

void CCustomLayer::PaintMasked(CPaintMatrixDC& dc, const CDRect& content,
                               const COwnerSources& sources) {
    const int width = draw::Whole(content.width), height = draw::Whole(content.height);
    // A damaged size must not allocate without bound.
    if (!draw::FitsOffscreen(width, height)) return;
    const wxImage& mask = Mask(dc, width, height);
    wxImage picture = TransparentImage(width, height);
    CPaintMatrixDC inner(dc);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(picture));
        if (!context) return;
        inner = PaintContextLike(dc.GetDC(), dc, context.get());
        PaintContent(inner, {0, 0, double(width), double(height)}, sources);
    }
    dc.RequestRedraw(inner.GetRedrawDelay());
    unsigned char* alpha = picture.GetAlpha();
    const unsigned char* maskAlpha = mask.GetAlpha();
    const std::size_t count = static_cast<std::size_t>(width) * height;
    for (std::size_t i = 0; i < count; ++i) alpha[i] = std::min(alpha[i], maskAlpha[i]);
    CImagePainterContext painter(*dc.GetGraphicsContext());
    painter.DrawNinePatch(content, wxBitmap(picture, 32), 0, 0, 0, 0, 0);
}

void CCustomLayer::PaintContent(CPaintMatrixDC& dc, const CDRect& content,
                                const COwnerSources& sources) {
    wxGraphicsContext& context = *dc.GetGraphicsContext();
    if (dc.GetPaintMode() == CPaintMatrixDC::kModeEditMargins) {
        context.SetPen(*wxBLACK_PEN);
        context.SetBrush(*wxRED_BRUSH);
        context.DrawRectangle(content.x, content.y, content.width, content.height);
        context.SetFont(*wxNORMAL_FONT, *wxBLACK);
        context.DrawText(wxString(m_id), content.x + 2, content.y + 2);
    }
    if (sources.custom) sources.custom->PaintCustom(dc, content, m_id);
}

void CCustomLayer::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CLayer::ToXml(node, store);
    xml::WriteString(node, "id", m_id);
    if (m_shape) WriteSkinChild(node, "shape", *m_shape, store);
}

void CCustomLayer::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CLayer::FromXml(node, store);
    xml::ReadString(node, "id", m_id);
    if (xml::FindChild(node, "shape")) {
        SetShape(tarn::Cast<CShapeSkin>(ReadSkinChild(node, "shape", store)));
    }
}

}  // namespace graphics::skin
