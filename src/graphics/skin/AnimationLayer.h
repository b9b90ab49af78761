#pragma once
// The bitmap layer: a picture at its own size, fitted proportionally or stretched in nine
// parts. The picture is the layer's own, the owner's, or one of its named pictures.

#include <wx/bitmap.h>

#include <map>
#include <memory>

#include "graphics/skin/Layer.h"

namespace graphics::skin {

class CAnimationLayer : public CLayer {
public:
    void Paint(CPaintMatrixDC& dc, const CDRect& target, const COwnerSources& sources) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::wstring GetKindName() const override { return L"animation"; }
    CDSize GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) override;
    int GetKindBit() const override { return kBitAnimation; }

    // The picture to draw: own bitmap, else the source's, else the named one; or null.
    const wxBitmap* FindPicture(const COwnerSources& sources) const;

    bool IsScalingEnabled() const { return m_scaling; }
    bool IsScalingProportional() const { return m_proportional; }
    void SetScaling(bool enabled, bool proportional) {
        m_scaling = enabled;
        m_proportional = proportional;
    }
    void SetBitmap(const wxBitmap* bitmap);
    const wxBitmap* GetBitmap() const { return m_bitmap.get(); }
    const CLayerMargins& GetScaleMargins() const { return m_scaleMargins; }
    void SetScaleMargins(const CLayerMargins& margins) { m_scaleMargins = margins; }
    const std::wstring& GetProperty() const { return m_property; }
    void SetProperty(std::wstring property) { m_property = std::move(property); }
    void SetNamedPicture(const std::wstring& name, const wxBitmap& bitmap);

    // Mask pixels become alpha 0, all others alpha 255 (threshold 128).
    static wxBitmap MaskToAlpha(const wxBitmap& bitmap);

private:
    // The picture itself, or its alpha form when it has a mask (cached).
    const wxBitmap& Drawable(const wxBitmap& picture);

    struct CConverted {
        wxBitmap source;  // held so that its data cannot be reused by another picture
        wxBitmap converted;
    };

    bool m_scaling = true;
    bool m_proportional = false;
    std::unique_ptr<wxBitmap> m_bitmap;
    CLayerMargins m_scaleMargins{};
    std::wstring m_property;
    std::map<const wxObjectRefData*, CConverted> m_alphaCache;
    std::map<std::wstring, std::unique_ptr<wxBitmap>> m_named;
};

}  // namespace graphics::skin
