#include "TranslationCheck.h"

#include <map>
#include <string>

#include "CheckPlace.h"
#include "ProductTranslations.h"
#include "graphics/GraphicElementTextReplacer.h"
#include "graphics/GraphicElementType.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

constexpr const wchar_t* kEnglish = L"en-us";
// A message names this many languages at most, and counts the others.
constexpr std::size_t kNamedLanguages = 8;

std::wstring Quoted(const std::wstring& text) { return L"'" + text + L"'"; }

std::wstring Capped(const std::vector<std::wstring>& languages) {
    if (languages.size() <= kNamedLanguages) return ListedNames(languages);
    return ListedNames({languages.begin(), languages.begin() + kNamedLanguages}, languages.size());
}

// The texts the translator would replace in the element, in the order it visits them: each
// run of a rich text (of every table cell), a button's label.
std::vector<std::wstring> TranslatedParts(graphics::CGraphicElement& element) {
    std::vector<std::wstring> parts;
    graphics::RewriteElementTexts(element, [&parts](const std::wstring& text) {
        parts.push_back(text);
        return text;
    });
    return parts;
}

bool IsRichText(const graphics::CGraphicElement& element) {
    const int type = element.GetType();
    return type == graphics::GRAPHIC_TEXT || type == graphics::GRAPHIC_TEXT_CIRCLE ||
           type == graphics::GRAPHIC_TABLE;
}

struct SIdUse {
    std::wstring place;  // the first
    std::size_t count = 0;
};

class CTranslationCheck {
public:
    explicit CTranslationCheck(const lum::data::CProduct& product)
        : m_product(product), m_translations(product) {}

    std::vector<SFinding> Run() {
        for (std::size_t i = 0; i < m_product.GetPageCount(); ++i) VisitPage(*m_product.GetPage(i));
        if (m_translations.GetLanguages().size() > 1) {
            for (const std::wstring& id : m_order) CheckLanguages(id, m_uses[id]);
        }
        return std::move(m_findings);
    }

private:
    void Use(const std::wstring& id, const std::wstring& place) {
        SIdUse& use = m_uses[id];
        if (use.count++ == 0) {
            use.place = place;
            m_order.push_back(id);
        }
    }

    void VisitPage(const lum::data::CPage& page) {
        if (!page.GetTextId().empty()) Use(page.GetTextId(), PagePlace(page) + L", its title");
        const auto document = page.GetDocument();
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            const std::wstring id = element->GetTextId();
            if (id.empty()) continue;
            const std::vector<std::wstring> parts = TranslatedParts(*element);
            if (parts.empty()) continue;  // nothing of it is translated (a label, an image)
            const std::wstring place = ElementPlace(page, *element, j);
            Use(id, place);
            if (parts.size() > 1 && IsRichText(*element)) CheckRuns(place, id, parts.size());
        }
    }

    void CheckRuns(const std::wstring& place, const std::wstring& id, std::size_t runs) {
        const std::vector<std::wstring> languages = m_translations.Translated(id);
        const std::wstring count = std::to_wstring(runs);
        const std::wstring translation =
            languages.empty() ? L"a translation of text id " + Quoted(id) + L" would take"
                              : L"the translation of text id " + Quoted(id) + L" (" +
                                    Capped(languages) + L") takes";
        Warn(place + L": its text has " + count +
             L" runs (parts in their own style or paragraph), and " + translation +
             L" the place of each, so it shows " + count +
             L" times and the styling of the parts is lost; write the text as one run, or give "
             L"each part its own element and text id");
    }

    void CheckLanguages(const std::wstring& id, const SIdUse& use) {
        const std::vector<std::wstring> present = m_translations.Translated(id);
        if (present.empty()) return;  // not translated at all: one text for everybody
        std::size_t count = 0;
        const std::vector<std::wstring> missing =
            m_translations.Untranslated(id, kNamedLanguages, count);
        if (count == 0) return;
        std::wstring others;
        if (use.count > 1) {
            others = L" (and " + std::to_wstring(use.count - 1) + L" more place" +
                     (use.count > 2 ? L"s" : L"") + L" use it)";
        }
        Warn(use.place + L": text id " + Quoted(id) + L" is translated into " + Capped(present) +
             L" but not into " + ListedNames(missing, count) + others + L"; " +
             (count == 1 ? L"that language shows " : L"those languages show ") +
             Fallback(id, missing) + L" instead: add the missing translations");
    }

    // What a language without a translation of id shows. An empty first translation in the
    // language itself gives the text as written; none at all, the en-us text when there is one.
    std::wstring Fallback(const std::wstring& id, const std::vector<std::wstring>& missing) const {
        const std::wstring* english = m_translations.Find(id, kEnglish);
        if (!english || english->empty()) return L"the text as written";
        bool blank = false;
        bool absent = false;
        for (const std::wstring& language : missing) {
            (m_translations.Find(id, language) ? blank : absent) = true;
        }
        if (blank && absent) return L"the en-us text or the text as written";
        return blank ? L"the text as written" : L"the en-us text";
    }

    void Warn(const std::wstring& text) {
        m_findings.push_back({ESeverity::Warning, tarn::ToUtf8(text)});
    }

    const lum::data::CProduct& m_product;
    const CProductTranslations m_translations;
    std::map<std::wstring, SIdUse> m_uses;
    std::vector<std::wstring> m_order;
    std::vector<SFinding> m_findings;
};

}  // namespace

std::vector<SFinding> CheckTranslations(const lum::data::CProduct& product) {
    return CTranslationCheck(product).Run();
}

}  // namespace lumtool
