#include "graphics/GraphicElementTextReplacer.h"

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/GraphicTable.h"
#include "graphics/GraphicText.h"
#include "graphics/RichText.h"

namespace graphics {

namespace {

bool RewriteText(CGraphicText& text, const TextRewrite& rewrite) {
    wxRichTextBuffer* buffer = text.GetBuffer();
    if (!buffer || !RewriteRuns(*buffer, rewrite)) return false;
    buffer->Modify(true);
    text.SetName(SingleLineText(*buffer));
    return true;
}

bool RewriteTable(const CGraphicTable& table, const TextRewrite& rewrite) {
    bool changed = false;
    for (int row = 0; row < table.GetRowCount(); ++row) {
        for (int col = 0; col < table.GetColCount(); ++col) {
            const auto cell = table.GetCell(col, row);
            wxRichTextBuffer* buffer = cell ? cell->GetBuffer() : nullptr;
            if (!buffer || !RewriteRuns(*buffer, rewrite)) continue;
            buffer->Modify(true);
            changed = true;
        }
    }
    return changed;
}

bool RewriteLabel(CGraphicStateButton& button, const TextRewrite& rewrite) {
    if (button.GetLabel().empty()) return false;
    std::wstring label = rewrite(button.GetLabel());
    if (label == button.GetLabel()) return false;
    button.SetLabel(std::move(label));
    return true;
}

}  // namespace

bool RewriteElementTexts(CGraphicElement& element, const TextRewrite& rewrite) {
    switch (element.GetType()) {
        case GRAPHIC_TEXT:
        case GRAPHIC_TEXT_CIRCLE:
            if (auto* text = dynamic_cast<CGraphicText*>(&element)) {
                return RewriteText(*text, rewrite);
            }
            return false;
        case GRAPHIC_TABLE:
            if (auto* table = dynamic_cast<CGraphicTable*>(&element)) {
                return RewriteTable(*table, rewrite);
            }
            return false;
        case GRAPHIC_STATE_BUTTON:
            if (auto* button = dynamic_cast<CGraphicStateButton*>(&element)) {
                return RewriteLabel(*button, rewrite);
            }
            return false;
        default:
            return false;
    }
}

void CGraphicElementTextReplacer::AddReplacement(std::wstring key, std::wstring value) {
    m_keys.push_back(std::move(key));
    m_values.push_back(std::move(value));
}

std::wstring CGraphicElementTextReplacer::ReplaceText(const std::wstring& text) const {
    std::wstring result = text;
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const std::wstring& key = m_keys[i];
        if (key == L"*") {
            result = m_values[i];
            continue;
        }
        if (key.empty()) continue;  // an empty key would match everywhere, for ever
        std::size_t at = 0;
        while ((at = result.find(key, at)) != std::wstring::npos) {
            result.replace(at, key.size(), m_values[i]);
            at += m_values[i].size();
        }
    }
    return result;
}

bool CGraphicElementTextReplacer::Apply(CGraphicElement& element) const {
    return RewriteElementTexts(element,
                               [this](const std::wstring& text) { return ReplaceText(text); });
}

}  // namespace graphics
