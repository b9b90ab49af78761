#include "TranslatableTexts.h"

#include <algorithm>
#include <map>

#include "graphics/GraphicElementTextReplacer.h"
#include "lum/data/GraphicActionButton.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

using EKind = STranslatable::EKind;

constexpr const wchar_t* kEnglish = L"en-us";

std::wstring Quoted(const std::wstring& text) { return L"'" + text + L"'"; }

// A reference token: no blanks (PO tools split references at them).
std::wstring Token(const std::wstring& name) {
    std::wstring out;
    for (const wchar_t c : name) {
        if (c == L'%') {
            out += L"%25";
        } else if (c == L' ' || c == L'\t' || c == L'\n' || c == L'\r') {
            out += c == L' ' ? L"%20" : c == L'\t' ? L"%09" : c == L'\n' ? L"%0A" : L"%0D";
        } else {
            out += c;
        }
    }
    return out;
}

class CCollector {
public:
    CCollector(const lum::data::CProduct& product, std::vector<std::string>& warnings)
        : m_product(product), m_warnings(warnings) {}

    void Add(EKind kind, const std::wstring& id, const std::wstring& text, STextUse use) {
        use.text = text;
        const auto known = m_index.find(id);
        if (known == m_index.end()) {
            m_index[id] = m_list.size();
            STranslatable entry;
            entry.id = id;
            entry.kind = kind;
            entry.english = text;
            entry.uses.push_back(std::move(use));
            m_list.push_back(std::move(entry));
            return;
        }
        STranslatable& entry = m_list[known->second];
        if (entry.english != text) {
            m_warnings.push_back(
                tarn::ToUtf8(L"text id " + Quoted(id) + L" stands for " + Quoted(entry.english) +
                             L" (" + entry.uses.front().place + L") and for " + Quoted(text) +
                             L" (" + use.place + L"); the player shows one translation for both"));
        }
        entry.uses.push_back(std::move(use));
    }

    void CollectPages() {
        for (std::size_t i = 0; i < m_product.GetPageCount(); ++i) {
            const auto page = m_product.GetPage(i);
            const std::wstring name = page->GetName();
            const std::wstring pagePlace = L"page " + Quoted(name);
            if (!page->GetTextId().empty()) {
                Add(EKind::PageTitle, page->GetTextId(), name,
                    {pagePlace + L", its title", Token(name), {}});
            }
            const auto document = page->GetDocument();
            for (std::size_t j = 0; j < document->GetCount(); ++j) {
                CollectElement(*document->GetAt(j), name, pagePlace);
            }
        }
    }

    void CollectElement(graphics::CGraphicElement& element, const std::wstring& page,
                        const std::wstring& pagePlace) {
        const std::wstring id = element.GetTextId();
        if (id.empty()) return;
        // The texts the translator replaces, each run and label as the player visits them.
        std::vector<std::wstring> texts;
        graphics::RewriteElementTexts(element, [&texts](const std::wstring& text) {
            texts.push_back(text);
            return text;
        });
        if (texts.empty()) return;
        const std::wstring place = pagePlace + L", element " + Quoted(element.GetName());
        const STextUse use{place, Token(page) + L"/" + Token(element.GetName()), {}};
        std::vector<std::wstring> distinct;
        for (const std::wstring& text : texts) {
            if (std::find(distinct.begin(), distinct.end(), text) == distinct.end()) {
                distinct.push_back(text);
            }
        }
        if (distinct.size() > 1) {
            m_warnings.push_back(
                tarn::ToUtf8(place + L": text id " + Quoted(id) + L" covers " +
                             std::to_wstring(distinct.size()) + L" differently written parts (" +
                             Quoted(distinct[0]) + L", " + Quoted(distinct[1]) +
                             L"...); the player puts the one translation in place of each"));
        }
        Add(EKind::ElementText, id, distinct.front(), use);
    }

    void CollectDescriptions() {
        // The player asks the program's own localizer for a button's description (its
        // tooltip); when no language pack answers, the product's translations do.
        for (std::size_t i = 0; i < m_product.GetPageCount(); ++i) {
            const auto page = m_product.GetPage(i);
            const auto document = page->GetDocument();
            for (std::size_t j = 0; j < document->GetCount(); ++j) {
                const auto element = document->GetAt(j);
                const auto* button =
                    dynamic_cast<const lum::data::CGraphicActionButton*>(element.Get());
                if (!button) continue;
                const auto text = button->GetAction()->GetDescriptionText();
                if (text.key.empty()) continue;
                const std::wstring place = L"page " + Quoted(page->GetName()) +
                                           L", the description of button " +
                                           Quoted(element->GetName());
                Add(EKind::Description, text.key, text.text,
                    {place, Token(page->GetName()) + L"/" + Token(element->GetName()), {}});
            }
        }
    }

    void CollectUnused() {
        for (std::size_t i = 0; i < m_product.GetTranslationCount(); ++i) {
            const auto translation = m_product.GetTranslation(i);
            const std::wstring id = translation->GetId();
            if (id.empty() || m_index.count(id) != 0) continue;
            std::wstring english = translation->GetDefault();
            if (english.empty() && translation->GetLanguage() == kEnglish) {
                english = translation->GetTranslation();
            }
            Add(EKind::Unused, id, english,
                {L"a translation nothing of the menu asks for", {}, {}});
        }
    }

    std::vector<STranslatable> Finish() {
        // What English readers see: the en-us translation where the product has one.
        for (STranslatable& entry : m_list) {
            entry.authored = entry.english;
            const std::wstring english = CurrentTranslation(m_product, entry.id, kEnglish);
            if (!english.empty()) entry.english = english;
        }
        return std::move(m_list);
    }

private:
    const lum::data::CProduct& m_product;
    std::vector<std::string>& m_warnings;
    std::vector<STranslatable> m_list;
    std::map<std::wstring, std::size_t> m_index;
};

}  // namespace

std::wstring CurrentTranslation(const lum::data::CProduct& product, const std::wstring& id,
                                const std::wstring& language) {
    for (std::size_t i = 0; i < product.GetTranslationCount(); ++i) {
        const auto translation = product.GetTranslation(i);
        if (translation->GetId() == id && translation->GetLanguage() == language) {
            return translation->GetTranslation();
        }
    }
    return {};
}

std::vector<STranslatable> CollectTranslatable(const lum::data::CProduct& product,
                                               std::vector<std::string>& warnings) {
    CCollector collector(product, warnings);
    collector.CollectPages();
    collector.CollectDescriptions();
    collector.CollectUnused();
    return collector.Finish();
}

}  // namespace lumtool
