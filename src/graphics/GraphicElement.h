#pragma once
// The abstract element: colour switch, groups, content and text ids, hint and the XML form
// common to all element kinds.

#include <cstdint>
#include <set>
#include <string>

#include "graphics/GraphicBase.h"
#include "graphics/ReusableResource.h"
#include "tarn/Pointer.h"

namespace graphics {

class CGraphicElement : public CGraphicBase, public virtual IReusableResource {
public:
    // Bit 5 set and no content: "Double click to edit"; otherwise the hint.
    std::wstring GetHint() const override;
    // The rotated-rectangle hit test.
    virtual bool Contains(double x, double y) const;
    // A new element of the same kind with every member copied.
    virtual tarn::P<CGraphicElement> Clone() const;
    virtual void CopyFrom(const CGraphicElement& other);
    // The factory type name; empty for built-in kinds.
    virtual std::wstring GetTypeName() const { return {}; }
    virtual void SetColoured(bool coloured) { m_coloured = coloured; }
    virtual bool IsColoured() const { return m_coloured; }
    virtual void SetHint(std::wstring hint) { m_hint = std::move(hint); }
    virtual void ClearContent() {}

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::int64_t GetResourceId() const override;

    const std::set<std::int32_t>& GetGroups() const { return m_groups; }
    // Keeps only numbers above 0.
    void SetGroups(const std::set<std::int32_t>& groups);
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    const std::wstring& GetContentId() const { return m_contentId; }
    void SetContentId(std::wstring id) { m_contentId = std::move(id); }
    std::int32_t GetContentIndex() const { return m_contentIndex; }
    void SetContentIndex(std::int32_t index) { m_contentIndex = index; }
    const std::wstring& GetTextId() const { return m_textId; }
    void SetTextId(std::wstring id) { m_textId = std::move(id); }
    const std::wstring& GetHintText() const { return m_hint; }

private:
    std::set<std::int32_t> m_groups;
    bool m_coloured = true;
    bool m_modified = false;
    std::wstring m_contentId;
    std::int32_t m_contentIndex = 0;
    std::wstring m_textId;
    std::wstring m_hint;
};

}  // namespace graphics
