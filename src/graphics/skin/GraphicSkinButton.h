#pragma once
// A state button that paints itself with a button skin: the state follows the hover and
// pressed flags; without a skin or without that state it keeps the plain look.

#include <wx/bitmap.h>

#include <memory>

#include "graphics/GraphicStateButton.h"
#include "graphics/skin/OwnerSources.h"
#include "graphics/skin/Skin.h"
#include "graphics/skin/StatePainter.h"

namespace graphics::skin {

class CGraphicSkinButton : public CGraphicStateButton,
                           public virtual ITextSource,
                           public virtual IAnimationSource {
public:
    CGraphicSkinButton();
    ~CGraphicSkinButton() override;

    std::wstring GetTypeName() const override { return L"skin-button"; }
    void Paint(CPaintMatrixDC& dc) override;
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    // The label, whatever the property.
    std::wstring GetText(const std::wstring& property) const override;
    // The own picture, whatever the property.
    const wxBitmap* GetPicture(const std::wstring& property) const override;

    // The state to paint in paint mode: the forced one, else by the flags in the
    // interactive mode, else "normal"; null without skin or when the skin gives that state
    // no layers.
    virtual tarn::P<CState> GetCurrentState(int paintMode) const;
    virtual void SetForcedState(const std::wstring& name) { m_forcedState = name; }

    const tarn::P<CButtonSkin>& GetSkin() const { return m_skin; }
    void SetSkin(const tarn::P<CButtonSkin>& skin) { m_skin = skin; }
    // Keeps a copy of a valid bitmap; none otherwise.
    void SetPicture(const wxBitmap* bitmap);

private:
    tarn::P<CButtonSkin> m_skin;
    tarn::P<CStatePainter> m_painter;
    std::wstring m_forcedState;
    std::unique_ptr<wxBitmap> m_picture;
};

}  // namespace graphics::skin
