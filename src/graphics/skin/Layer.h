#pragma once
// One layer of a skin state: content margins and alignment shared by every layer kind.

#include <wx/xml/xml.h>

#include <array>
#include <string>

#include "graphics/Geometry.h"
#include "graphics/skin/OwnerSources.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace graphics {
class IResourceStore;
class IResourceInputStore;
}

namespace graphics::skin {

// Indices of the eight margin values: pixels, then the factors of the free space.
enum MarginIndex { kMarginTop, kMarginLeft, kMarginRight, kMarginBottom, kMarginTopFactor,
                   kMarginLeftFactor, kMarginRightFactor, kMarginBottomFactor };
using CLayerMargins = std::array<double, 8>;

namespace margins {
void Write(wxXmlNode& node, const wxString& child, const CLayerMargins& value);
void Read(const wxXmlNode& node, const wxString& child, CLayerMargins& value);
}  // namespace margins

class CLayer : public tarn::CObject {
public:
    static constexpr int kBitAnimation = 1;
    static constexpr int kBitText = 2;
    static constexpr int kBitCustom = 4;

    virtual void Paint(CPaintMatrixDC& dc, const CDRect& target,
                       const COwnerSources& sources) = 0;
    virtual void ToXml(wxXmlNode& node, IResourceStore* store) const;
    virtual void FromXml(const wxXmlNode& node, IResourceInputStore& store);
    virtual std::wstring GetKindName() const = 0;
    virtual bool IsTextLayer() const { return false; }
    virtual CDSize GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources);
    virtual CDSize GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                                   double width);
    virtual int GetKindBit() const = 0;

    // The target inset by the margins, the factors taken of the space the pixels leave.
    CDRect ContentRect(const CDRect& target) const;
    // The top-left of an item of size in content, by the alignment (whole pixels).
    wxPoint Align(const CDRect& content, CDSize size) const;

    const CLayerMargins& GetContentMargins() const { return m_margins; }
    void SetContentMargins(const CLayerMargins& margins) { m_margins = margins; }
    double GetHorzAlign() const { return m_horzAlign; }
    double GetVertAlign() const { return m_vertAlign; }
    void SetAlignment(double horizontal, double vertical) {
        m_horzAlign = horizontal;
        m_vertAlign = vertical;
    }

private:
    CLayerMargins m_margins{};
    double m_horzAlign = 0.0;
    double m_vertAlign = 0.0;
};

// A new layer of the kind named by its XML name, or none.
tarn::P<CLayer> CreateLayer(const std::wstring& name);

}  // namespace graphics::skin
