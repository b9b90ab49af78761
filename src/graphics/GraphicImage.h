#pragma once
// The element that shows a bitmap in its rectangle: scaled, turned, mirrored, grey when not
// coloured, and optionally drawn in nine parts (scale margins).

#include <wx/bitmap.h>
#include <wx/filename.h>
#include <wx/image.h>

#include <array>
#include <memory>

#include "graphics/GraphicElement.h"
#include "graphics/ResourceBuffer.h"
#include "graphics/StoredPicture.h"

namespace graphics {

class CGraphicImage : public CGraphicElement {
public:
    // Indices into the scale margins: pixels of the source bitmap, then the factors.
    enum Margin { kTop, kLeft, kRight, kBottom, kTopFactor, kLeftFactor, kRightFactor,
                  kBottomFactor };
    using Margins = std::array<double, 8>;

    void Paint(CPaintMatrixDC& dc) override;
    void SetRotation(double degrees) override;
    void SetMirror(int axis, bool mirrored) override;
    void SetColoured(bool coloured) override;
    bool IsContentEmpty() const override { return !m_picture; }
    std::wstring GetHint() const override;
    void CopyFrom(const CGraphicElement& other) override;
    void ClearContent() override;
    int GetType() const override;

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    // The picture's bitmap, decoded now if it was not yet; null when there is none.
    const wxBitmap* GetBitmap() const { return m_picture ? m_picture->Get() : nullptr; }
    void SetBitmap(std::unique_ptr<wxBitmap> bitmap);
    const tarn::P<CStoredPicture>& GetPicture() const { return m_picture; }
    void SetPicture(tarn::P<CStoredPicture> picture);
    // Drops what was made from the picture for painting; it is made again when painted.
    void ForgetPrepared() { m_prepared.Clear(); }
    const wxFileName& GetFileName() const { return m_fileName; }
    void SetFileName(const wxFileName& name) { m_fileName = name; }
    const Margins& GetScaleMargins() const { return m_margins; }
    void SetScaleMargins(const Margins& margins);
    bool IsNoScale() const { return m_noScale; }
    void SetNoScale(bool noScale) { m_noScale = noScale; }
    std::size_t GetPreparedCount() const { return m_prepared.Size(); }

    // The picture made ready for a target of width x height device pixels: nine-part
    // drawn or scaled, then (unless untransformed) turned, greyed and mirrored.
    wxImage PrepareImage(int width, int height, bool untransformed) const;

private:
    const wxBitmap& GetPrepared(const CPaintMatrixDC& dc, int width, int height,
                                bool untransformed);
    wxImage FitImage(int width, int height) const;
    void PaintPlaceholder(CPaintMatrixDC& dc) const;
    void PaintMarginMarks(CPaintMatrixDC& dc) const;
    void PaintTurned(CPaintMatrixDC& dc, int width, int height);

    wxFileName m_fileName;
    tarn::P<CStoredPicture> m_picture;
    Margins m_margins{};
    bool m_noScale = false;
    TResourceBuffer<wxBitmap> m_prepared;
};

}  // namespace graphics
