#include "CheckPlace.h"

#include <cmath>

#include "graphics/GraphicElementType.h"

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

}  // namespace

std::wstring PagePlace(const lum::data::CPage& page) { return L"page '" + page.GetName() + L"'"; }

std::wstring ElementPlace(const lum::data::CPage& page, const graphics::CGraphicElement& element,
                          std::size_t index) {
    const std::wstring name = element.GetName().empty()
                                  ? L"number " + std::to_wstring(index + 1)
                                  : L"'" + element.GetName() + L"'";
    const graphics::CDRect box = element.GetBoundingRect();
    return PagePlace(page) + L", " + Tag(element) + L" " + name + L" at " + Pixels(box.x) + L"," +
           Pixels(box.y) + L" (" + Pixels(box.width) + L"\u00d7" + Pixels(box.height) + L")";
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
