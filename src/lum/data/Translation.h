#pragma once
// One translated product text: the text for an id in one language.

#include <wx/xml/xml.h>

#include <string>

#include "graphics/ResourceStore.h"
#include "tarn/Object.h"

namespace lum::data {

class CTranslation : public tarn::CObject {
public:
    CTranslation() = default;
    CTranslation(std::wstring id, std::wstring defaultText, std::wstring translation,
                 std::wstring language)
        : m_id(std::move(id)),
          m_default(std::move(defaultText)),
          m_translation(std::move(translation)),
          m_language(std::move(language)) {}

    // Copies each attribute present; the store is not used.
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store);

    std::wstring GetId() const { return m_id; }
    std::wstring GetDefault() const { return m_default; }
    std::wstring GetTranslation() const { return m_translation; }
    std::wstring GetLanguage() const { return m_language; }

private:
    std::wstring m_id;
    std::wstring m_default;
    std::wstring m_translation;
    std::wstring m_language;
};

}  // namespace lum::data
