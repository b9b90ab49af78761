#pragma once
// The custom layer: content drawn at paint time by the owner's custom painter, clipped to
// the outline that a nested shape skin paints.

#include <wx/image.h>

#include "graphics/skin/Layer.h"

namespace graphics::skin {

class CShapeSkin;

class CCustomLayer : public CLayer {
public:
    CCustomLayer();
    ~CCustomLayer() override;

    void Paint(CPaintMatrixDC& dc, const CDRect& target, const COwnerSources& sources) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::wstring GetKindName() const override { return L"custom"; }
    int GetKindBit() const override { return kBitCustom; }

    const std::wstring& GetId() const { return m_id; }
    void SetId(std::wstring id) { m_id = std::move(id); }
    const tarn::P<CShapeSkin>& GetShape() const { return m_shape; }
    void SetShape(const tarn::P<CShapeSkin>& shape);

private:
    void PaintContent(CPaintMatrixDC& dc, const CDRect& content, const COwnerSources& sources);
    void PaintMasked(CPaintMatrixDC& dc, const CDRect& content, const COwnerSources& sources);
    // The shape's "normal" state as an alpha picture of the size (rebuilt when it differs).
    const wxImage& Mask(CPaintMatrixDC& dc, int width, int height);

    std::wstring m_id;
    tarn::P<CShapeSkin> m_shape;
    wxImage m_mask;
};

}  // namespace graphics::skin
