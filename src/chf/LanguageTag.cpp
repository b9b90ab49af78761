#include "chf/LanguageTag.h"

#include "tarn/Text.h"

namespace chf {

CLanguageTag::CLanguageTag(std::wstring text) : m_text(std::move(text)) {
    if (m_text.empty()) return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dash = m_text.find(L'-', start);
        m_subtags.push_back(m_text.substr(start, dash - start));
        if (dash == std::wstring::npos) break;
        start = dash + 1;
    }
    // A private-use "x" belongs to the subtag after it: x-klingon is one subtag.
    if (m_subtags.size() > 1 && tarn::EqualsNoCase(m_subtags[0], L"x")) {
        m_subtags[0] += L"-" + m_subtags[1];
        m_subtags.erase(m_subtags.begin() + 1);
    }
}

std::size_t CLanguageTag::Score(const CLanguageTag& other) const {
    std::size_t score = 0;
    while (score < m_subtags.size() && score < other.m_subtags.size() &&
           tarn::EqualsNoCase(m_subtags[score], other.m_subtags[score])) {
        ++score;
    }
    return score;
}

bool CLanguageTag::Matches(const CLanguageTag& other, int mode) const {
    const std::size_t score = Score(other);
    switch (mode) {
        case kMatchAny: return score >= 1;
        case kMatchAllOfA: return score == m_subtags.size();
        case kMatchExactly:
            return score == m_subtags.size() && score == other.m_subtags.size();
        default: return score == other.m_subtags.size();  // 0 and 2
    }
}

}  // namespace chf
