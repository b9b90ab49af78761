#include "graphics/GraphicShape.h"

#include <wx/graphics.h>

#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/FreeFormManager.h"
#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "wxutil/WXError.h"

namespace graphics {
namespace {

struct ShapeInfo {
    const wchar_t* xml;
    const wchar_t* key;
    const wchar_t* displayName;
};

constexpr ShapeInfo kShapes[] = {
    {L"rectangle", L"CGraphicShape.ShapeType.Rectangle", L"Rectangle"},
    {L"rounded-rectangle", L"CGraphicShape.ShapeType.RoundedRectangle", L"Rounded Rectangle"},
    {L"ellipse", L"CGraphicShape.ShapeType.Ellipse", L"Ellipse"},
    {L"free-form", L"CGraphicShape.ShapeType.FreeForm", L"Free form"},
};
constexpr int kShapeCount = 4;

// Even-odd test of a point against a closed polygon.
bool InsidePolygon(const std::vector<CDPoint>& polygon, CDPoint p) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const CDPoint a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) &&
            p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

}  // namespace

std::wstring ShapeTypeToXml(int type) {
    if (type < 0 || type >= kShapeCount) {
        throw wxutil::CWXError(wxString("ShapeTypeToXml. Unknwown type"));
    }
    return kShapes[type].xml;
}

int ShapeTypeFromXml(const std::wstring& text) {
    for (int type = 0; type < kShapeCount; ++type) {
        if (tarn::EqualsNoCase(text, kShapes[type].xml)) return type;
    }
    throw wxutil::CWXError(wxString(L"ShapeTypeFromXml. Unknwown type:" + text));
}

std::wstring ShapeTypeDisplayName(int type) {
    if (type < 0 || type >= kShapeCount) return ShapeTypeToXml(type);
    return tarn::Localize(kShapes[type].key, kShapes[type].displayName);
}

CGraphicShape::CGraphicShape() { SetFlags(GetFlags() | kFlagPlaceholder | kFlagEditingHints); }

int CGraphicShape::GetType() const { return GRAPHIC_SHAPE; }

double CGraphicShape::ClampCornerRadius(double radius, double width, double height) {
    return std::min({radius, width / 2, height / 2});
}

std::vector<CDPoint> CGraphicShape::FitFreeForm(const CDRect& rect) const {
    if (!m_freeForm) return {};
    const std::vector<CDPoint> points = m_freeForm->GetPoints();
    const CDRect box = m_freeForm->GetDocument().GetBoundingBox();
    if (points.size() < 2 || box.width <= 0 || box.height <= 0) return {};
    const double sx = rect.width / box.width, sy = rect.height / box.height;
    std::vector<CDPoint> fitted;
    for (const CDPoint& p : points) {
        fitted.push_back({rect.x + (p.x - box.x) * sx, rect.y + (p.y - box.y) * sy});
    }
    return fitted;
}

void CGraphicShape::Paint(CPaintMatrixDC& dc) {
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    effect.SetGreyscale(!IsColoured());

    // Draw in device pixels around the mapped rectangle, turned and mirrored about its centre.
    const CDRect r = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const CDPoint c = r.GetCenter();
    wxAffineMatrix2D local;
    local.Translate(c.x, c.y);
    if (std::abs(GetRotation()) > 0.001) local.Rotate(GetRotation() * kDegreesToRadians);
    local.Scale(IsMirrored(0) ? -1 : 1, IsMirrored(1) ? -1 : 1);
    local.Translate(-c.x, -c.y);
    context->SetTransform(draw::ToGraphics(*context, local));

    if (m_gradient.enabled && m_gradient.start.IsOk() && m_gradient.end.IsOk()) {
        context->SetBrush(context->CreateLinearGradientBrush(
            r.x, r.y, r.x + r.width, r.y, effect.Filter(m_gradient.start),
            effect.Filter(m_gradient.end)));
    } else {
        context->SetBrush(effect.Filter(m_brush));
    }
    context->SetPen(effect.Filter(draw::ScaledPen(m_pen, dc.GetPenScale())));

    switch (m_shapeType) {
        case SHAPE_RECTANGLE:
            context->DrawRectangle(r.x, r.y, r.width, r.height);
            break;
        case SHAPE_ROUNDED_RECTANGLE: {
            const double scaled = m_cornerRadius * dc.GetPenScale();
            context->DrawRoundedRectangle(r.x, r.y, r.width, r.height,
                                          ClampCornerRadius(scaled, r.width, r.height));
            break;
        }
        case SHAPE_ELLIPSE:
            context->DrawEllipse(r.x, r.y, r.width, r.height);
            break;
        case SHAPE_FREE_FORM: {
            const std::vector<CDPoint> points = FitFreeForm(r);
            if (points.empty()) break;
            wxGraphicsPath path = context->CreatePath();
            path.MoveToPoint(points[0].x, points[0].y);
            for (std::size_t i = 1; i < points.size(); ++i) {
                path.AddLineToPoint(points[i].x, points[i].y);
            }
            path.CloseSubpath();
            context->DrawPath(path);
            break;
        }
        default:
            break;
    }
    effect.Flush();
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
}

