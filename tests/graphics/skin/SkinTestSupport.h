#pragma once
// Helpers of the skin tests: a store that shares skins by "unique", painting one layer into
// a picture, owner sources and picture probes.

#include <wx/image.h>

#include <functional>
#include <map>

#include "TestSupport.h"
#include "graphics/skin/Layer.h"

namespace skintest {

// Shares objects read under the same positive "unique" id, as the content archive does.
class CSharingStore : public testsupport::CMemoryStore {
public:
    tarn::P<graphics::IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<graphics::IReusableResource>& fresh) override;

private:
    std::map<long long, tarn::P<graphics::IReusableResource>> m_known;
};

class CText : public tarn::CObject, public virtual graphics::skin::ITextSource {
public:
    explicit CText(std::wstring text) : m_text(std::move(text)) {}
    std::wstring GetText(const std::wstring&) const override { return m_text; }

private:
    std::wstring m_text;
};

class CFill : public tarn::CObject, public virtual graphics::skin::ICustomPainter {
public:
    explicit CFill(wxColour colour) : m_colour(colour) {}
    void PaintCustom(graphics::CPaintMatrixDC& dc, const graphics::CDRect& rect,
                     const std::wstring& id) override;
    std::wstring lastId;

private:
    wxColour m_colour;
};

// Paints the layer into a white width x height picture (direct painting, the fixed zoom mode).
wxImage PaintLayer(graphics::skin::CLayer& layer, const graphics::CDRect& target,
                   const graphics::skin::COwnerSources& sources, int width = 100,
                   int height = 100);

wxColour At(const wxImage& image, int x, int y);
// The box of pixels for which test holds; empty (width 0) when none.
wxRect BoxOf(const wxImage& image, const std::function<bool(const wxColour&)>& test);
int CountOf(const wxImage& image, const std::function<bool(const wxColour&)>& test);

}  // namespace skintest
