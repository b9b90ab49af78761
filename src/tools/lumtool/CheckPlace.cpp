#include "CheckPlace.h"

#include <cmath>

#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"

namespace lumtool {

namespace {

std::wstring Pixels(double value) { return std::to_wstring(std::lround(value)); }

std::wstring Tag(const graphics::CGraphicElement& element) {
    try {
        return graphics::GraphicTypeToXml(element.GetType());
    } catch (const std::exception&) {
        return L"element";
    }
}

std::wstring Named(const std::wstring& pageName, const std::wstring& tag, const std::wstring& name,
                   std::size_t index) {
    const std::wstring named =
        name.empty() ? L"number " + std::to_wstring(index + 1) : L"'" + name + L"'";
    return L"page '" + pageName + L"', " + tag + L" " + named;
}

std::wstring Place(const std::wstring& pageName, const std::wstring& tag, const std::wstring& name,
                   std::size_t index, const graphics::CDRect& box) {
    return Named(pageName, tag, name, index) + L" at " + Pixels(box.x) + L"," + Pixels(box.y) +
           L" (" + Pixels(box.width) + L"\u00d7" + Pixels(box.height) + L")";
}

}  // namespace

std::wstring PagePlace(const lum::data::CPage& page) { return L"page '" + page.GetName() + L"'"; }

std::wstring ElementPlace(const lum::data::CPage& page, const graphics::CGraphicElement& element,
                          std::size_t index) {
    return Place(page.GetName(), Tag(element), element.GetName(), index, element.GetBoundingRect());
}

std::wstring ElementPlace(const std::wstring& pageName, const wxXmlNode& element,
                          std::size_t index) {
    graphics::CDPoint center;
    graphics::CDSize size;
    graphics::xml::ReadPoint(element, "center", center);
    graphics::xml::ReadSize(element, "size", size);
    const std::wstring tag = element.GetName().ToStdWstring();
    const std::wstring name = element.GetAttribute("name").ToStdWstring();
    if (size.width <= 0 || size.height <= 0) {
        // A skinned button takes its size from its skin, which the tree alone does not know.
        return Named(pageName, tag, name, index) + L" centred at " + Pixels(center.x) + L"," +
               Pixels(center.y);
    }
    const graphics::CDRect box{center.x - size.width / 2, center.y - size.height / 2, size.width,
                               size.height};
    return Place(pageName, tag, name, index, box);
}

std::wstring ListedNames(const std::vector<std::wstring>& names, std::size_t total) {
    const std::size_t more = total > names.size() ? total - names.size() : 0;
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() && more == 0 ? L" and " : L", ";
        text += names[i];
    }
    if (more > 0) text += L" and " + std::to_wstring(more) + L" more";
    return text;
}

}  // namespace lumtool
