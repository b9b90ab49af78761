#include "lum/History.h"

#include "graphics/GraphicElementTextReplacer.h"
#include "graphics/GraphicText.h"
#include "tarn/Text.h"

namespace lum {

void CHistory::Push(const tarn::P<lum::data::CPage>& page) {
    const auto kept = static_cast<std::size_t>(m_position + 1);
    if (kept < m_pages.size()) m_pages.resize(kept);
    m_position = static_cast<std::int32_t>(m_pages.size());
    m_pages.push_back(page);
}

tarn::P<lum::data::CPage> CHistory::Back() {
    if (m_pages.empty() || m_position <= 0) return nullptr;
    --m_position;
    return m_pages[static_cast<std::size_t>(m_position)];
}

std::wstring CHistory::GetBreadcrumb() const {
    std::wstring text;
    for (std::int32_t i = 0; i <= m_position; ++i) {
        if (!text.empty()) text += L" | ";
        const auto& page = m_pages[static_cast<std::size_t>(i)];
        if (page) text += page->GetDisplayTitle();
    }
    return text;
}

bool ApplyBreadcrumb(graphics::CGraphicDocument& document, const std::wstring& text) {
    for (std::size_t i = 0; i < document.GetCount(); ++i) {
        const tarn::P<graphics::CGraphicElement> element = document.GetAt(i);
        if (!tarn::EqualsNoCase(element->GetName(), L"$breadcrumb")) continue;
        if (dynamic_cast<graphics::CGraphicText*>(element.Get()) == nullptr) return false;
        const auto replacer = tarn::New<graphics::CGraphicElementTextReplacer>();
        replacer->AddReplacement(L"*", text);
        replacer->Apply(*element);
        // A rewritten text takes its text as its name; keep the placeholder name so that
        // the next visit of the page finds the element again.
        element->SetName(L"$breadcrumb");
        return true;
    }
    return false;
}

}  // namespace lum
