#pragma once
// A rich text laid out inside the element's rectangle, turned and mirrored with it.

#include <wx/gdicmn.h>
#include <wx/richtext/richtextbuffer.h>

#include <memory>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CEffectDC;

class CGraphicText : public CGraphicElement {
public:
    int GetType() const override { return GRAPHIC_TEXT; }
    void SetSize(CDSize size) override;
    void Paint(CPaintMatrixDC& dc) override;
    bool IsContentEmpty() const override { return !m_buffer; }
    void ClearContent() override { SetBuffer(nullptr); }
    std::wstring GetHint() const override;
    void CopyFrom(const CGraphicElement& other) override;

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    wxRichTextBuffer* GetBuffer() const { return m_buffer.get(); }
    void SetBuffer(std::unique_ptr<wxRichTextBuffer> buffer);
    // Set by the last layout when the text is taller than the element.
    bool IsOverflow() const { return m_overflow; }
    // How often the buffer has been laid out (layouts are kept between paints).
    int GetLayoutCount() const { return m_layoutCount; }
    // The area the last layout filled, in layout units: the lines' positions are within it.
    wxSize GetLayoutSize() const { return m_layoutSize; }

    // Layout units per device pixel follow the paint context: pixels per millimetre for
    // millimetre documents, the zoom factor for zoomed ones.
    static wxRealPoint LayoutScale(const CPaintMatrixDC& dc);

protected:
    // The effect context turned and mirrored about centre (device pixels); rotation is
    // left out when turn is false.
    void ApplyElementTransform(CEffectDC& effect, wxPoint2DDouble centre, bool turn) const;
    // Lays the buffer out for the device rectangle when it or the buffer changed.
    void LayoutIfNeeded(wxDC& dc, const wxRect& device, const wxRect& layout);
    void PaintPlaceholder(CPaintMatrixDC& dc, const std::wstring& text) const;

private:
    wxRect m_layoutRect;
    wxSize m_layoutSize;
    std::unique_ptr<wxRichTextBuffer> m_buffer;
    bool m_overflow = false;
    int m_layoutCount = 0;
};

}  // namespace graphics
