#include "TextFitCheck.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "CheckPlace.h"
#include "ProductTranslations.h"
#include "graphics/EffectDC.h"
#include "graphics/GraphicElementTextReplacer.h"
#include "graphics/GraphicElementTextTranslator.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicLabel.h"
#include "graphics/GraphicTable.h"
#include "graphics/GraphicText.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/skin/GraphicSkinButton.h"
#include "graphics/skin/TextLayer.h"
#include "lum/MenuView.h"
#include "lum/ProductStringLocalizer.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

// Less than half a pixel past an edge does not show.
constexpr double kPixelSlack = 0.5;

std::wstring Pixels(double value) { return std::to_wstring(std::lround(std::ceil(value - 1e-6))); }

std::wstring Box(double width, double height) { return Pixels(width) + L"\u00d7" + Pixels(height); }

// Texts the player writes into the page itself, whatever they hold in the file.
bool FilledInByPlayer(const graphics::CGraphicElement& element) {
    return tarn::EqualsNoCase(element.GetName(), L"$breadcrumb") ||
           element.GetTags().count(L"hint") != 0;
}

bool IsMeasured(const graphics::CGraphicElement& element) {
    if (!element.IsVisible() || FilledInByPlayer(element)) return false;
    if (element.GetType() == graphics::GRAPHIC_TEXT) {
        return dynamic_cast<const graphics::CGraphicText*>(&element) != nullptr;
    }
    if (element.GetType() == graphics::GRAPHIC_LABEL) return true;
    if (element.GetType() == graphics::GRAPHIC_TABLE) {
        return dynamic_cast<const graphics::CGraphicTable*>(&element) != nullptr;
    }
    const auto* button = dynamic_cast<const graphics::skin::CGraphicSkinButton*>(&element);
    return button && button->GetSkin();
}

// What a player shows of the element, as one string: its runs or its label.
std::wstring Wording(graphics::CGraphicElement& element) {
    if (const auto* label = dynamic_cast<const graphics::CGraphicLabel*>(&element)) {
        return label->GetText();
    }
    std::wstring wording;
    graphics::RewriteElementTexts(element, [&wording](const std::wstring& text) {
        wording += text + L'\n';
        return text;
    });
    return wording;
}

// A rich text laid out as the player paints it: what falls outside the area it was laid
// out in.
std::wstring RichTextProblem(graphics::CGraphicText& text, graphics::CPaintMatrixDC& dc) {
    text.Paint(dc);
    const wxRichTextBuffer* buffer = text.GetBuffer();
    if (!buffer || text.GetLayoutCount() == 0) return {};  // nothing painted, nothing cut
    const wxSize area = text.GetLayoutSize();
    int lines = 0;
    int below = 0;
    int bottom = 0;
    int widest = 0;
    for (const wxRichTextObject* child : buffer->GetChildren()) {
        const auto* paragraph = dynamic_cast<const wxRichTextParagraph*>(child);
        if (!paragraph) continue;
        for (const wxRichTextLine* line : paragraph->GetLines()) {
            const wxRect rect = line->GetRect();
            ++lines;
            bottom = std::max(bottom, rect.y + rect.height);
            widest = std::max(widest, rect.x + rect.width);
            if (rect.y + rect.height > area.y + kPixelSlack) ++below;
        }
    }
    std::wstring problem;
    if (below > 0) {
        problem = (lines == 1 ? L"its line falls"
                              : std::to_wstring(below) + L" of its " + std::to_wstring(lines) +
                                    (below == 1 ? L" lines falls" : L" lines fall")) +
                  L" below the bottom of its box (the text needs " + Pixels(bottom) +
                  L" pixels, the box is " + Pixels(area.y) + L" high)";
    }
    if (widest > area.x + kPixelSlack) {
        problem += std::wstring(problem.empty() ? L"" : L", and ") + L"a line of it reaches " +
                   Pixels(widest) + L" pixels across, past the side of its " + Pixels(area.x) +
                   L"-pixel box (an indent or a word wider than the box)";
    }
    if (problem.empty()) return problem;
    const bool wide = widest > area.x + kPixelSlack;
    const wchar_t* larger = below == 0 ? L"wider" : wide ? L"larger" : L"taller";
    return problem + L"; the text is cut off there: make the box " + larger +
           L" or the text shorter";
}

std::wstring LabelProblem(graphics::CGraphicLabel& label, graphics::CPaintMatrixDC& dc) {
    if (label.GetText().empty() || !label.GetFont().IsOk()) return {};
    const wxRect box = label.DeviceBox(dc);
    wxDC& target = dc.GetDC();
    if (label.FitFont(target, box.GetSize())) return {};
    const wxSize extent = target.GetMultiLineTextExtent(wxString(label.GetText()));
    return L"its text needs " + Box(extent.x, extent.y) + L" pixels even at the smallest font (" +
           std::to_wstring(label.GetFont().GetPointSize()) + L" points), more than its " +
           Box(box.width, box.height) +
           L" box, and is drawn over what lies beside it: make the box larger or the text "
           L"shorter";
}

