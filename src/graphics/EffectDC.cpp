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
    if (auto* memory = wxDynamicCast(&target, wxMemoryDC)) {
        return wxGraphicsContext::Create(*memory);
    }
    if (auto* window = wxDynamicCast(&target, wxWindowDC)) {
        return wxGraphicsContext::Create(*window);
    }
    if (wxGraphicsContext* context = target.GetGraphicsContext()) {
        return wxGraphicsContext::CreateFromNative(context->GetNativeContext());
    }
    return wxGraphicsContext::CreateFromUnknownDC(target);
}

}  // namespace graphics
