#pragma once
// Paints a small document of its own as a reflection: upside down, fading towards the bottom.

#include <wx/image.h>

#include "graphics/GraphicDocument.h"
#include "graphics/GraphicElement.h"

namespace graphics {

class CGraphicMirror : public CGraphicElement {
public:
    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
    bool IsContentEmpty() const override { return !m_document; }
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    tarn::P<CGraphicDocument> GetDocument() const { return m_document; }
    void SetDocument(tarn::P<CGraphicDocument> document) { m_document = std::move(document); }

    // Row r of an image h rows high may be at most 100 - r * 100 / h opaque (never below 0).
    static void Fade(wxImage& image);

private:
    tarn::P<CGraphicDocument> m_document;
    bool m_painting = false;  // guards against a document that holds this mirror
};

}  // namespace graphics
