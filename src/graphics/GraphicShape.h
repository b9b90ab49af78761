#pragma once
// A rectangle, rounded rectangle, ellipse or free form, filled with a brush or a two-colour
// gradient and outlined with a pen.

#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/pen.h>

#include <string>

#include "graphics/FreeForm.h"
#include "graphics/GraphicElement.h"

namespace graphics {

enum ShapeType : int {
    SHAPE_RECTANGLE = 0,
    SHAPE_ROUNDED_RECTANGLE = 1,
    SHAPE_ELLIPSE = 2,
    SHAPE_FREE_FORM = 3,
};

// Raise CWXError for an unknown text or a value outside 0..3.
std::wstring ShapeTypeToXml(int type);
int ShapeTypeFromXml(const std::wstring& text);
std::wstring ShapeTypeDisplayName(int type);

struct CGradient {
    wxColour start;
    wxColour end;
    bool enabled = false;
};

class CGraphicShape : public CGraphicElement {
public:
    CGraphicShape();

    int GetType() const override;
    void Paint(CPaintMatrixDC& dc) override;
    // Ellipses and free forms hit inside their outline; the rest inside the rectangle.
    bool Contains(double x, double y) const override;
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    int GetShapeType() const { return m_shapeType; }
    void SetShapeType(int type) { m_shapeType = type; }
    const CGradient& GetGradient() const { return m_gradient; }
    void SetGradient(const CGradient& gradient) { m_gradient = gradient; }
    const wxPen& GetPen() const { return m_pen; }
    void SetPen(const wxPen& pen) { m_pen = pen; }
    const wxBrush& GetBrush() const { return m_brush; }
    void SetBrush(const wxBrush& brush) { m_brush = brush; }
    double GetCornerRadius() const { return m_cornerRadius; }
    void SetCornerRadius(double radius) { m_cornerRadius = radius; }
    tarn::P<CFreeForm> GetFreeForm() const { return m_freeForm; }
    void SetFreeForm(tarn::P<CFreeForm> form) { m_freeForm = std::move(form); }

    // The radius drawn for a corner radius at a transform scale, kept within half the
    // smaller side.
    static double ClampCornerRadius(double radius, double width, double height);
    // The free form's corners fitted to rect; empty when the outline has no extent.
    std::vector<CDPoint> FitFreeForm(const CDRect& rect) const;

private:
    CGradient m_gradient;
    int m_shapeType = SHAPE_RECTANGLE;
    wxBrush m_brush = *wxBLACK_BRUSH;
    wxPen m_pen = *wxBLACK_PEN;
    double m_cornerRadius = 5.0;
    tarn::P<CFreeForm> m_freeForm;
};

}  // namespace graphics