// A table's rows grow to hold their texts; the table is not cut at its box.
std::wstring TableProblem(graphics::CGraphicTable& table, graphics::CPaintMatrixDC& dc) {
    table.Paint(dc);
    const double box = table.GetSize().height;
    if (!std::isfinite(box) || table.GetLayoutHeight() <= box + kPixelSlack) return {};
    return L"its rows (grown to hold their texts) reach " + Pixels(table.GetLayoutHeight()) +
           L" pixels down, past the bottom of its " + Pixels(box) +
           L"-pixel box, and are drawn over what lies below: make the box taller, the columns "
           L"wider or the texts shorter";
}

std::wstring ButtonProblem(graphics::skin::CGraphicSkinButton& button,
                           graphics::CPaintMatrixDC& dc) {
    if (button.GetLabel().empty()) return {};
    graphics::TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return {};
    const graphics::CDRect target =
        graphics::CDRect::FromCenter(button.GetCenter(), button.GetSize());
    for (const wchar_t* look : {L"normal", L"hover", L"down"}) {
        const auto state = button.GetSkin()->FindState(look);
        if (!state) continue;
        for (const auto& layer : state->GetLayers()) {
            const auto* text = dynamic_cast<const graphics::skin::CTextLayer*>(layer.Get());
            if (!text) continue;
            const graphics::CDRect content = text->ContentRect(target);
            const graphics::skin::STextBlock block =
                text->LayOut(*context, content, button.GetLabel());
            if (block.size.width <= content.width + kPixelSlack &&
                block.size.height <= content.height + kPixelSlack) {
                continue;
            }
            return L"its label '" + button.GetLabel() + L"' needs " +
                   Box(block.size.width, block.size.height) +
                   L" pixels, but the text layer of its '" + look + L"' look leaves it " +
                   Box(std::max(0.0, content.width), std::max(0.0, content.height)) +
                   L", so the label is cut off: make the button larger, the label shorter or the "
                   L"skin's font smaller";
        }
    }
    return {};
}

std::wstring Problem(graphics::CGraphicElement& element, graphics::CPaintMatrixDC& dc) {
    if (auto* text = dynamic_cast<graphics::CGraphicText*>(&element)) {
        return RichTextProblem(*text, dc);
    }
    if (auto* label = dynamic_cast<graphics::CGraphicLabel*>(&element)) {
        return LabelProblem(*label, dc);
    }
    if (auto* table = dynamic_cast<graphics::CGraphicTable*>(&element)) {
        return TableProblem(*table, dc);
    }
    if (auto* button = dynamic_cast<graphics::skin::CGraphicSkinButton*>(&element)) {
        return ButtonProblem(*button, dc);
    }
    return {};
}

constexpr const wchar_t* kEnglish = L"en-us";
// A text is measured in this many wordings at most (as written first, then in the order of the
// languages), and a message names this many languages: enough for any real menu, and a bound
// for a damaged one with thousands of languages.
constexpr std::size_t kWordings = 16;
constexpr std::size_t kNamedLanguages = 8;

// The readers of one wording of a text id's texts: the languages that show it, and whether it
// is the text as written.
struct SReaders {
    bool written = false;
    std::vector<std::wstring> languages;  // named, kNamedLanguages at most
    std::size_t count = 0;                // in all
    std::wstring shownIn;                 // one of them, to translate into; empty: as written

    void Add(const std::wstring& language) {
        if (shownIn.empty() && !written) shownIn = language;
        if (languages.size() < kNamedLanguages) languages.push_back(language);
        ++count;
    }
    // Another group's readers, who see the same wording.
    void Join(const SReaders& other) {
        written = written || other.written;
        for (const std::wstring& language : other.languages) {
            if (languages.size() < kNamedLanguages) languages.push_back(language);
        }
        count += other.count;
    }
};

// What each language shows of an element with id, grouped by the translation it shows, as the
// player picks it: the first translation for the language; without one, the first en-us one;
// an empty pick shows the text as written. The written group comes first.
std::vector<SReaders> ReadersOf(const CProductTranslations& translations, const std::wstring& id) {
    std::vector<SReaders> groups(1);
    groups[0].written = true;
    std::map<std::wstring, std::size_t> byText;
    const auto groupOf = [&](const std::wstring* text) -> SReaders& {
        if (!text || text->empty()) return groups[0];
        const auto [at, added] = byText.emplace(*text, groups.size());
        if (added) groups.emplace_back();
        return groups[at->second];
    };
    const auto& firsts = translations.GetFirsts(id);
    for (const auto& [language, text] : firsts) groupOf(&text).Add(language);
    // The languages without a translation of their own all show the en-us one (or the text as
    // written): each step of the loop names one or passes a language that has its own.
    std::set<std::wstring> own;
    for (const auto& first : firsts) own.insert(first.first);
    SReaders& fallback = groupOf(translations.Find(id, kEnglish));
    const std::size_t before = fallback.count;
    std::size_t named = 0;
    for (const std::wstring& language : translations.GetLanguages()) {
        if (named == kNamedLanguages) break;
        if (own.count(language) != 0) continue;
        fallback.Add(language);
        ++named;
    }
    fallback.count = before + (translations.GetLanguages().size() - own.size());
    std::erase_if(groups, [](const SReaders& group) { return !group.written && group.count == 0; });
    if (groups.size() > kWordings) groups.resize(kWordings);
    return groups;
}

