#pragma once
// Named outlines for free-form shapes: a small document whose point elements, in order, are
// the corners. Only the outline's shape matters; painting fits it to the element.

#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "graphics/GraphicDocument.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace graphics {

class CFreeForm : public tarn::CObject {
public:
    CFreeForm(std::wstring name, const std::vector<CDPoint>& outline);

    virtual std::wstring GetDisplayName() const = 0;
    const std::wstring& GetName() const { return m_name; }
    // A new free form of the same kind with its built-in outline.
    virtual tarn::P<CFreeForm> NewInstance() const = 0;

    CGraphicDocument& GetDocument() { return *m_document; }
    // The corners, in list order, of the point elements of the document.
    std::vector<CDPoint> GetPoints() const;

private:
    std::wstring m_name;
    tarn::P<CGraphicDocument> m_document;
};

class CFreeFormStar : public CFreeForm {
public:
    CFreeFormStar();
    std::wstring GetDisplayName() const override;
    tarn::P<CFreeForm> NewInstance() const override;
};

class CFreeFormTrapeze : public CFreeForm {
public:
    CFreeFormTrapeze();
    std::wstring GetDisplayName() const override;
    tarn::P<CFreeForm> NewInstance() const override;
};

class CFreeFormTriangle : public CFreeForm {
public:
    CFreeFormTriangle();
    std::wstring GetDisplayName() const override;
    tarn::P<CFreeForm> NewInstance() const override;
};

class CFreeFormParallelogram : public CFreeForm {
public:
    CFreeFormParallelogram();
    std::wstring GetDisplayName() const override;
    tarn::P<CFreeForm> NewInstance() const override;
};

}  // namespace graphics
