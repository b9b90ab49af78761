#include "app/History.h"

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
