#include "SkinTestSupport.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "graphics/PaintMatrixDC.h"
#include "graphics/XmlValues.h"

namespace skintest {

tarn::P<graphics::IReusableResource> CSharingStore::GetReusableResource(
    const wxXmlNode& node, const std::wstring&,
    const tarn::P<graphics::IReusableResource>& fresh) {
    std::int64_t id = -1;
    graphics::xml::ReadInt64(node, "unique", id);
    if (id > 0) {
        const auto found = m_known.find(id);
        if (found != m_known.end()) return found->second;
        m_known[id] = fresh;
    }
    fresh->FromXml(node, *this);
    return fresh;
}

void CFill::PaintCustom(graphics::CPaintMatrixDC& dc, const graphics::CDRect& rect,
                        const std::wstring& id) {
    lastId = id;
    wxGraphicsContext* context = dc.GetGraphicsContext();
    context->SetPen(*wxTRANSPARENT_PEN);
    context->SetBrush(wxBrush(m_colour));
    context->DrawRectangle(rect.x, rect.y, rect.width, rect.height);
}

wxImage PaintLayer(graphics::skin::CLayer& layer, const graphics::CDRect& target,
                   const graphics::skin::COwnerSources& sources, int width, int height) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), 255, 255, 255);
    wxBitmap scratch(1, 1);
    wxMemoryDC measuring(scratch);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        graphics::CPaintMatrixDC dc(measuring, wxAffineMatrix2D());
        dc.SetZoomMode(graphics::EZoomMode::Fixed);
        dc.SetGraphicsContext(context.get());
        layer.Paint(dc, target, sources);
    }
    return image;
}

wxColour At(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

wxRect BoxOf(const wxImage& image, const std::function<bool(const wxColour&)>& test) {
    wxRect box;
    bool any = false;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (!test(At(image, x, y))) continue;
            if (!any) {
                box = wxRect(x, y, 1, 1);
                any = true;
            } else {
                box = box.Union(wxRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

int CountOf(const wxImage& image, const std::function<bool(const wxColour&)>& test) {
    int count = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) count += test(At(image, x, y)) ? 1 : 0;
    }
    return count;
}

}  // namespace skintest
