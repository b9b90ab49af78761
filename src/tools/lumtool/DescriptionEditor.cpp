#include "DescriptionEditor.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "Command.h"

namespace lumtool {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw CUsageError("product.xml cannot be edited: " + what);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsNameChar(char c) { return !IsSpace(c) && c != '>' && c != '/' && c != '=' && c != '<'; }

bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y))
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// An attribute value with its entities resolved and white space normalised as XML does.
std::string Decode(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\t' || c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
            out += ' ';
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t semicolon = raw.find(';', i);
        if (semicolon == std::string::npos) {
            out += c;
            continue;
        }
        const std::string entity = raw.substr(i + 1, semicolon - i - 1);
        std::optional<std::uint32_t> code;
        if (entity == "lt")
            code = '<';
        else if (entity == "gt")
            code = '>';
        else if (entity == "amp")
            code = '&';
        else if (entity == "quot")
            code = '"';
        else if (entity == "apos")
            code = '\'';
        else if (entity.size() > 1 && entity[0] == '#') {
            try {
                code = entity[1] == 'x' || entity[1] == 'X'
                           ? static_cast<std::uint32_t>(std::stoul(entity.substr(2), nullptr, 16))
                           : static_cast<std::uint32_t>(std::stoul(entity.substr(1), nullptr, 10));
            } catch (const std::exception&) {
                code.reset();
            }
        }
        if (!code) {
            out += c;
            continue;
        }
        AppendUtf8(out, *code);
        i = semicolon;
    }
    return out;
}

}  // namespace

const CDescriptionEditor::SAttribute* CDescriptionEditor::STag::Find(
    const std::string& attribute) const {
    for (const SAttribute& item : attributes) {
        if (item.name == attribute) return &item;
    }
    return nullptr;
}

std::string CDescriptionEditor::EscapeAttribute(const std::string& value, char quote) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '"':
                out += quote == '"' ? "&quot;" : "\"";
                break;
            case '\'':
                out += quote == '\'' ? "&apos;" : "'";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<CDescriptionEditor::STag> CDescriptionEditor::ScanTags(const std::string& text) {
    std::vector<STag> tags;
    std::vector<std::string> open;
    std::size_t i = 0;
    const auto skipPast = [&](const char* end) {
        const std::size_t found = text.find(end, i);
        if (found == std::string::npos) Fail(std::string("an unclosed '") + end + "' construct");
        i = found + std::char_traits<char>::length(end);
    };
    while ((i = text.find('<', i)) != std::string::npos) {
        if (text.compare(i, 4, "<!--") == 0) {
            skipPast("-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            skipPast("]]>");
        } else if (text.compare(i, 2, "<?") == 0) {
            skipPast("?>");
        } else if (text.compare(i, 2, "<!") == 0) {
            // A document type declaration, perhaps with an internal subset in brackets.
            int brackets = 0;
            std::size_t k = i + 2;
            for (; k < text.size(); ++k) {
                if (text[k] == '[') ++brackets;
                if (text[k] == ']') --brackets;
                if (text[k] == '>' && brackets <= 0) break;
            }
            if (k >= text.size()) Fail("an unclosed declaration");
            i = k + 1;
        } else {
            STag tag;
            tag.begin = i;
            std::size_t k = i + 1;
            if (k < text.size() && text[k] == '/') {
                tag.closing = true;
                ++k;
            }
            const std::size_t nameBegin = k;
            while (k < text.size() && IsNameChar(text[k])) ++k;
            tag.name = text.substr(nameBegin, k - nameBegin);
            tag.nameEnd = k;
            if (tag.name.empty()) Fail("a tag without a name at byte " + std::to_string(i));
            while (true) {
                while (k < text.size() && IsSpace(text[k])) ++k;
                if (k >= text.size()) Fail("an unclosed tag <" + tag.name);
                if (text[k] == '>') {
                    ++k;
                    break;
                }
                if (text[k] == '/' && k + 1 < text.size() && text[k + 1] == '>') {
                    tag.selfClosing = true;
                    k += 2;
                    break;
                }
                SAttribute attribute;
                const std::size_t attributeBegin = k;
                while (k < text.size() && IsNameChar(text[k])) ++k;
                attribute.name = text.substr(attributeBegin, k - attributeBegin);
                while (k < text.size() && IsSpace(text[k])) ++k;
                if (attribute.name.empty() || k >= text.size() || text[k] != '=') {
                    Fail("a malformed attribute in <" + tag.name);
                }
                ++k;
                while (k < text.size() && IsSpace(text[k])) ++k;
                if (k >= text.size() || (text[k] != '"' && text[k] != '\'')) {
                    Fail("an unquoted attribute in <" + tag.name);
                }
                attribute.quote = text[k];
                attribute.valueBegin = ++k;
                const std::size_t close = text.find(attribute.quote, k);
                if (close == std::string::npos) Fail("an unclosed attribute in <" + tag.name);
                attribute.valueEnd = close;
                attribute.value = Decode(text.substr(k, close - k));
                k = close + 1;
                tag.attributes.push_back(std::move(attribute));
            }
            tag.end = k;
            if (tag.closing) {
                if (open.empty() || open.back() != tag.name) {
                    Fail("</" + tag.name + "> closes no open element");
                }
                open.pop_back();
                tag.depth = static_cast<int>(open.size());
            } else {
                tag.depth = static_cast<int>(open.size());
                if (!tag.selfClosing) open.push_back(tag.name);
            }
            tags.push_back(std::move(tag));
            i = k;
        }
    }
    if (!open.empty()) Fail("<" + open.back() + "> is never closed");
    return tags;
}

