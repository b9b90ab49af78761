#include "LangpackSource.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "Command.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string LineError(std::size_t number, const std::string& what) {
    return "line " + std::to_string(number) + ": " + what;
}

// "\n", "\t", "\\" (and in PO files also "\"" and "\r"); others are an error.
std::string Unescape(const std::string& text, std::size_t lineNumber, bool po) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) throw CUsageError(LineError(lineNumber, "text ends with a lone \\"));
        switch (text[i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            case '"':
                if (!po) throw CUsageError(LineError(lineNumber, "unknown escape \\\""));
                out += '"';
                break;
            case 'r':
                if (!po) throw CUsageError(LineError(lineNumber, "unknown escape \\r"));
                out += '\r';
                break;
            default:
                throw CUsageError(LineError(lineNumber, std::string("unknown escape \\") + text[i]));
        }
    }
    return out;
}

// The text between the quotes of a PO string line.
std::string PoString(const std::string& line, std::size_t lineNumber) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    if (open == std::string::npos || close == open) {
        throw CUsageError(LineError(lineNumber, "expected a quoted string"));
    }
    return Unescape(line.substr(open + 1, close - open - 1), lineNumber, true);
}

struct CPoEntry {
    std::string id;
    std::string text;
    bool fuzzy = false;
    bool hasId = false;
};

void Keep(TPackTexts& texts, const CPoEntry& entry) {
    if (!entry.hasId || entry.id.empty() || entry.text.empty() || entry.fuzzy) return;
    texts[tarn::FromUtf8(entry.id)] = tarn::FromUtf8(entry.text);
}

}  // namespace

// Editors on Windows like to start UTF-8 files with a byte-order mark.
static std::string WithoutByteOrderMark(const std::string& content) {
    return content.rfind("\xEF\xBB\xBF", 0) == 0 ? content.substr(3) : content;
}

TPackTexts ParseKeyTextSource(const std::string& content) {
    TPackTexts texts;
    const std::vector<std::string> lines = Lines(WithoutByteOrderMark(content));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string trimmed = Trim(lines[i]);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const std::size_t equals = lines[i].find('=');
        if (equals == std::string::npos) throw CUsageError(LineError(i + 1, "expected key=text"));
        const std::string key = Trim(lines[i].substr(0, equals));
        if (key.empty()) throw CUsageError(LineError(i + 1, "empty key"));
        texts[tarn::FromUtf8(key)] = tarn::FromUtf8(Unescape(lines[i].substr(equals + 1), i + 1, false));
    }
    return texts;
}

TPackTexts ParsePoSource(const std::string& content) {
    TPackTexts texts;
    CPoEntry entry;
    std::string* continued = nullptr;  // where a following "..." line belongs
    const std::vector<std::string> lines = Lines(WithoutByteOrderMark(content));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trim(lines[i]);
        const std::size_t number = i + 1;
        if (line.empty()) {
            continued = nullptr;
        } else if (line.rfind("#,", 0) == 0) {
            Keep(texts, entry);
            entry = CPoEntry{};
            entry.fuzzy = line.find("fuzzy") != std::string::npos;
            continued = nullptr;
        } else if (line[0] == '#') {
            continued = nullptr;
        } else if (line.rfind("msgctxt", 0) == 0) {
            continued = nullptr;
        } else if (line.rfind("msgid_plural", 0) == 0) {
            continued = nullptr;
        } else if (line.rfind("msgid", 0) == 0) {
            if (entry.hasId) {
                Keep(texts, entry);
                entry = CPoEntry{};
            }
            entry.hasId = true;
            entry.id = PoString(line, number);
            continued = &entry.id;
        } else if (line.rfind("msgstr[0]", 0) == 0 || line.rfind("msgstr ", 0) == 0 ||
                   line == "msgstr") {
            entry.text = PoString(line, number);
            continued = &entry.text;
        } else if (line.rfind("msgstr[", 0) == 0) {
            continued = nullptr;  // further plural forms are not used
        } else if (line[0] == '"') {
            if (continued) *continued += PoString(line, number);
        } else {
            throw CUsageError(LineError(number, "not a PO line"));
        }
    }
    Keep(texts, entry);
    return texts;
}

TPackTexts ReadPackSource(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CUsageError("cannot read '" + path + "'");
    std::ostringstream content;
    content << in.rdbuf();
    const bool po = path.size() > 3 && path.compare(path.size() - 3, 3, ".po") == 0;
    try {
        return po ? ParsePoSource(content.str()) : ParseKeyTextSource(content.str());
    } catch (const CUsageError& error) {
        throw CUsageError(path + ", " + error.what());
    }
}

std::wstring EscapeText(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t c : text) {
        if (c == L'\n') out += L"\\n";
        else if (c == L'\t') out += L"\\t";
        else if (c == L'\\') out += L"\\\\";
        else out += c;
    }
    return out;
}

}  // namespace lumtool
