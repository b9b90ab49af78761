#pragma once
// A language tag such as "en-us" or "x-klingon-ca", split into subtags for matching.

#include <cstddef>
#include <string>
#include <vector>

namespace chf {

class CLanguageTag {
public:
    // What a match must cover.
    enum EMatchMode {
        kMatchAny = 1,       // at least one leading subtag
        kMatchAllOfB = 2,    // every subtag of the other tag (also mode 0, the default)
        kMatchAllOfA = 4,    // every subtag of this tag
        kMatchExactly = 6,   // both completely
    };

    CLanguageTag() = default;
    explicit CLanguageTag(std::wstring text);

    const std::wstring& GetText() const { return m_text; }
    const std::vector<std::wstring>& GetSubtags() const { return m_subtags; }
    std::size_t GetSubtagCount() const { return m_subtags.size(); }
    bool IsEmpty() const { return m_subtags.empty(); }

    // How many leading subtags are equal, ignoring ASCII letter case.
    std::size_t Score(const CLanguageTag& other) const;
    bool Matches(const CLanguageTag& other, int mode) const;

private:
    std::wstring m_text;
    std::vector<std::wstring> m_subtags;
};

}  // namespace chf
