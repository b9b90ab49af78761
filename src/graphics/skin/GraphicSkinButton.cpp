#include "graphics/skin/GraphicSkinButton.h"

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"

namespace graphics::skin {

CGraphicSkinButton::CGraphicSkinButton() : m_painter(tarn::New<CStatePainter>()) {
    SetLabel(L"SkinButton");
    SetSize({200, 40});
}

CGraphicSkinButton::~CGraphicSkinButton() = default;

std::wstring CGraphicSkinButton::GetText(const std::wstring&) const { return GetLabel(); }

const wxBitmap* CGraphicSkinButton::GetPicture(const std::wstring&) const {
    return m_picture.get();
}

void CGraphicSkinButton::SetPicture(const wxBitmap* bitmap) {
    m_picture = bitmap && bitmap->IsOk() ? std::make_unique<wxBitmap>(*bitmap) : nullptr;
}

tarn::P<CState> CGraphicSkinButton::GetCurrentState(int paintMode) const {
    if (!m_skin) return nullptr;
    if (!m_forcedState.empty()) return m_skin->FindState(m_forcedState);
    const wchar_t* name = L"normal";
    if (paintMode == CPaintMatrixDC::kModeInteractive) {
        const bool hovered = HasFlag(kFlagHovered);
        if (HasFlag(kFlagPressed)) {
            name = hovered ? L"down" : L"normal";
        } else if (hovered) {
            name = L"hover";
        }
    }
    // A state the skin leaves without layers is one it does not define: the plain look
    // shows instead of nothing.
    tarn::P<CState> state = m_skin->FindState(name);
    return state && !state->GetLayers().empty() ? state : nullptr;
}

void CGraphicSkinButton::Paint(CPaintMatrixDC& dc) {
    const tarn::P<CState> state = GetCurrentState(dc.GetPaintMode());
    if (!state) {
        PaintPlain(dc);
        return;
    }
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    const CPaintToDC local(dc, *this);
    context->SetTransform(draw::ToGraphics(*context, local.GetTransform()));
    CPaintMatrixDC inner = PaintContextLike(effect, dc, context);
    inner.SetTransform(local.GetTransform());
    m_painter->PaintState(*state, inner, *context, CDRect::FromCenter(GetCenter(), GetSize()),
                          {this, this, nullptr});
    dc.RequestRedraw(inner.GetRedrawDelay());
    effect.Flush();
}

void CGraphicSkinButton::CopyFrom(const CGraphicElement& other) {
    CGraphicStateButton::CopyFrom(other);
    if (const auto* button = dynamic_cast<const CGraphicSkinButton*>(&other)) {
        m_skin = button->m_skin;
        SetPicture(button->m_picture.get());
    }
}

void CGraphicSkinButton::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicStateButton::ToXml(node, store);
    if (m_skin) WriteSkinChild(node, "skin", *m_skin, store);
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    if (m_picture && output) output->StoreBitmap(node, L"attachment-bitmap", *m_picture);
}

void CGraphicSkinButton::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicStateButton::FromXml(node, store);
    if (xml::FindChild(node, "skin")) {
        m_skin = tarn::Cast<CButtonSkin>(ReadSkinChild(node, "skin", store));
    }
    wxFileName fileName;
    if (auto picture = store.LoadBitmap(node, L"attachment-bitmap", fileName)) {
        SetPicture(picture.get());
    }
}

}  // namespace graphics::skin
