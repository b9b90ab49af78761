#pragma once
// Changes the translations of a product.xml as text, so that everything else in the file stays
// as its author wrote it, byte for byte: the layout, comments, attribute order and quotes.

#include <string>
#include <vector>

namespace lumtool {

class CDescriptionEditor {
public:
    // Raises CUsageError when the text has no root element or its tags cannot be followed.
    explicit CDescriptionEditor(std::string text);

    // One text's translation: text for its first translation (the one the player uses), or
    // empty to remove every translation of id.
    struct SChange {
        std::string id;
        std::string english;  // the default of a translation element that is added
        std::string text;
    };
    struct SApplied {
        std::size_t written = 0;  // ids whose translation changed or was added
        std::size_t removed = 0;  // ids whose translations were removed
    };
    // Applies every change for language in one pass over the file: a changed translation keeps
    // its place and quotes, a new one follows the last translation on a line of its own. When
    // an id comes twice, the later change counts.
    SApplied Apply(const std::string& language, const std::vector<SChange>& changes);

    // Gives the first translation of id for language the text, or adds one with the English
    // text as its default. True when the file changed.
    bool SetTranslation(const std::string& id, const std::string& language,
                        const std::string& english, const std::string& text);
    // Removes every translation of id for language; true when there was one.
    bool RemoveTranslation(const std::string& id, const std::string& language);

    // Non-ASCII characters are written as character references, for a file declared ASCII.
    void SetAsciiOnly(bool asciiOnly) { m_asciiOnly = asciiOnly; }

    const std::string& GetText() const { return m_text; }

    // Attribute value text: the XML escapes for a value in quote.
    static std::string EscapeAttribute(const std::string& value, char quote = '"',
                                       bool asciiOnly = false);

    struct SAttribute {
        std::string name;
        std::string value;           // entities resolved
        std::size_t valueBegin = 0;  // the raw value, without its quotes
        std::size_t valueEnd = 0;
        char quote = '"';
    };
    struct STag {
        std::size_t begin = 0;  // "<"
        std::size_t end = 0;    // after ">"
        std::size_t nameEnd = 0;
        std::string name;
        bool closing = false;
        bool selfClosing = false;
        int depth = 0;  // of the element the tag opens or closes
        std::vector<SAttribute> attributes;
        const SAttribute* Find(const std::string& attribute) const;
    };
    // Every element tag of text, in order. Raises CUsageError for text it cannot follow.
    static std::vector<STag> ScanTags(const std::string& text);

    // A replacement of the text's bytes [begin, end).
    struct SEdit {
        std::size_t begin = 0;
        std::size_t end = 0;
        std::string text;
    };

private:
    struct SLayout;
    SLayout Layout() const;
    // The new translations' text, placed after anchor (a translation's start tag) or, without
    // one, in or as the list of translations.
    SEdit Insertion(const SLayout& layout, int anchor, const std::vector<std::string>& added) const;

    std::string m_text;
    bool m_asciiOnly = false;
};

}  // namespace lumtool
