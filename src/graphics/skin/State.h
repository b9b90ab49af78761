#pragma once
// A named look of a skin: layers painted first to last.

#include <string>
#include <vector>

#include "graphics/skin/Layer.h"

namespace graphics::skin {

class CState : public tarn::CObject {
public:
    explicit CState(std::wstring name = {}) : m_name(std::move(name)) {}

    const std::wstring& GetName() const { return m_name; }
    const std::vector<tarn::P<CLayer>>& GetLayers() const { return m_layers; }
    void AddLayer(const tarn::P<CLayer>& layer) {
        if (layer) m_layers.push_back(layer);
    }
    void ClearLayers() { m_layers.clear(); }

    // Each dimension is the largest over the layers; 0 x 0 without layers.
    CDSize GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) const;
    CDSize GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                           double width) const;

    void ToXml(wxXmlNode& node, IResourceStore* store) const;
    // Reads "name" and appends a layer per known child of "layers"; others are skipped.
    void FromXml(const wxXmlNode& node, IResourceInputStore& store);

private:
    std::wstring m_name;
    std::vector<tarn::P<CLayer>> m_layers;
};

}  // namespace graphics::skin
