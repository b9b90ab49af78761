#include "graphics/animation/GraphicAnimationImage.h"

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"
#include "graphics/animation/AnimationRegistry.h"
#include "graphics/animation/Clock.h"
#include "tarn/StringLocalizer.h"

namespace graphics::animation {

void CGraphicAnimationImage::SetAnimation(const tarn::P<IAnimation>& animation) {
    m_animation = animation;
    m_lastChange.reset();
}

bool CGraphicAnimationImage::IsContentEmpty() const {
    return !m_animation || m_animation->IsEmpty();
}

std::wstring CGraphicAnimationImage::GetHint() const {
    if (GetHintText().empty() && HasFlag(kFlagEditingHints) && IsContentEmpty()) {
        return tarn::Localize(L"graphics.CGraphicAnimationImage.DoubleClickToLoadImage",
                              L"Double click to load an animation");
    }
    return GetHintText();
}

void CGraphicAnimationImage::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* image = dynamic_cast<const CGraphicAnimationImage*>(&other)) {
        SetAnimation(image->m_animation);
    }
}

void CGraphicAnimationImage::StartAnimation() {
    m_animated = m_animation != nullptr;
    if (!m_animation) return;
    m_animation->Play();
    m_lastChange.reset();
    m_animation->Rewind();
}

void CGraphicAnimationImage::StopAnimation() {
    m_animated = false;
    if (m_animation) m_animation->Stop();
}

std::uint32_t CGraphicAnimationImage::Step() {
    const std::uint32_t now = Now();
    const std::int64_t delay = m_animation->GetDelay();
    std::int64_t elapsed = delay;
    if (m_lastChange) {
        elapsed = static_cast<std::uint32_t>(now - *m_lastChange);
    } else {
        m_lastChange = now;
    }
    if (elapsed > delay) {
        if (!m_animation->NextFrame()) {
            if (m_animation->GetLoop()) {
                m_animation->Rewind();
            } else {
                StopAnimation();
            }
        }
        if (delay > 0) elapsed %= delay;
        m_lastChange = now;
    }
    // A frame that is due already is asked for soon rather than never.
    const std::int64_t wait = delay - elapsed;
    return wait > 0 ? static_cast<std::uint32_t>(wait) : 10;
}

void CGraphicAnimationImage::Paint(CPaintMatrixDC& dc) {
    const CDRect rect = CDRect::FromCenter(GetCenter(), GetSize());
    if (m_animation) {
        TEffectDC<wxDC> effect(dc.GetDC());
        wxGraphicsContext* context = effect.GetGraphicsContext();
        if (context) {
            const CPaintToDC local(dc, *this);
            context->SetTransform(draw::ToGraphics(*context, local.GetTransform()));
            if (!m_animated || m_animation->IsEmpty() || !m_animation->IsPlaying()) {
                // An empty animation has no frame to wait for.
                if (m_animated && !m_animation->IsEmpty()) dc.RequestRedraw(kIdleRedraw);
            } else {
                dc.RequestRedraw(Step());
            }
            m_animation->Draw(*context, rect);
            effect.Flush();
        }
        dc.AddPaintedArea(dc.Map(GetBoundingRect()));
    }
    if (dc.IsEditing() && IsContentEmpty()) PaintPlaceholder(dc);
}

void CGraphicAnimationImage::PaintPlaceholder(CPaintMatrixDC& dc) const {
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const wxRect rect(draw::Whole(mapped.x), draw::Whole(mapped.y), draw::Whole(mapped.width),
                      draw::Whole(mapped.height));
    wxDC& target = dc.GetDC();
    target.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SOLID));
    target.SetBrush(*wxTRANSPARENT_BRUSH);
    target.DrawRectangle(rect);
    target.DrawLabel(wxString(tarn::Localize(L"graphics.Image.ClickMe", L"Click me!")), rect,
                     wxALIGN_CENTER);
}

void CGraphicAnimationImage::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    if (!m_animation) return;
    wxXmlNode* child = xml::AddChild(node, "animation");
    xml::WriteString(*child, "type", m_animation->GetTypeName());
    m_animation->ToXml(*child, store);
}

void CGraphicAnimationImage::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    const wxXmlNode* child = xml::FindChild(node, "animation");
    std::wstring type;
    if (!child || !xml::ReadString(*child, "type", type) || type.empty()) return;
    if (tarn::P<IAnimation> animation = CreateAnimation(type)) {
        animation->FromXml(*child, store);
        SetAnimation(animation);
    }
}

}  // namespace graphics::animation