struct CDescriptionEditor::SLayout {
    std::vector<STag> tags;
    int root = -1;           // the root's start tag
    int rootEnd = -1;        // its end tag
    int list = -1;           // the translations element's start tag
    int listEnd = -1;        // its end tag (none when it closes itself)
    std::vector<int> items;  // the translations' start tags
    // The tag index that ends the element a start tag opens.
    int EndOf(int start) const {
        if (tags[start].selfClosing) return start;
        for (std::size_t i = start + 1; i < tags.size(); ++i) {
            if (tags[i].closing && tags[i].depth == tags[start].depth) return static_cast<int>(i);
        }
        return start;
    }
};

CDescriptionEditor::SLayout CDescriptionEditor::Layout() const {
    SLayout layout;
    layout.tags = ScanTags(m_text);
    const auto& tags = layout.tags;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (!tags[i].closing && tags[i].depth == 0) {
            layout.root = static_cast<int>(i);
            break;
        }
    }
    if (layout.root < 0) Fail("it has no root element");
    layout.rootEnd = layout.EndOf(layout.root);
    if (layout.rootEnd == layout.root) Fail("the root element holds nothing");
    // The player reads the first child named translations, in any letter case.
    for (int i = layout.root + 1; i < layout.rootEnd; ++i) {
        if (!tags[i].closing && tags[i].depth == 1 && SameNoCase(tags[i].name, "translations")) {
            layout.list = i;
            break;
        }
    }
    if (layout.list < 0) return layout;
    layout.listEnd = tags[layout.list].selfClosing ? -1 : layout.EndOf(layout.list);
    for (int i = layout.list + 1; layout.listEnd >= 0 && i < layout.listEnd; ++i) {
        if (!tags[i].closing && tags[i].depth == 2) layout.items.push_back(i);
    }
    return layout;
}

CDescriptionEditor::CDescriptionEditor(std::string text) : m_text(std::move(text)) { Layout(); }

namespace {

// The white space just before position, back to the previous non-blank character.
std::string SpaceBefore(const std::string& text, std::size_t position) {
    std::size_t start = position;
    while (start > 0 && IsSpace(text[start - 1])) --start;
    return text.substr(start, position - start);
}

// The indentation of the line position is on (the blanks after the last line feed).
std::string IndentOf(const std::string& text, std::size_t position) {
    const std::string space = SpaceBefore(text, position);
    const std::size_t feed = space.rfind('\n');
    return feed == std::string::npos ? std::string() : space.substr(feed + 1);
}

}  // namespace