bool CGraphicShape::Contains(double x, double y) const {
    if (!CGraphicElement::Contains(x, y)) return false;
    const CDPoint centre = GetCenter();
    const CDSize size = GetSize();
    const CDPoint p = RotatePoint({x, y}, centre, -GetRotation());
    if (m_shapeType == SHAPE_ELLIPSE) {
        if (size.width <= 0 || size.height <= 0) return false;
        const double dx = (p.x - centre.x) / (size.width / 2);
        const double dy = (p.y - centre.y) / (size.height / 2);
        return dx * dx + dy * dy <= 1;
    }
    if (m_shapeType == SHAPE_FREE_FORM) {
        CDPoint local = p;
        if (IsMirrored(0)) local.x = 2 * centre.x - local.x;
        if (IsMirrored(1)) local.y = 2 * centre.y - local.y;
        const std::vector<CDPoint> outline = FitFreeForm(CDRect::FromCenter(centre, size));
        return !outline.empty() && InsidePolygon(outline, local);
    }
    return true;
}

void CGraphicShape::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* shape = dynamic_cast<const CGraphicShape*>(&other)) {
        m_gradient = shape->m_gradient;
        m_shapeType = shape->m_shapeType;
        m_brush = shape->m_brush;
        m_pen = shape->m_pen;
        m_cornerRadius = shape->m_cornerRadius;
        m_freeForm = nullptr;
        if (shape->m_freeForm) {
            m_freeForm = shape->m_freeForm->NewInstance();
            // Copy the outline itself, which may differ from the built-in one.
            CGraphicDocument& document = m_freeForm->GetDocument();
            document.Clear();
            CGraphicDocument& source = shape->m_freeForm->GetDocument();
            for (std::size_t i = 0; i < source.GetCount(); ++i) {
                document.Add(source.GetAt(i)->Clone());
            }
        }
    }
}

void CGraphicShape::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    wxXmlNode* gradient = xml::AddChild(node, "gradient");
    xml::WriteColour(*gradient, "start", m_gradient.start);
    xml::WriteColour(*gradient, "end", m_gradient.end);
    xml::WriteBool(*gradient, "ok", m_gradient.enabled);
    xml::WriteString(node, "shape", ShapeTypeToXml(m_shapeType));
    xml::WriteBrush(node, "brush", m_brush);
    xml::WritePen(node, "pen", m_pen);
    xml::WriteDouble(node, "corner-radius", m_cornerRadius);
    if (m_freeForm) {
        wxXmlNode* form = xml::AddChild(node, "free-form");
        xml::WriteString(*form, "name", m_freeForm->GetName());
        m_freeForm->GetDocument().ToXml(*xml::AddChild(*form, "graphic-document"), store);
    }
}

void CGraphicShape::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    if (const wxXmlNode* gradient = xml::FindChild(node, "gradient")) {
        xml::ReadColour(*gradient, "start", m_gradient.start);
        xml::ReadColour(*gradient, "end", m_gradient.end);
        xml::ReadBool(*gradient, "ok", m_gradient.enabled);
    }
    std::wstring shape;
    if (xml::ReadString(node, "shape", shape) && !shape.empty()) {
        m_shapeType = ShapeTypeFromXml(shape);
    }
    xml::ReadBrush(node, "brush", m_brush);
    xml::ReadPen(node, "pen", m_pen);
    xml::ReadDouble(node, "corner-radius", m_cornerRadius);
    if (const wxXmlNode* form = xml::FindChild(node, "free-form")) {
        std::wstring name;
        xml::ReadString(*form, "name", name);
        if (name.empty()) return;
        m_freeForm = CFreeFormManager::Get()->Find(name);
        if (!m_freeForm) return;
        if (const wxXmlNode* document = xml::FindChild(*form, "graphic-document")) {
            m_freeForm->GetDocument().FromXml(*document, store);
        }
    }
}

}  // namespace graphics
