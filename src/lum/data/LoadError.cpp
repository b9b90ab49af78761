#include "lum/data/LoadError.h"

#include <functional>

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicShape.h"
#include "graphics/GraphicTable.h"
#include "lum/data/ElementFactories.h"

namespace lum::data {

namespace {

constexpr std::size_t kMaxQuoted = 80;

std::wstring Joined(const std::wstring& reason, const std::wstring& page,
                    const std::wstring& element) {
    std::wstring place = page;
    if (!element.empty()) place += (place.empty() ? L"" : L", ") + element;
    return place.empty() ? reason : reason + L", in " + place;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The element readers' texts for values outside a closed list, and those lists.
struct SClosedList {
    const wchar_t* text;
    bool whole;  // the text is the whole reason; else it starts the reason
    std::function<std::vector<std::wstring>()> values;
};

std::vector<std::wstring> ShapeNames() {
    std::vector<std::wstring> names;
    for (int type = graphics::SHAPE_RECTANGLE; type <= graphics::SHAPE_FREE_FORM; ++type) {
        names.push_back(graphics::ShapeTypeToXml(type));
    }
    return names;
}

std::vector<std::wstring> AlignNames() {
    std::vector<std::wstring> names;
    for (int align = graphics::VERTICAL_ALIGN_TOP; align <= graphics::VERTICAL_ALIGN_BOTTOM;
         ++align) {
        names.push_back(graphics::VerticalAlignToXml(align));
    }
    return names;
}

const SClosedList kClosedLists[] = {
    {L"ShapeTypeFromXml. Unknwown type:", false, ShapeNames},
    {L"VerticalAlignFromXml. Unknown Align String", true, AlignNames},
    // The same text without a name is a tag that needs a type-name, not a wrong one.
    {L"CSheetItemFormat.NewInstance unknwown type: ", false, CElementFactories::TypeNames},
};

}  // namespace

CLoadError::CLoadError(std::wstring reason, std::wstring page, std::wstring element)
    : tarn::CError(Joined(reason, page, element)),
      m_reason(std::move(reason)),
      m_page(std::move(page)),
      m_element(std::move(element)) {}

tarn::P<tarn::CException> CLoadError::Clone() const { return tarn::New<CLoadError>(*this); }

std::wstring CLoadError::PagePlace(const std::wstring& name, std::size_t position) {
    if (name.empty()) return L"page " + std::to_wstring(position + 1);
    return L"page " + QuotedValue(name);
}

std::wstring CLoadError::ElementPlace(const wxXmlNode& document, std::size_t position) {
    std::size_t index = 0;
    for (const wxXmlNode* child = document.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        // What the document reads as elements (CGraphicContainer::FromXml), nothing else.
        const std::wstring tag = child->GetName().ToStdWstring();
        if (!graphics::IsGraphicTypeName(tag) && tag != L"table-content") continue;
        if (index++ != position) continue;
        std::wstring place = L"element " + std::to_wstring(position + 1) + L" (" + tag;
        const std::wstring name = child->GetAttribute("name", wxString()).ToStdWstring();
        if (!name.empty()) place += L" " + QuotedValue(name);
        return place + L")";
    }
    return {};
}

std::wstring CLoadError::WithValidValues(const std::wstring& reason) {
    for (const SClosedList& list : kClosedLists) {
        const bool matches = list.whole ? reason == list.text : StartsWith(reason, list.text);
        if (matches) return reason + L" " + ValidValuesText(list.values());
    }
    return reason;
}

std::wstring QuotedValue(const std::wstring& value) {
    if (value.size() <= kMaxQuoted) return L"'" + value + L"'";
    std::size_t cut = kMaxQuoted - 3;
    // Never half a UTF-16 pair (where wchar_t is 16 bits wide).
    if (value[cut] >= 0xDC00 && value[cut] <= 0xDFFF) --cut;
    return L"'" + value.substr(0, cut) + L"...'";
}

std::wstring ValidValuesText(const std::vector<std::wstring>& values) {
    std::wstring text = L"(valid: ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += L", ";
        text += values[i];
    }
    return text + L")";
}

}  // namespace lum::data