// "in de-de, ", "as written and in en-us, ", "in de-de, fr-fr and 3 more, "
std::wstring Who(const SReaders& readers, bool several) {
    if (readers.count == 0) return several ? L"as written, " : L"";
    return (readers.written ? L"as written and in " : L"in ") +
           ListedNames(readers.languages, readers.count) + L", ";
}

class CTextFit {
public:
    explicit CTextFit(const tarn::P<lum::data::CProduct>& product)
        : m_product(product), m_translations(*product), m_bitmap(16, 16), m_memory(m_bitmap) {}
    ~CTextFit() { m_memory.SelectObject(wxNullBitmap); }
    CTextFit(const CTextFit&) = delete;
    CTextFit& operator=(const CTextFit&) = delete;

    std::vector<SFinding> Run() {
        const wxSize client = lum::MenuClientSize(*m_product);
        for (std::size_t i = 0; i < m_product->GetPageCount(); ++i) {
            const auto page = m_product->GetPage(i);
            const auto document = page->GetDocument();
            // As the player paints the page: in window pixels from the content box's corner.
            const graphics::CDRect box = document->GetContentBox();
            wxAffineMatrix2D matrix;
            matrix.Translate(-box.x, -box.y);
            graphics::CPaintMatrixDC dc(m_memory, matrix);
            dc.SetPaintMode(graphics::CPaintMatrixDC::kModeInteractive);
            dc.SetUnitMode(graphics::CPaintMatrixDC::kUnitZoom);
            dc.SetZoom(1);
            dc.SetZoomMode(graphics::EZoomMode::Fixed);
            dc.SetClientRect(wxRect(client));
            dc.SetViewMatrix(matrix);
            for (std::size_t j = 0; j < document->GetCount(); ++j) {
                const auto element = document->GetAt(j);
                if (IsMeasured(*element)) CheckElement(*page, *element, j, dc);
            }
        }
        return std::move(m_findings);
    }

private:
    const std::vector<SReaders>& Readers(const std::wstring& id) {
        auto known = m_readers.find(id);
        if (known == m_readers.end()) {
            known = m_readers.emplace(id, ReadersOf(m_translations, id)).first;
        }
        return known->second;
    }

    // A copy of the element showing what the readers see.
    tarn::P<graphics::CGraphicElement> Shown(const graphics::CGraphicElement& element,
                                             const SReaders& readers) const {
        const auto copy = element.Clone();
        if (!readers.shownIn.empty()) {
            // Translated as the player does when it starts in that language.
            graphics::CGraphicElementTextTranslator(
                tarn::New<lum::CProductStringLocalizer>(m_product, readers.shownIn))
                .Translate(*copy);
        }
        return copy;
    }

    void CheckElement(const lum::data::CPage& page, const graphics::CGraphicElement& element,
                      std::size_t index, graphics::CPaintMatrixDC& dc) {
        static const std::vector<SReaders> kEverybody{SReaders{true, {}, 0, {}}};
        const std::vector<SReaders>& groups =
            element.GetTextId().empty() ? kEverybody : Readers(element.GetTextId());
        // Different translations may still read alike (one may be the text as written).
        struct SShown {
            SReaders readers;
            std::wstring wording;
            tarn::P<graphics::CGraphicElement> copy;
        };
        std::vector<SShown> shown;
        for (const SReaders& readers : groups) {
            const auto copy = Shown(element, readers);
            const std::wstring wording = Wording(*copy);
            const auto same = std::find_if(shown.begin(), shown.end(),
                                           [&](const SShown& s) { return s.wording == wording; });
            if (same != shown.end()) {
                same->readers.Join(readers);
            } else {
                shown.push_back({readers, wording, copy});
            }
        }
        for (const SShown& one : shown) {
            const std::wstring problem = Problem(*one.copy, dc);
            if (problem.empty()) continue;
            m_findings.push_back(
                {ESeverity::Warning, tarn::ToUtf8(ElementPlace(page, element, index) + L": " +
                                                  Who(one.readers, shown.size() > 1) + problem)});
        }
    }

    tarn::P<lum::data::CProduct> m_product;
    const CProductTranslations m_translations;
    std::map<std::wstring, std::vector<SReaders>> m_readers;  // by text id
    wxBitmap m_bitmap;  // texts are measured on it, not shown: its size does not matter
    wxMemoryDC m_memory;
    std::vector<SFinding> m_findings;
};

}  // namespace

std::vector<SFinding> CheckTextFit(const tarn::P<lum::data::CProduct>& product) {
    return CTextFit(product).Run();
}

}  // namespace lumtool