bool CDescriptionEditor::SetTranslation(const std::string& id, const std::string& language,
                                        const std::string& english, const std::string& text) {
    const SLayout layout = Layout();
    for (const int index : layout.items) {
        const STag& tag = layout.tags[index];
        const SAttribute* idAttribute = tag.Find("id");
        const SAttribute* languageAttribute = tag.Find("language");
        if (!idAttribute || !languageAttribute || idAttribute->value != id ||
            languageAttribute->value != language) {
            continue;
        }
        if (const SAttribute* translation = tag.Find("translation")) {
            if (translation->value == text) return false;
            m_text.replace(translation->valueBegin, translation->valueEnd - translation->valueBegin,
                           EscapeAttribute(text, translation->quote));
        } else {
            const std::size_t at =
                tag.attributes.empty() ? tag.nameEnd : tag.attributes.back().valueEnd + 1;
            m_text.insert(at, " translation=\"" + EscapeAttribute(text) + "\"");
        }
        return true;
    }

    const std::string element = "<translation id=\"" + EscapeAttribute(id) + "\" language=\"" +
                                EscapeAttribute(language) + "\" default=\"" +
                                EscapeAttribute(english) + "\" translation=\"" +
                                EscapeAttribute(text) + "\"/>";
    const auto& tags = layout.tags;
    if (!layout.items.empty()) {
        // After the last translation, on a line of its own as that one is.
        const STag& last = tags[layout.items.back()];
        const std::size_t after = tags[layout.EndOf(layout.items.back())].end;
        m_text.insert(after, SpaceBefore(m_text, last.begin) + element);
        return true;
    }
    if (layout.list >= 0) {
        const STag& list = tags[layout.list];
        const std::string indent = IndentOf(m_text, list.begin);
        // One level deeper than the list, in the list's own unit of indentation.
        const std::string unit = indent.empty() ? std::string("  ") : indent;
        if (list.selfClosing) {
            const std::string open = m_text.substr(list.begin, list.end - list.begin - 2);
            m_text.replace(
                list.begin, list.end - list.begin,
                open + ">\n" + indent + unit + element + "\n" + indent + "</" + list.name + ">");
        } else {
            const STag& close = tags[layout.listEnd];
            const std::string before = SpaceBefore(m_text, close.begin);
            const std::size_t start = close.begin - before.size();
            m_text.replace(start, before.size(), "\n" + indent + unit + element + "\n" + indent);
        }
        return true;
    }
    // No translations yet: a list of them as the root's last child.
    const STag& rootEnd = tags[layout.rootEnd];
    std::string indent = "  ";
    for (int i = layout.root + 1; i < layout.rootEnd; ++i) {
        if (!tags[i].closing && tags[i].depth == 1) {
            indent = IndentOf(m_text, tags[i].begin);
            break;
        }
    }
    const std::string before = SpaceBefore(m_text, rootEnd.begin);
    const std::size_t start = rootEnd.begin - before.size();
    m_text.replace(start, before.size(),
                   "\n" + indent + "<translations>\n" + indent + indent + element + "\n" + indent +
                       "</translations>\n");
    return true;
}

bool CDescriptionEditor::RemoveTranslation(const std::string& id, const std::string& language) {
    bool removed = false;
    while (true) {
        const SLayout layout = Layout();
        bool found = false;
        for (const int index : layout.items) {
            const STag& tag = layout.tags[index];
            const SAttribute* idAttribute = tag.Find("id");
            const SAttribute* languageAttribute = tag.Find("language");
            if (!idAttribute || !languageAttribute || idAttribute->value != id ||
                languageAttribute->value != language) {
                continue;
            }
            const std::size_t end = layout.tags[layout.EndOf(index)].end;
            const std::size_t start = tag.begin - SpaceBefore(m_text, tag.begin).size();
            m_text.erase(start, end - start);
            found = removed = true;
            break;
        }
        if (!found) return removed;
    }
}

}  // namespace lumtool
