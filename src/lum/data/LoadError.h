#pragma once
// A reading error of product.xml that says where it happened, for the menu's author:
//   Unknown Change page type 'x' (valid: go-back, ...), in page 'main', element 3 (image 'b')
// The reader's own text comes first and stays as it is (tools and tests compare it); the
// valid values of a closed list follow it, then the place.

#include <wx/xml/xml.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tarn/Exception.h"

namespace lum::data {

class CLoadError : public tarn::CError {
public:
    // page and element are places such as "page 'main'" and "element 3 (image 'logo')"; either
    // may be empty.
    CLoadError(std::wstring reason, std::wstring page, std::wstring element);
    tarn::P<tarn::CException> Clone() const override;

    // The reader's text, with the valid values where they are known.
    const std::wstring& GetReason() const { return m_reason; }
    const std::wstring& GetPage() const { return m_page; }
    const std::wstring& GetElement() const { return m_element; }

    // "page 'main'", or for a page without a name its position, "page 2" (position counts
    // from 0).
    static std::wstring PagePlace(const std::wstring& name, std::size_t position);
    // "element 3 (state-button 'b')" for the element the document node holds at position
    // (from 0), counting only what the document reads as elements; empty when there is none.
    static std::wstring ElementPlace(const wxXmlNode& document, std::size_t position);
    // The reason with the valid values after it when it is an element reader's text for a
    // value outside a closed list (shapes, cell alignments, type names); else as it is.
    static std::wstring WithValidValues(const std::wstring& reason);

private:
    std::wstring m_reason;
    std::wstring m_page;
    std::wstring m_element;
};

// A value from product.xml in quotes, cut short when it is long: an attribute may hold a
// megabyte, which no message needs.
std::wstring QuotedValue(const std::wstring& value);
// "(valid: a, b, c)".
std::wstring ValidValuesText(const std::vector<std::wstring>& values);

}  // namespace lum::data
