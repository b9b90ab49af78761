#pragma once
// The pages the user went through, for going back and for the breadcrumb.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/GraphicDocument.h"
#include "lum/data/Page.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace lum {

class CHistory : public tarn::CObject {
public:
    // Drops the entries after the current one, then appends the page and makes it current.
    // A page may stand in the history several times.
    void Push(const tarn::P<lum::data::CPage>& page);
    // Steps back one entry and returns its page; empty (and no change) at the first entry or
    // in an empty history. Entries after the current one stay until the next Push.
    tarn::P<lum::data::CPage> Back();
    // The display titles from the first entry to the current one, joined by " | ".
    std::wstring GetBreadcrumb() const;

    // -1 while the history is empty.
    std::int32_t GetPosition() const { return m_position; }
    std::size_t GetCount() const { return m_pages.size(); }
    tarn::P<lum::data::CPage> GetPage(std::size_t index) const { return m_pages.at(index); }

private:
    std::vector<tarn::P<lum::data::CPage>> m_pages;
    std::int32_t m_position = -1;
};

// Writes text into the page's "$breadcrumb" text element (the first top-level element of
// that name, letter case aside). False when the page has none or it is not a text.
bool ApplyBreadcrumb(graphics::CGraphicDocument& document, const std::wstring& text);

}  // namespace lum
