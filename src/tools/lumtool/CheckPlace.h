#pragma once
// How the check names the place of a finding, so that an author finds it in product.xml and
// on the screen: the page, then the element's tag, name and top-left corner in pixels.

#include <wx/xml/xml.h>

#include <cstddef>
#include <string>
#include <vector>

#include "graphics/GraphicElement.h"
#include "lum/data/Page.h"

namespace lumtool {

// "page 'main'"
std::wstring PagePlace(const lum::data::CPage& page);
// "page 'main', state-button 'to-guide' at 30,110 (292×44)"; a nameless element is named by
// its position among the page's elements, counted from 1.
std::wstring ElementPlace(const lum::data::CPage& page, const graphics::CGraphicElement& element,
                          std::size_t index);
// "de-de", "de-de and fr-fr", "de-de, en-us and fr-fr"; with more in all than named,
// "de-de, en-us and 3 more".
std::wstring ListedNames(const std::vector<std::wstring>& names, std::size_t total = 0);

// The same from product.xml itself, for an element as written: its centre and size as given,
// or "… centred at 150,75" when it gives no size.
std::wstring ElementPlace(const std::wstring& pageName, const wxXmlNode& element,
                          std::size_t index);

}  // namespace lumtool
