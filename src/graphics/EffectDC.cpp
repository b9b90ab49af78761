#include "graphics/EffectDC.h"

#include <wx/dcclient.h>

#include <cmath>

namespace graphics {

wxColour CEffectRules::Grey(const wxColour& colour) {
    const double grey =
        0.299 * colour.Red() + 0.587 * colour.Green() + 0.114 * colour.Blue() + 0.5;
    const auto g = static_cast<unsigned char>(std::trunc(grey));
    return wxColour(g, g, g, wxALPHA_OPAQUE);
}

wxColour CEffectRules::Apply(const wxColour& colour) const {
    if (white) return wxColour(255, 255, 255, 255);
    if (greyscale && colour.IsOk()) return Grey(colour);
    return colour;
}

wxBrush CEffectRules::Apply(const wxBrush& brush) const {
    if (!brush.IsOk() || (!white && !greyscale)) return brush;
    return wxBrush(Apply(brush.GetColour()), brush.GetStyle());
}

wxPen CEffectRules::Apply(const wxPen& pen) const {
    if (!pen.IsOk() || (!white && !greyscale)) return pen;
    wxPen result(pen);
    result.SetColour(Apply(pen.GetColour()));
    return result;
}

CEffectDCImpl::CEffectDCImpl(wxDC* owner, wxGraphicsContext* context)
    : wxGCDCImpl(owner, context) {}

void CEffectDCImpl::SetPen(const wxPen& pen) {
    if (m_rules.penLocked) return;
    wxGCDCImpl::SetPen(m_rules.Apply(pen));
}

void CEffectDCImpl::SetBrush(const wxBrush& brush) {
    if (m_rules.brushLocked) return;
    wxGCDCImpl::SetBrush(m_rules.Apply(brush));
}

void CEffectDCImpl::SetTextForeground(const wxColour& colour) {
    wxGCDCImpl::SetTextForeground(m_rules.Apply(colour));
}

void CEffectDCImpl::DoDrawText(const wxString& text, wxCoord x, wxCoord y) {
    if (m_circle.on) {
        DrawOnCircle(text);
        return;
    }
    wxGCDCImpl::DoDrawText(text, x, y);
}

void CEffectDCImpl::DrawOnCircle(const wxString& text) {
    constexpr double kTurn = 2 * M_PI;
    constexpr double kFullRing = kTurn - M_PI / 20;  // 351 degrees
    wxGraphicsContext* context = GetGraphicsContext();
    if (!context) return;
    CCircleText& c = m_circle;
    for (const wxUniChar ch : text) {
        if (c.stopped || c.radius < 15) return;
        const wxString glyph(ch);
        wxCoord w = 0, h = 0;
        DoGetTextExtent(glyph, &w, &h);
        const double x = std::trunc(c.centre.x + c.radius * std::cos(c.angle));
        const double y = std::trunc(c.centre.y + c.radius * std::sin(c.angle));
        // Tangent to the circle: upright at the top, turning clockwise with the angle.
        const double turn = (270 - c.angle * 57.29577951308232) * 0.017453292519943295;
        context->DrawText(glyph, x, y, turn);
        const double step = 1.1 * w / c.radius;
        c.angle += step;
        if (c.angle >= kTurn) c.angle -= kTurn;
        c.travelled += step;
        if (c.travelled > kFullRing) {
            c.travelled -= kTurn;
            if (c.radius - h <= 0) {
                c.stopped = true;
                return;
            }
            c.radius -= h;
        }
    }
}

CEffectDC::CEffectDC(wxGraphicsContext* context)
    : wxDC(new CEffectDCImpl(this, context)),
      m_impl(static_cast<CEffectDCImpl*>(GetImpl())) {
    // The context may share its surface state with the target: leave it as found.
    if (wxGraphicsContext* gc = GetGraphicsContext()) gc->PushState();
}

CEffectDC::~CEffectDC() {
    if (wxGraphicsContext* gc = GetGraphicsContext()) {
        gc->PopState();
        gc->Flush();
    }
}

void CEffectDC::Flush() {
    if (wxGraphicsContext* gc = GetGraphicsContext()) gc->Flush();
}

void CEffectDC::SetCircleMode(wxPoint centre, double startAngle, int radius) {
    CCircleText& circle = Impl().GetCircle();
    circle = CCircleText{};
    circle.on = true;
    circle.centre = centre;
    circle.angle = startAngle;
    circle.radius = radius;
}

void CEffectDC::LockBrush(bool lock, const wxBrush& brush) {
    if (lock) Impl().ForceBrush(brush);
    Rules().brushLocked = lock;
}

void CEffectDC::LockPen(bool lock, const wxPen& pen) {
    if (lock) Impl().ForcePen(pen);
    Rules().penLocked = lock;
}

void CEffectDC::SetWhiteMode(bool white) {
    Rules().white = white;
    if (!white) return;
    SetTextForeground(*wxWHITE);
    SetBrush(wxBrush(*wxWHITE, wxBRUSHSTYLE_SOLID));
    SetPen(wxPen(*wxWHITE, 1, wxPENSTYLE_SOLID));
}

wxGraphicsContext* CreateContextFor(wxDC& target) {
    if (auto* memory = dynamic_cast<wxMemoryDC*>(&target)) {
        return wxGraphicsContext::Create(*memory);
    }
    if (auto* window = dynamic_cast<wxWindowDC*>(&target)) {
        return wxGraphicsContext::Create(*window);
    }
    if (wxGraphicsContext* context = target.GetGraphicsContext()) {
        return wxGraphicsContext::CreateFromNative(context->GetNativeContext());
    }
    return wxGraphicsContext::CreateFromUnknownDC(target);
}

}  // namespace graphics
