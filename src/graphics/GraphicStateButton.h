#pragma once
// The plain button: a rounded rectangle with a centred label, coloured by the hover and
// pressed flags, and a hint shown as a tooltip.

#include <cstdint>
#include <string>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

class CGraphicStateButton : public CGraphicElement {
public:
    // Placeholder, editing hints and two further state bits, beyond the element defaults.
    static constexpr std::uint32_t kButtonFlags = 0x630;

    CGraphicStateButton();

    int GetType() const override { return GRAPHIC_STATE_BUTTON; }
    // The toolkit's hand cursor.
    int GetCursorId() const override { return 6; }
    void Paint(CPaintMatrixDC& dc) override;
    void CopyFrom(const CGraphicElement& other) override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    // The text shown on the button (rewritten by text replacement and translation).
    const std::wstring& GetLabel() const { return m_label; }
    void SetLabel(std::wstring label) { m_label = std::move(label); }
    std::int32_t GetValue() const { return m_value; }
    void SetValue(std::int32_t value) { m_value = value; }

protected:
    // The rounded rectangle and label in the colours of the flags and paint mode.
    void PaintPlain(CPaintMatrixDC& dc) const;

private:
    std::wstring m_label = L"StateButton";
    std::int32_t m_value = 0;
};

}  // namespace graphics
