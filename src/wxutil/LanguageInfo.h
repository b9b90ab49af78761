#pragma once
// What the header of one language pack says about it.

#include <string>

#include "chf/LanguageTag.h"
#include "tarn/Object.h"

namespace chf {
class CResourceFile;
}

namespace wxutil {

class CLanguageInfo : public tarn::CObject {
public:
    // From a header read with chf::CResourceFile::OpenHeader.
    CLanguageInfo(std::wstring path, const chf::CResourceFile& header);

    const std::wstring& GetPath() const { return m_path; }
    const std::wstring& GetApplicationId() const { return m_applicationId; }
    const chf::CLanguageTag& GetTag() const { return m_tag; }
    const std::wstring& GetTagText() const { return m_tagText; }
    // English names from the tag's first and second subtags; empty when unknown.
    const std::wstring& GetLanguageName() const { return m_languageName; }
    const std::wstring& GetCountryName() const { return m_countryName; }
    const std::wstring& GetSecondLanguageString() const { return m_second; }
    const std::wstring& GetThirdLanguageString() const { return m_third; }
    const std::wstring& GetComment() const { return m_comment; }

private:
    std::wstring m_path;
    std::wstring m_applicationId;
    chf::CLanguageTag m_tag;
    std::wstring m_tagText;
    std::wstring m_languageName;
    std::wstring m_countryName;
    std::wstring m_second;
    std::wstring m_third;
    std::wstring m_comment;
};

}  // namespace wxutil
