#pragma once
// An ordered list of elements (index 0 is painted first), with bounds, an update bracket
// and the XML content form of a document.

#include <wx/affinematrix2d.h>
#include <wx/xml/xml.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/Geometry.h"
#include "graphics/GraphicElement.h"
#include "graphics/GraphicListener.h"
#include "graphics/XData.h"
#include "tarn/Pointer.h"

namespace graphics {

class CPaintMatrixDC;
class IResourceStore;
class IResourceInputStore;

class CGraphicContainer : public IGraphicListener {
public:
    CGraphicContainer() = default;
    ~CGraphicContainer() override;
    CGraphicContainer(const CGraphicContainer&) = delete;
    CGraphicContainer& operator=(const CGraphicContainer&) = delete;

    void OnGraphicChanged(CGraphicBase& element) override;
    virtual void BeginUpdate();
    // Closing the outermost bracket invalidates the bounds; an unmatched call keeps depth 0.
    virtual void EndUpdate();
    virtual void RecalculateBounds();
    // Detaches and releases every element and drops the content box.
    virtual void Clear();
    // Paints the visible elements in list order.
    virtual void Paint(CPaintMatrixDC& dc);

    void Add(const tarn::P<CGraphicElement>& element);
    std::size_t GetCount() const { return m_elements.size(); }
    tarn::P<CGraphicElement> GetAt(std::size_t index) const { return m_elements.at(index); }
    bool IsEmpty() const { return m_elements.empty(); }
    // The topmost visible element containing the point, or none.
    tarn::P<CGraphicElement> FindAt(double x, double y) const;

    CDRect GetBoundingBox();
    bool IsBoundsValid() const { return m_boundsValid; }
    std::int32_t GetUpdateDepth() const { return m_updateDepth; }
    bool HasContentBox() const { return m_hasContentBox; }
    // The content box when set, else the bounding box.
    CDRect GetContentBox();
    void SetContentBox(const CDRect& box);
    void TransformAll(const wxAffineMatrix2D& matrix);

    tarn::P<CXDatas> GetXDatas() const { return m_xdatas; }
    void SetXDatas(tarn::P<CXDatas> xdatas) { m_xdatas = std::move(xdatas); }

    void ToXml(wxXmlNode& node, IResourceStore* store);
    void FromXml(const wxXmlNode& node, IResourceInputStore& store);

private:
    tarn::P<CGraphicElement> ReadElement(const wxXmlNode& child, IResourceInputStore& store);

    std::vector<tarn::P<CGraphicElement>> m_elements;
    std::int32_t m_updateDepth = 0;
    bool m_boundsValid = false;
    CDRect m_boundingBox;
    bool m_hasContentBox = false;
    CDRect m_contentBox;
    tarn::P<CXDatas> m_xdatas;
};

}  // namespace graphics
