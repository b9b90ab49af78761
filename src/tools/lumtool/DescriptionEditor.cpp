#include "DescriptionEditor.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

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

// The length of the UTF-8 sequence at i (1 for a stray byte, which the caller checked away).
std::size_t Utf8Length(const std::string& text, std::size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
    return i + length <= text.size() ? length : 1;
}

std::uint32_t Utf8Code(const std::string& text, std::size_t i, std::size_t length) {
    static constexpr unsigned char kLead[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
    std::uint32_t code = static_cast<unsigned char>(text[i]) & kLead[length];
    for (std::size_t k = 1; k < length; ++k) {
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    }
    return code;
}

std::string Hex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xf]);
        value >>= 4;
    } while (value != 0);
    return digits;
}

}  // namespace

const CDescriptionEditor::SAttribute* CDescriptionEditor::STag::Find(
    const std::string& attribute) const {
    for (const SAttribute& item : attributes) {
        if (item.name == attribute) return &item;
    }
    return nullptr;
}

std::string CDescriptionEditor::EscapeAttribute(const std::string& value, char quote,
                                                bool asciiOnly) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (asciiOnly && static_cast<unsigned char>(c) >= 0x80) {
            const std::size_t length = Utf8Length(value, i);
            out += "&#x" + Hex(Utf8Code(value, i, length)) + ";";
            i += length - 1;
            continue;
        }
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
    std::vector<int> ends;   // for each start tag, the tag that ends its element
    int root = -1;           // the root's start tag
    int rootEnd = -1;        // its end tag
    int list = -1;           // the translations element's start tag
    int listEnd = -1;        // its end tag (none when it closes itself)
    std::vector<int> items;  // the translations' start tags
    int EndOf(int start) const { return ends[start]; }
};

CDescriptionEditor::SLayout CDescriptionEditor::Layout() const {
    SLayout layout;
    layout.tags = ScanTags(m_text);
    const auto& tags = layout.tags;
    // Matched in one pass: the tags are well nested, ScanTags saw to it.
    layout.ends.assign(tags.size(), -1);
    std::vector<int> open;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const int index = static_cast<int>(i);
        if (tags[i].closing) {
            if (!open.empty()) {
                layout.ends[open.back()] = index;
                open.pop_back();
            }
            layout.ends[i] = index;
        } else if (tags[i].selfClosing) {
            layout.ends[i] = index;
        } else {
            open.push_back(index);
        }
    }
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

namespace {

std::string Applied(const std::string& text, std::vector<CDescriptionEditor::SEdit> edits) {
    using SEdit = CDescriptionEditor::SEdit;
    // An insertion goes before a removal that starts where it does; edits never overlap.
    std::stable_sort(edits.begin(), edits.end(), [](const SEdit& a, const SEdit& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    for (const SEdit& edit : edits) {
        out.append(text, at, edit.begin - at);
        out += edit.text;
        at = edit.end;
    }
    out.append(text, at, std::string::npos);
    return out;
}

}  // namespace

CDescriptionEditor::SEdit CDescriptionEditor::Insertion(
    const SLayout& layout, int anchor, const std::vector<std::string>& added) const {
    const auto& tags = layout.tags;
    const auto joined = [&added](const std::string& before) {
        std::string text;
        for (const std::string& element : added) text += before + element;
        return text;
    };
    if (anchor >= 0) {
        // After the last translation, each on a line of its own as that one is.
        const std::size_t after = tags[layout.EndOf(anchor)].end;
        return {after, after, joined(SpaceBefore(m_text, tags[anchor].begin))};
    }
    if (layout.list >= 0) {
        const STag& list = tags[layout.list];
        const std::string indent = IndentOf(m_text, list.begin);
        // One level deeper than the list, in the list's own unit of indentation.
        const std::string unit = indent.empty() ? std::string("  ") : indent;
        if (list.selfClosing) {
            const std::string open = m_text.substr(list.begin, list.end - list.begin - 2);
            return {
                list.begin, list.end,
                open + ">" + joined("\n" + indent + unit) + "\n" + indent + "</" + list.name + ">"};
        }
        const STag& close = tags[layout.listEnd];
        const std::size_t start = close.begin - SpaceBefore(m_text, close.begin).size();
        return {start, close.begin, joined("\n" + indent + unit) + "\n" + indent};
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
    const std::size_t start = rootEnd.begin - SpaceBefore(m_text, rootEnd.begin).size();
    return {start, rootEnd.begin,
            "\n" + indent + "<translations>" + joined("\n" + indent + indent) + "\n" + indent +
                "</translations>\n"};
}

CDescriptionEditor::SApplied CDescriptionEditor::Apply(const std::string& language,
                                                       const std::vector<SChange>& changes) {
    std::unordered_map<std::string, std::size_t> wanted;  // id -> its last change
    for (std::size_t i = 0; i < changes.size(); ++i) wanted[changes[i].id] = i;
    const SLayout layout = Layout();
    const auto& tags = layout.tags;
    const auto escape = [this](const std::string& value, char quote = '"') {
        return EscapeAttribute(value, quote, m_asciiOnly);
    };

    SApplied applied;
    std::vector<SEdit> edits;
    std::unordered_set<std::string> present;  // ids that have a translation for language
    int anchor = -1;                          // the last translation that stays
    for (const int index : layout.items) {
        const STag& tag = tags[index];
        const SAttribute* idAttribute = tag.Find("id");
        const SAttribute* languageAttribute = tag.Find("language");
        const bool ours = idAttribute && languageAttribute && languageAttribute->value == language;
        const auto change = ours ? wanted.find(idAttribute->value) : wanted.end();
        if (change == wanted.end()) {
            anchor = index;
            continue;
        }
        const std::string& text = changes[change->second].text;
        const bool first = present.insert(change->first).second;
        if (text.empty()) {
            const std::size_t end = tags[layout.EndOf(index)].end;
            edits.push_back({tag.begin - SpaceBefore(m_text, tag.begin).size(), end, {}});
            if (first) ++applied.removed;
            continue;
        }
        anchor = index;
        if (!first) continue;  // the player reads only the first
        if (const SAttribute* translation = tag.Find("translation")) {
            if (translation->value == text) continue;
            edits.push_back(
                {translation->valueBegin, translation->valueEnd, escape(text, translation->quote)});
        } else {
            const std::size_t at =
                tag.attributes.empty() ? tag.nameEnd : tag.attributes.back().valueEnd + 1;
            edits.push_back({at, at, " translation=\"" + escape(text) + "\""});
        }
        ++applied.written;
    }

    std::vector<std::string> added;  // in the order the changes came
    for (std::size_t number = 0; number < changes.size(); ++number) {
        const SChange& change = changes[number];
        if (wanted[change.id] != number || change.text.empty() || present.count(change.id)) {
            continue;
        }
        added.push_back("<translation id=\"" + escape(change.id) + "\" language=\"" +
                        escape(language) + "\" default=\"" + escape(change.english) +
                        "\" translation=\"" + escape(change.text) + "\"/>");
    }
    applied.written += added.size();
    if (!added.empty()) edits.push_back(Insertion(layout, anchor, added));
    m_text = Applied(m_text, std::move(edits));
    return applied;
}

bool CDescriptionEditor::SetTranslation(const std::string& id, const std::string& language,
                                        const std::string& english, const std::string& text) {
    return Apply(language, {{id, english, text}}).written > 0;
}

bool CDescriptionEditor::RemoveTranslation(const std::string& id, const std::string& language) {
    return Apply(language, {{id, {}, {}}}).removed > 0;
}

}  // namespace lumtool
