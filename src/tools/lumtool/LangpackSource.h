#pragma once
// Reading the texts of a language pack from what authors write: "key=text" lines or a gettext
// PO file.

#include <map>
#include <string>

namespace lumtool {

using TPackTexts = std::map<std::wstring, std::wstring>;

// "key=text" lines in UTF-8; "\n", "\t" and "\\" in texts; "#" starts a comment line. A later
// line for the same key wins. Raises CUsageError naming the line of a malformed entry.
TPackTexts ParseKeyTextSource(const std::string& content);

// A PO file: msgid is the key, msgstr the text; the header, untranslated and fuzzy entries are
// left out; with plural forms the first translation is taken.
TPackTexts ParsePoSource(const std::string& content);

// Reads a source file, choosing the form by its extension (".po" or anything else).
TPackTexts ReadPackSource(const std::string& path);

// The dump form of a text: the escapes of the key=text form, so a dump reads back.
std::wstring EscapeText(const std::wstring& text);

}  // namespace lumtool
