#pragma once
// Every text of a product that its translations can change, found the way the player asks for
// them: page titles (the page's "textid"), the texts of elements with a "text-id" (text and
// circular text runs, table cells, button labels), the descriptions of action buttons (their
// hints, asked for by the program's own keys, which a product translation may answer too), and
// translations the product carries that nothing of it asks for.

#include <string>
#include <vector>

#include "lum/data/Product.h"

namespace lumtool {

struct STextUse {
    std::wstring place;      // "page 'main', element 'title'", for a reader
    std::wstring reference;  // "main/title", for a PO reference comment
    std::wstring text;       // the English text at this place
};

struct STranslatable {
    enum class EKind { PageTitle, ElementText, Description, Unused };
    std::wstring id;        // the translation id (text id or program key)
    std::wstring english;   // the text English readers see (the en-us translation, if any)
    std::wstring authored;  // the text as the content holds it
    EKind kind = EKind::ElementText;
    std::vector<STextUse> uses;
};

// The texts in the order the pages show them, descriptions after them and unused translations
// last; one entry for each id. The product must be loaded but not yet translated. Conflicts
// (one id standing for different texts) go to warnings, one line each.
std::vector<STranslatable> CollectTranslatable(const lum::data::CProduct& product,
                                               std::vector<std::string>& warnings);

// The translation the player shows for id in language: the first with that id and language;
// empty when there is none (or it is empty).
std::wstring CurrentTranslation(const lum::data::CProduct& product, const std::wstring& id,
                                const std::wstring& language);

}  // namespace lumtool
