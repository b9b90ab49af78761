#pragma once
// GNU gettext PO files, the form translators' tools (Poedit, Weblate, Lokalize) read and write:
// reading every entry with its comments and flags, and writing entries in the usual layout.

#include <string>
#include <vector>

namespace lumtool {

struct SPoEntry {
    std::vector<std::string> translatorComments;  // "# ..."
    std::vector<std::string> extractedComments;   // "#. ..."
    std::vector<std::string> references;          // "#: ...", one reference each
    std::vector<std::string> flags;               // "#, fuzzy, c-format" gives two
    bool hasContext = false;
    std::string context;  // msgctxt
    std::string id;       // msgid
    bool hasPlural = false;
    std::string plural;                // msgid_plural
    std::vector<std::string> strings;  // msgstr, or msgstr[0], msgstr[1], ...
    bool obsolete = false;             // "#~" entries
    int line = 0;                      // where the entry starts, from 1

    bool IsHeader() const { return !hasContext && id.empty() && !obsolete; }
    bool IsFuzzy() const;
    // The translation: msgstr, or msgstr[0]; empty when untranslated.
    std::string Translation() const { return strings.empty() ? std::string() : strings.front(); }
};

// The entries of a PO file in file order, the header among them. Raises CUsageError naming the
// line for text that is not a PO file.
std::vector<SPoEntry> ParsePo(const std::string& text);

// The PO text of the entries, each followed by a blank line except the last.
std::string WritePo(const std::vector<SPoEntry>& entries);

// A string in PO quotes with C escapes; a text holding line feeds is split after each.
std::string PoQuoted(const std::string& keyword, const std::string& text);

}  // namespace lumtool
