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

    // Gives the first translation of id for language (the one the player uses) the text; when
    // there is none, appends a translation element with the English text as its default. True
    // when the file changed.
    bool SetTranslation(const std::string& id, const std::string& language,
                        const std::string& english, const std::string& text);
    // Removes every translation of id for language; true when there was one.
    bool RemoveTranslation(const std::string& id, const std::string& language);

    const std::string& GetText() const { return m_text; }

    // Attribute value text: the XML escapes for a value in quote.
    static std::string EscapeAttribute(const std::string& value, char quote = '"');

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

private:
    struct SLayout;
    SLayout Layout() const;

    std::string m_text;
};

}  // namespace lumtool
