#include "graphics/skin/Skin.h"

#include <wx/dcclient.h>
#include <wx/dcscreen.h>

#include <memory>

#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"
#include "tarn/Text.h"

namespace graphics::skin {
namespace {

template <class Measure>
CDSize Largest(const std::vector<tarn::P<CState>>& states, Measure measure) {
    CDSize result;
    for (const auto& state : states) {
        const CDSize size = measure(*state);
        result.width = std::max(result.width, size.width);
        result.height = std::max(result.height, size.height);
    }
    return result;
}

// A device context to measure on: the window's, or the screen's.
std::unique_ptr<wxDC> MeasuringDC(wxWindow* window) {
    if (window) return std::make_unique<wxClientDC>(window);
    return std::make_unique<wxScreenDC>();
}

}  // namespace

CSkin::CSkin(std::initializer_list<const wchar_t*> stateNames) {
    for (const wchar_t* name : stateNames) m_states.push_back(tarn::New<CState>(name));
}

CButtonSkin::CButtonSkin()
    : CSkin({L"hover", L"hover_low", L"down", L"disabled", L"normal", L"selected"}) {}

CShapeSkin::CShapeSkin() : CSkin({L"normal"}) {}

CDSize CSkin::GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) const {
    return Largest(m_states, [&](const CState& state) { return state.GetMinSize(dc, sources); });
}

CDSize CSkin::GetMinSize(wxWindow* window, const COwnerSources& sources) const {
    const auto measuring = MeasuringDC(window);
    CPaintMatrixDC dc(*measuring, wxAffineMatrix2D());
    return GetMinSize(dc, sources);
}

CDSize CSkin::GetSizeForWidth(CPaintMatrixDC& dc, const COwnerSources& sources,
                              double width) const {
    return Largest(m_states, [&](const CState& state) {
        return state.GetSizeForWidth(dc, sources, width);
    });
}

CDSize CSkin::GetSizeForWidth(wxWindow* window, const COwnerSources& sources,
                              double width) const {
    const auto measuring = MeasuringDC(window);
    CPaintMatrixDC dc(*measuring, wxAffineMatrix2D());
    return GetSizeForWidth(dc, sources, width);
}

tarn::P<CState> CSkin::FindState(const std::wstring& name) const {
    for (const auto& state : m_states) {
        if (tarn::EqualsNoCase(state->GetName(), name)) return state;
    }
    return nullptr;
}

std::int64_t CSkin::GetResourceId() const {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(this));
}

void CSkin::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteString(node, "type", GetTypeName());
    xml::WriteString(node, "id", m_id);
    xml::SetAttribute(node, "unique", wxString::Format("%lld",
                                                       static_cast<long long>(GetResourceId())));
    wxXmlNode* states = xml::AddChild(node, "states");
    for (const auto& state : m_states) {
        state->ToXml(*xml::AddChild(*states, wxString(state->GetName())), store);
    }
}

void CSkin::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    xml::ReadString(node, "id", m_id);
    const wxXmlNode* states = xml::FindChild(node, "states");
    if (!states) return;
    for (const auto& state : m_states) {
        // State nodes are found by their exact name.
        for (const wxXmlNode* child = states->GetChildren(); child; child = child->GetNext()) {
            if (child->GetType() == wxXML_ELEMENT_NODE &&
                child->GetName().ToStdWstring() == state->GetName()) {
                state->FromXml(*child, store);
                break;
            }
        }
    }
}

tarn::P<CSkin> CreateSkin(const std::wstring& typeName) {
    if (typeName == L"buttonskin") return tarn::New<CButtonSkin>();
    if (typeName == L"shapeskin") return tarn::New<CShapeSkin>();
    return nullptr;
}

tarn::P<CSkin> ReadSkinChild(const wxXmlNode& node, const wxString& child,
                             IResourceInputStore& store) {
    const wxXmlNode* skinNode = xml::FindChild(node, child);
    if (!skinNode) return nullptr;
    const std::wstring type = store.GetResourceType(*skinNode);
    const tarn::P<CSkin> fresh = CreateSkin(type);
    if (!fresh) return nullptr;
    const tarn::P<IReusableResource> used =
        store.GetReusableResource(*skinNode, type, tarn::P<IReusableResource>(fresh.Get()));
    return tarn::P<CSkin>(dynamic_cast<CSkin*>(used.Get()));
}

void WriteSkinChild(wxXmlNode& node, const wxString& child, const CSkin& skin,
                    IResourceStore* store) {
    skin.ToXml(*xml::AddChild(node, child), store);
}

}  // namespace graphics::skin
