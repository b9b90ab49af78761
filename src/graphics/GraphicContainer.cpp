#include "graphics/GraphicContainer.h"

#include <algorithm>

#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"

namespace graphics {

CGraphicContainer::~CGraphicContainer() {
    // Shared elements may outlive the container: they must not keep a pointer to it.
    for (const auto& element : m_elements) element->RemoveListener(this);
}

void CGraphicContainer::OnGraphicChanged(CGraphicBase&) { m_boundsValid = false; }

void CGraphicContainer::BeginUpdate() { ++m_updateDepth; }

void CGraphicContainer::EndUpdate() {
    if (--m_updateDepth <= 0) {
        m_updateDepth = 0;
        m_boundsValid = false;
    }
}

void CGraphicContainer::RecalculateBounds() {
    if (m_elements.empty()) {
        m_boundingBox = {};
        m_boundsValid = true;
        return;
    }
    const CDRect first = m_elements.front()->GetBoundingRect();
    CDPoint topLeft = first.GetTopLeft();
    CDPoint bottomRight = first.GetBottomRight();
    for (const auto& element : m_elements) {
        const CDRect rect = element->GetBoundingRect();
        topLeft = {std::min(topLeft.x, rect.x), std::min(topLeft.y, rect.y)};
        bottomRight = {std::max(bottomRight.x, rect.GetBottomRight().x),
                       std::max(bottomRight.y, rect.GetBottomRight().y)};
    }
    m_boundingBox = CDRect::FromCorners(topLeft, bottomRight);
    m_boundsValid = true;
}

void CGraphicContainer::Clear() {
    for (const auto& element : m_elements) element->RemoveListener(this);
    m_elements.clear();
    m_boundsValid = false;
    m_hasContentBox = false;
    m_contentBox = {};
}

void CGraphicContainer::Paint(CPaintMatrixDC& dc) {
    // Painting must not be disturbed by an element changing the list.
    const std::vector<tarn::P<CGraphicElement>> elements = m_elements;
    for (const auto& element : elements) {
        if (element->IsVisible()) element->Paint(dc);
    }
}

void CGraphicContainer::Add(const tarn::P<CGraphicElement>& element) {
    if (!element) return;
    m_elements.push_back(element);
    element->AddListener(this);
    OnGraphicChanged(*element);
}

tarn::P<CGraphicElement> CGraphicContainer::FindAt(double x, double y) const {
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
        if ((*it)->IsVisible() && (*it)->Contains(x, y)) return *it;
    }
    return nullptr;
}

CDRect CGraphicContainer::GetBoundingBox() {
    if (!m_boundsValid) RecalculateBounds();
    return m_boundingBox;
}

CDRect CGraphicContainer::GetContentBox() {
    return m_hasContentBox ? m_contentBox : GetBoundingBox();
}

void CGraphicContainer::SetContentBox(const CDRect& box) {
    m_hasContentBox = true;
    m_contentBox = box;
}

void CGraphicContainer::TransformAll(const wxAffineMatrix2D& matrix) {
    BeginUpdate();
    for (const auto& element : m_elements) element->Transform(matrix);
    EndUpdate();
}

void CGraphicContainer::ToXml(wxXmlNode& node, IResourceStore* store) {
    xml::WriteInt(node, "version", 1);
    xml::WriteRect(node, "bounding-box", GetBoundingBox());
    if (m_hasContentBox) xml::WriteRect(node, "content-box", m_contentBox);
    for (const auto& element : m_elements) {
        wxXmlNode* child = xml::AddChild(node, wxString(GraphicTypeToXml(element->GetType())));
        const std::wstring typeName = element->GetTypeName();
        if (!typeName.empty()) xml::WriteString(*child, "type-name", typeName);
        element->ToXml(*child, store);
    }
    if (m_xdatas && !m_xdatas->IsEmpty()) m_xdatas->ToXml(*xml::AddChild(node, "xdata"), store);
}

tarn::P<CGraphicElement> CGraphicContainer::ReadElement(const wxXmlNode& child,
                                                        IResourceInputStore& store) {
    const std::wstring name = child.GetName().ToStdWstring();
    const int type = name == L"table-content" ? GRAPHIC_TABLE : GraphicTypeFromXml(name);
    std::wstring typeName = xml::GetAttribute(child, "type-name").ToStdWstring();
    if (typeName.empty()) typeName = store.GetResourceType(child);

    tarn::P<CGraphicElement> fresh;
    if (!typeName.empty()) fresh = NewInstance(typeName);
    if (!fresh) fresh = NewInstance(type);

    std::wstring resourceType = store.GetResourceType(child);
    if (resourceType.empty()) resourceType = typeName;
    const tarn::P<IReusableResource> used =
        store.GetReusableResource(child, resourceType, tarn::P<IReusableResource>(fresh.Get()));
    return tarn::P<CGraphicElement>(dynamic_cast<CGraphicElement*>(used.Get()));
}

void CGraphicContainer::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    Clear();
    if (xml::FindChild(node, "content-box")) {
        m_hasContentBox = true;
        xml::ReadRect(node, "content-box", m_contentBox);
    }
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        const std::wstring name = child->GetName().ToStdWstring();
        if (!IsGraphicTypeName(name) && name != L"table-content") continue;
        Add(ReadElement(*child, store));
    }
    if (const wxXmlNode* xdata = xml::FindChild(node, "xdata")) {
        auto xdatas = tarn::New<CXDatas>();
        xdatas->FromXml(*xdata, &store);
        m_xdatas = xdatas;
    }
}

}  // namespace graphics
