#include "PoFile.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "Command.h"

namespace lumtool {

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\v':
                out += "\\v";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    const char octal[] = {'\\', static_cast<char>('0' + ((c >> 6) & 7)),
                                          static_cast<char>('0' + ((c >> 3) & 7)),
                                          static_cast<char>('0' + (c & 7)), 0};
                    out += octal;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

[[noreturn]] void Bad(int line, const std::string& what) {
    throw CUsageError("line " + std::to_string(line) + " of the PO file: " + what);
}

// The content of a quoted string starting at pos (the opening quote), escapes resolved.
std::string Unquote(const std::string& text, std::size_t pos, int line) {
    if (pos >= text.size() || text[pos] != '"') Bad(line, "a quoted string was expected");
    std::string out;
    std::size_t i = pos + 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) Bad(line, "the string ends in a backslash");
        const char c = text[i];
        switch (c) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case '\'':
                out += '\'';
                break;
            case '?':
                out += '?';
                break;
            case 'x': {
                int value = 0;
                std::size_t digits = 0;
                while (i + 1 < text.size() &&
                       std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
                    const char d =
                        static_cast<char>(std::tolower(static_cast<unsigned char>(text[++i])));
                    value = value * 16 + (d <= '9' ? d - '0' : d - 'a' + 10);
                    ++digits;
                }
                if (digits == 0) Bad(line, "\\x without hex digits");
                out += static_cast<char>(value & 0xff);
                break;
            }
            default:
                if (c >= '0' && c <= '7') {
                    int value = c - '0';
                    for (int k = 0;
                         k < 2 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7';
                         ++k) {
                        value = value * 8 + (text[++i] - '0');
                    }
                    out += static_cast<char>(value & 0xff);
                } else {
                    Bad(line, std::string("unknown escape \\") + c);
                }
        }
    }
    if (i >= text.size()) Bad(line, "the string is not closed");
    for (std::size_t k = i + 1; k < text.size(); ++k) {
        if (text[k] != ' ' && text[k] != '\t' && text[k] != '\r')
            Bad(line, "text after the string");
    }
    return out;
}

std::string Trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

}  // namespace

bool SPoEntry::IsFuzzy() const {
    return std::find(flags.begin(), flags.end(), "fuzzy") != flags.end();
}

std::string PoQuoted(const std::string& keyword, const std::string& text) {
    const std::size_t feed = text.find('\n');
    if (feed == std::string::npos || feed + 1 == text.size()) {
        return keyword + " \"" + Escape(text) + "\"\n";
    }
    std::string out = keyword + " \"\"\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        out += "\"" + Escape(text.substr(start, end - start)) + "\"\n";
        start = end;
    }
    return out;
}

std::string WritePo(const std::vector<SPoEntry>& entries) {
    std::string out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SPoEntry& entry = entries[i];
        if (i > 0) out += "\n";
        for (const std::string& comment : entry.translatorComments) {
            out += comment.empty() ? "#\n" : "# " + comment + "\n";
        }
        for (const std::string& comment : entry.extractedComments) out += "#. " + comment + "\n";
        // References share lines, as gettext's tools write them, up to 79 characters each.
        std::string line;
        for (const std::string& reference : entry.references) {
            if (!line.empty() && line.size() + 1 + reference.size() > 79) {
                out += line + "\n";
                line.clear();
            }
            line += (line.empty() ? "#: " : " ") + reference;
        }
        if (!line.empty()) out += line + "\n";
        if (!entry.flags.empty()) {
            out += "#";
            for (const std::string& flag : entry.flags) out += ", " + flag;
            out += "\n";
        }
        if (entry.hasContext) out += PoQuoted("msgctxt", entry.context);
        out += PoQuoted("msgid", entry.id);
        if (entry.hasPlural) {
            out += PoQuoted("msgid_plural", entry.plural);
            for (std::size_t k = 0; k < entry.strings.size(); ++k) {
                out += PoQuoted("msgstr[" + std::to_string(k) + "]", entry.strings[k]);
            }
        } else {
            out += PoQuoted("msgstr", entry.Translation());
        }
    }
    return out;
}

