#include "lum/data/Page.h"

#include <array>

#include "graphics/GraphicElementTextTranslator.h"
#include "graphics/XmlValues.h"
#include "graphics/animation/AnimationElement.h"
#include "lum/data/LoadError.h"

namespace lum::data {

namespace {

constexpr std::array<const wchar_t*, 3> kUsageTexts{L"normal", L"gadget-mainpage",
                                                    L"gadget-flyout"};

}  // namespace

CPage::CPage()
    : m_document(tarn::New<graphics::CGraphicDocument>()),
      m_xdatas(tarn::New<graphics::CXDatas>()) {}

EPageUsage CPage::UsageFromText(const std::wstring& text) {
    for (std::size_t i = 0; i < kUsageTexts.size(); ++i) {
        if (text == kUsageTexts[i]) return static_cast<EPageUsage>(i);
    }
    return EPageUsage::Normal;
}

std::wstring CPage::UsageToText(EPageUsage usage) {
    const auto index = static_cast<std::size_t>(usage);
    return index < kUsageTexts.size() ? kUsageTexts[index] : kUsageTexts[0];
}

void CPage::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore& store) {
    if (const wxXmlNode* document = graphics::xml::FindChild(node, "document")) {
        try {
            m_document->FromXml(*document, store);
        } catch (const tarn::CException& error) {
            // The document holds the elements read before the one that failed.
            throw CLoadError(CLoadError::WithValidValues(error.GetDescription()), {},
                             CLoadError::ElementPlace(*document, m_document->GetCount()));
        }
    }
    graphics::xml::ReadString(node, "name", m_name);
    graphics::xml::ReadBool(node, "main", m_main);
    graphics::xml::ReadString(node, "textid", m_textId);
    std::wstring usage;
    if (graphics::xml::ReadString(node, "usage", usage) && !usage.empty()) {
        m_usage = UsageFromText(usage);
    }
    if (const wxXmlNode* xdata = graphics::xml::FindChild(node, "xdata")) {
        auto xdatas = tarn::New<graphics::CXDatas>();
        xdatas->FromXml(*xdata, &store);
        m_xdatas = xdatas;
    }
}

void CPage::SetLocalizer(const tarn::P<tarn::IStringLocalizer>& localizer) {
    if (!localizer) return;
    graphics::CGraphicElementTextTranslator(localizer).TranslateAll(*m_document);
    if (!m_textId.empty()) m_title = localizer->Localize(m_textId, m_name);
}

void CPage::Activate() {
    for (std::size_t i = 0; i < m_document->GetCount(); ++i) {
        const auto element = m_document->GetAt(i);
        if (auto* animated = dynamic_cast<graphics::animation::IAnimationElement*>(element.Get())) {
            animated->StartAnimation();
        }
    }
}

void CPage::Deactivate() {
    for (std::size_t i = 0; i < m_document->GetCount(); ++i) {
        const auto element = m_document->GetAt(i);
        if (auto* animated = dynamic_cast<graphics::animation::IAnimationElement*>(element.Get())) {
            animated->StopAnimation();
        }
    }
}

}  // namespace lum::data
