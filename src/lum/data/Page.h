#pragma once
// One page of the menu: its name, translatable title, document and extra data.

#include <wx/xml/xml.h>

#include <cstdint>
#include <string>

#include "graphics/GraphicDocument.h"
#include "graphics/ResourceStore.h"
#include "graphics/XData.h"
#include "tarn/Object.h"
#include "tarn/StringLocalizer.h"

namespace lum::data {

enum class EPageUsage : std::int32_t {
    Normal = 0,
    GadgetMainPage = 1,
    GadgetFlyout = 2,
};

class CPage : public tarn::CObject {
public:
    CPage();

    // Text forms compare with case; an unknown text gives Normal.
    static EPageUsage UsageFromText(const std::wstring& text);
    static std::wstring UsageToText(EPageUsage usage);

    // Errors of the document's elements pass out.
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore& store);
    // Translates the document's texts and, when the page has a text id, its title.
    void SetLocalizer(const tarn::P<tarn::IStringLocalizer>& localizer);
    // Start and stop the animations of the document's elements.
    void Activate();
    void Deactivate();

    std::wstring GetName() const { return m_name; }
    std::wstring GetTitle() const { return m_title; }
    // The title, or the name while there is no title.
    std::wstring GetDisplayTitle() const { return m_title.empty() ? m_name : m_title; }
    std::wstring GetTextId() const { return m_textId; }
    bool IsMain() const { return m_main; }
    EPageUsage GetUsage() const { return m_usage; }
    tarn::P<graphics::CGraphicDocument> GetDocument() const { return m_document; }
    tarn::P<graphics::CXDatas> GetXDatas() const { return m_xdatas; }

private:
    tarn::P<graphics::CGraphicDocument> m_document;
    tarn::P<graphics::CXDatas> m_xdatas;
    std::wstring m_name;
    std::wstring m_title;
    std::wstring m_textId;
    bool m_main = false;
    EPageUsage m_usage = EPageUsage::Normal;
};

}  // namespace lum::data
