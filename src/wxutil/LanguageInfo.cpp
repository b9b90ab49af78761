#include "wxutil/LanguageInfo.h"

#include "chf/ResourceFile.h"
#include "wxutil/IsoTables.h"

namespace wxutil {

CLanguageInfo::CLanguageInfo(std::wstring path, const chf::CResourceFile& header)
    : m_path(std::move(path)),
      m_applicationId(header.GetApplicationId()),
      m_tag(header.GetLanguageTag()),
      m_tagText(header.GetLanguageString(0)),
      m_second(header.GetLanguageString(1)),
      m_third(header.GetLanguageString(2)),
      m_comment(header.GetComment()) {
    const auto& subtags = m_tag.GetSubtags();
    if (!subtags.empty()) m_languageName = LanguageName(subtags[0]);
    if (subtags.size() >= 2) m_countryName = CountryName(subtags[1]);
}

}  // namespace wxutil