std::vector<SPoEntry> ParsePo(const std::string& text) {
    std::vector<SPoEntry> entries;
    SPoEntry entry;
    bool started = false;           // entry has a keyword
    bool comments = false;          // entry has comments
    std::string* target = nullptr;  // where continuation strings go
    enum class ELast { None, Context, Id, Plural, String } last = ELast::None;

    const auto finish = [&]() {
        if (started) {
            entries.push_back(entry);
        }
        entry = SPoEntry();
        started = false;
        comments = false;
        target = nullptr;
        last = ELast::None;
    };

    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (number == 1 && raw.compare(0, 3, "\xef\xbb\xbf") == 0) raw.erase(0, 3);  // a BOM
        std::string line = Trimmed(raw);
        if (line.empty()) {
            if (started) finish();
            continue;
        }
        bool obsolete = false;
        if (line.compare(0, 2, "#~") == 0) {
            obsolete = true;
            line = Trimmed(line.substr(2));
            if (line.empty()) continue;
        }
        if (!obsolete && line[0] == '#') {
            // A comment after a keyword starts the next entry.
            if (started) finish();
            if (!comments) entry.line = number;
            comments = true;
            const std::string body = line.size() > 2 ? Trimmed(line.substr(2)) : std::string();
            if (line.compare(0, 2, "#.") == 0) {
                entry.extractedComments.push_back(body);
            } else if (line.compare(0, 2, "#:") == 0) {
                std::istringstream words(body);
                for (std::string word; words >> word;) entry.references.push_back(word);
            } else if (line.compare(0, 2, "#,") == 0) {
                std::istringstream words(body);
                for (std::string flag; std::getline(words, flag, ',');) {
                    flag = Trimmed(flag);
                    if (!flag.empty()) entry.flags.push_back(flag);
                }
            } else if (line.compare(0, 2, "#|") == 0) {
                // the previous msgid, kept by tools for fuzzy entries: not needed here
            } else {
                entry.translatorComments.push_back(
                    line.size() > 1 && line[1] == ' ' ? line.substr(2) : line.substr(1));
            }
            continue;
        }
        if (line[0] == '"') {
            if (!target) Bad(number, "a string that continues nothing");
            *target += Unquote(line, 0, number);
            continue;
        }
        const std::size_t space = line.find_first_of(" \t");
        if (space == std::string::npos) Bad(number, "'" + line + "' is not a PO keyword");
        const std::string keyword = line.substr(0, space);
        const std::string value = Unquote(line, line.find('"', space), number);
        if (keyword == "msgctxt") {
            if (started && last != ELast::None) finish();
            if (!comments && !started) entry.line = number;
            entry.hasContext = true;
            entry.context = value;
            target = &entry.context;
            last = ELast::Context;
        } else if (keyword == "msgid") {
            if (started && last != ELast::Context) finish();
            if (!comments && !started) entry.line = number;
            entry.id = value;
            target = &entry.id;
            last = ELast::Id;
        } else if (keyword == "msgid_plural") {
            if (last != ELast::Id) Bad(number, "msgid_plural without msgid");
            entry.hasPlural = true;
            entry.plural = value;
            target = &entry.plural;
            last = ELast::Plural;
        } else if (keyword == "msgstr" || keyword.compare(0, 7, "msgstr[") == 0) {
            if (last == ELast::None || last == ELast::Context) Bad(number, "msgstr without msgid");
            // msgstr[N] goes to place N whatever order the file gives them in.
            std::size_t place = entry.strings.size();
            if (keyword != "msgstr") {
                const std::string digits = keyword.substr(7, keyword.find(']') - 7);
                if (keyword.back() != ']' || digits.empty() || digits.size() > 3 ||
                    digits.find_first_not_of("0123456789") != std::string::npos) {
                    Bad(number, "'" + keyword + "' is not a PO keyword");
                }
                place = static_cast<std::size_t>(std::stoi(digits));
            }
            if (entry.strings.size() <= place) entry.strings.resize(place + 1);
            entry.strings[place] = value;
            target = &entry.strings[place];
            last = ELast::String;
        } else {
            Bad(number, "'" + keyword + "' is not a PO keyword");
        }
        entry.obsolete = entry.obsolete || obsolete;
        started = true;
    }
    if (started) finish();
    for (const SPoEntry& read : entries) {
        if (read.strings.empty()) Bad(read.line, "the entry has no msgstr");
    }
    return entries;
}

}  // namespace lumtool
