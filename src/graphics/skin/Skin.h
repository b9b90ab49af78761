#pragma once
// Skins: a fixed, ordered set of named states chosen by the skin kind. Button skins carry
// the looks of a button, shape skins the one outline of a custom layer.

#include <wx/window.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/ReusableResource.h"
#include "graphics/skin/State.h"

namespace graphics::skin {

class ISkin : public virtual tarn::IBase {
public:
    virtual std::wstring GetTypeName() const = 0;
    virtual void ToXml(wxXmlNode& node, IResourceStore* store) const = 0;
    virtual void FromXml(const wxXmlNode& node, IResourceInputStore& store) = 0;
};

class CSkin : public tarn::CObject, public virtual ISkin, public virtual IReusableResource {
public:
    CDSize GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) const;
    // Measured on a temporary device context of window (a screen context when null).
    CDSize GetMinSize(wxWindow* window, const COwnerSources& sources) const;
    CDSize GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                           double width) const;
    CDSize GetSizeForWidth(wxWindow* window, const COwnerSources& sources, double width) const;

    // The first state of that name, compared without case; null when none matches.
    tarn::P<CState> FindState(const std::wstring& name) const;
    const std::vector<tarn::P<CState>>& GetStates() const { return m_states; }
    const std::wstring& GetId() const { return m_id; }
    void SetId(std::wstring id) { m_id = std::move(id); }

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::int64_t GetResourceId() const override;

protected:
    explicit CSkin(std::initializer_list<const wchar_t*> stateNames);

private:
    std::wstring m_id;
    std::vector<tarn::P<CState>> m_states;
};

class CButtonSkin : public CSkin {
public:
    CButtonSkin();
    std::wstring GetTypeName() const override { return L"buttonskin"; }
};

class CShapeSkin : public CSkin {
public:
    CShapeSkin();
    std::wstring GetTypeName() const override { return L"shapeskin"; }
};

// "buttonskin" or "shapeskin", compared exactly; none for other names.
tarn::P<CSkin> CreateSkin(const std::wstring& typeName);

// The skin held by child of node: made by its "type" and shared through its "unique" id by
// the store. None when the child is missing or names no skin kind.
tarn::P<CSkin> ReadSkinChild(const wxXmlNode& node, const wxString& child,
                             IResourceInputStore& store);
// Appends child holding the skin.
void WriteSkinChild(wxXmlNode& node, const wxString& child, const CSkin& skin,
                    IResourceStore* store);

}  // namespace graphics::skin
