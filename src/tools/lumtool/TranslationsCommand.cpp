#include "TranslationsCommand.h"

#include <wx/datetime.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string_view>
#include <utility>

#include "DescriptionEditor.h"
#include "InputFile.h"
#include "OptionParser.h"
#include "OutputFile.h"
#include "PoFile.h"
#include "TranslatableTexts.h"
#include "graphics/ContentFolder.h"
#include "graphics/PictureHandlers.h"
#include "graphics/XmlReader.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/FileReplacement.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";
// A translation of the largest product.xml the player reads, with room for its English texts.
constexpr std::uint64_t kMaxPoSize = std::uint64_t{256} << 20;

std::string Utf8(const std::wstring& text) { return tarn::ToUtf8(text); }

void Warn(const std::string& text) { std::cerr << "lumtool: warning: " << text << "\n"; }

struct SOptions {
    std::vector<std::string> names;  // CONTENT to export, or FOLDER and FILE.po to import
    std::string language;
    std::string output;
    bool throughLink = false;
};

SOptions ParseOptions(const std::vector<std::string>& arguments, bool exporting) {
    SOptions options;
    options.names.resize(exporting ? 1 : 2);
    COptionParser parser(exporting ? "translations export" : "translations import");
    if (exporting) {
        parser.Positional("CONTENT", options.names[0])
            .Value({"-o", "--output"}, "FILE.po", options.output, kValueRequired | kValueNotEmpty)
            .Flag({kThroughLinkOption}, options.throughLink);
    } else {
        parser.Positional("FOLDER", options.names[0]).Positional("FILE.po", options.names[1]);
    }
    parser.Value({"--lang", "--language"}, "CODE", options.language,
                 kValueRequired | kValueNotEmpty);
    parser.Parse(arguments);
    // The player compares language codes exactly: in the form the content uses.
    for (const char c : options.language) {
        if (c == ' ' || c == '_' || (c >= 'A' && c <= 'Z')) {
            throw CUsageError("'" + options.language +
                              "' is not a language code as menus write them (lower case, a "
                              "hyphen between language and region: de-de)");
        }
    }
    return options;
}

std::string Now() { return wxDateTime::Now().Format("%Y-%m-%d %H:%M%z").utf8_string(); }

SPoEntry Header(const lum::data::CProduct& product, const std::string& language) {
    SPoEntry header;
    header.translatorComments = {
        "The texts of the menu '" + Utf8(product.GetTitle()) + "' for " + language + ".",
        "Written by 'lumtool translations export'. Fill in the msgstr lines and give the file",
        "back to 'lumtool translations import FOLDER FILE --lang " + language + "'.",
        "Each msgctxt is the text's id in product.xml; entries marked fuzzy are not imported.",
    };
    header.strings.push_back("Project-Id-Version: " + Utf8(product.GetTitle()) +
                             "\n"
                             "POT-Creation-Date: " +
                             Now() +
                             "\n"
                             "PO-Revision-Date: " +
                             Now() +
                             "\n"
                             "Last-Translator: \n"
                             "Language-Team: \n"
                             "Language: " +
                             PoLanguage(language) +
                             "\n"
                             "MIME-Version: 1.0\n"
                             "Content-Type: text/plain; charset=UTF-8\n"
                             "Content-Transfer-Encoding: 8bit\n"
                             "X-Generator: lumtool\n");
    return header;
}

std::string ExtractedComment(const STranslatable& text, const STextUse& use) {
    switch (text.kind) {
        case STranslatable::EKind::PageTitle:
        case STranslatable::EKind::ElementText:
            return Utf8(use.place);
        case STranslatable::EKind::Description:
            return Utf8(use.place) + " (shown as its tooltip)";
        case STranslatable::EKind::Unused:
            return Utf8(use.place);
    }
    return {};
}

// The value of a header field, or empty.
std::string HeaderField(const SPoEntry& header, const std::string& field) {
    std::istringstream lines(header.Translation());
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, field.size() + 1, field + ":") == 0) {
            const auto begin = line.find_first_not_of(' ', field.size() + 1);
            return begin == std::string::npos ? std::string() : line.substr(begin);
        }
    }
    return {};
}

// A text as a message can show it: control characters and bytes that are not UTF-8 as
// \xNN escapes.
std::string Printable(const std::string& text) {
    const bool utf8 = graphics::IsUtf8(text);
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (!utf8 && byte >= 0x80)) {
            static constexpr char kDigits[] = "0123456789abcdef";
            out += "\\x";
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

bool HoldsControlCharacters(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f) return true;
    }
    return false;
}

// Why an entry cannot go into product.xml, or empty when it can.
std::string Unwritable(const SPoEntry& entry) {
    const std::pair<const char*, std::string> parts[] = {
        {"msgctxt", entry.context}, {"msgid", entry.id}, {"translation", entry.Translation()}};
    for (const auto& [part, text] : parts) {
        const std::string of =
            std::string("the ") + part + " of '" + Printable(entry.context) + "'";
        if (!graphics::IsUtf8(text)) return of + " is not UTF-8";
        if (HoldsControlCharacters(text))
            return of + " holds control characters that XML cannot carry";
    }
    return {};
}

// An encoding's name as its spellings share it: "UTF-8", "utf8" and "UTF_8 " are one.
std::string EncodingKey(const std::string& name) {
    std::string key;
    for (const char c : name) {
        if (c == '-' || c == '_' || c == ' ' || c == '\t' || c == '"' || c == '\'') continue;
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

void CheckPoHeader(const std::vector<SPoEntry>& entries, const std::string& poName,
                   const std::string& language) {
    for (const SPoEntry& entry : entries) {
        if (!entry.IsHeader()) continue;
        const std::string type = HeaderField(entry, "Content-Type");
        const auto charset = type.find("charset=");
        if (charset != std::string::npos) {
            const std::string name = type.substr(charset + 8);
            const std::string key = EncodingKey(name.substr(0, name.find(';')));
            // "CHARSET" is what gettext's templates leave before anyone chose one.
            if (key != "utf8" && key != "charset" && key != "ascii" && key != "usascii") {
                throw CUsageError("'" + poName + "' is written in " + name + "; save it as UTF-8");
            }
        }
        const std::string declared = HeaderField(entry, "Language");
        if (!declared.empty() && declared != PoLanguage(language) && declared != language) {
            Warn("'" + poName + "' says it is for " + declared + ", but is imported for " +
                 language);
        }
    }
}

enum class EDescriptionEncoding { Utf8, Ascii };

[[noreturn]] void RefuseEncoding(const fs::path& description, const std::string& encoding) {
    throw CUsageError("'" + description.string() + "' is written in " + encoding +
                      "; import writes UTF-8 only. Convert it first (iconv -f " + encoding +
                      " -t UTF-8 product.xml > converted.xml), declare encoding=\"UTF-8\" in "
                      "its first line and put it in the place of product.xml");
}

// The encoding a product.xml is in, as far as an import can keep it; other encodings are
// refused, since the edit would mix theirs with UTF-8.
EDescriptionEncoding CheckDescriptionEncoding(const std::string& text,
                                              const fs::path& description) {
    const auto starts = [&text](std::string_view bytes) {
        return text.compare(0, bytes.size(), bytes) == 0;
    };
    using namespace std::string_view_literals;
    if (starts("\x00\x00\xfe\xff"sv) || starts("\xff\xfe\x00\x00"sv)) {
        RefuseEncoding(description, "UTF-32");
    }
    if (starts("\xfe\xff"sv) || starts("\xff\xfe"sv) || starts("<\x00"sv) || starts("\x00<"sv)) {
        RefuseEncoding(description, "UTF-16");
    }
    const std::size_t begin = starts("\xef\xbb\xbf") ? 3 : 0;
    std::string declared;
    if (text.compare(begin, 5, "<?xml") == 0) {
        const std::size_t end = text.find("?>", begin);
        const std::size_t at = text.find("encoding", begin);
        if (at != std::string::npos && at < end) {
            const std::size_t quote = text.find_first_of("\"'", at);
            const std::size_t close =
                quote == std::string::npos ? quote : text.find(text[quote], quote + 1);
            if (close != std::string::npos && close < end) {
                declared = text.substr(quote + 1, close - quote - 1);
            }
        }
    }
    const std::string key = EncodingKey(declared);
    if (key == "ascii" || key == "usascii") return EDescriptionEncoding::Ascii;
    if (!key.empty() && key != "utf8") RefuseEncoding(description, declared);
    if (!graphics::IsUtf8(text)) {
        throw CUsageError("'" + description.string() +
                          "' is not UTF-8 text, as it says it is; the player cannot read it "
                          "either");
    }
    return EDescriptionEncoding::Utf8;
}

// The product.xml an import edits: a file of the folder's own, or the file a link leads to
// when that lies in the folder too (the link stays).
fs::path DescriptionToEdit(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw CUsageError("'" + folder.string() +
                          "' is not a folder: import writes into the product.xml of an unpacked "
                          "menu folder");
    }
    const fs::path description = folder / kDescription;
    if (fs::is_symlink(fs::symlink_status(description, error))) {
        const fs::path target = tarn::win32::FollowLinks(description);
        const fs::path root = fs::weakly_canonical(fs::absolute(folder), error);
        if (target.empty() || !tarn::win32::IsWithin(target, root)) {
            throw CUsageError("'" + description.string() +
                              "' is a link that leads out of the menu folder" +
                              (target.empty() ? std::string() : " (to '" + target.string() + "')") +
                              "; import writes only files of the folder");
        }
    }
    if (!fs::is_regular_file(description, error)) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription);
    }
    return description;
}

}  // namespace

std::string PoLanguage(const std::string& code) {
    const std::size_t hyphen = code.find('-');
    if (hyphen == std::string::npos) return code;
    std::string region = code.substr(hyphen + 1);
    for (char& c : region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return code.substr(0, hyphen) + "_" + region;
}

std::string CTranslationsCommand::Help() const {
    return "usage: lumtool translations export CONTENT --lang CODE -o FILE.po\n"
           "       lumtool translations import FOLDER FILE.po --lang CODE\n"
           "\n"
           "export writes every translatable text of CONTENT (a content file or an unpacked\n"
           "folder) into a gettext PO file for the language CODE (as menus write it: de-de):\n"
           "page titles, the texts of elements with a text id (texts, circular texts, table\n"
           "cells, button labels), the descriptions buttons show as tooltips, and translations\n"
           "the menu carries that nothing asks for. The English text is the msgid, the text id\n"
           "the msgctxt (so that equal English texts stay apart), the current translation the\n"
           "msgstr, and where the text is shown a comment. FILE '-' is standard output. Needs\n"
           "a display, as check does.\n"
           "\n"
           "import writes the translations of a PO file into FOLDER's product.xml for CODE:\n"
           "it changes the first translation of each id for that language or adds one, and\n"
           "keeps everything else in the file as it was, byte for byte. An entry with an empty\n"
           "msgstr removes the translation (the English text shows); fuzzy entries are skipped\n"
           "with a warning.\n";
}

int CTranslationsCommand::Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw CUsageError("translations: say export or import");
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (arguments[0] == "export") return Export(rest);
    if (arguments[0] == "import") return Import(rest);
    throw CUsageError("translations: unknown subcommand '" + arguments[0] + "' (export or import)");
}

int CTranslationsCommand::Export(const std::vector<std::string>& arguments) {
    const SOptions options = ParseOptions(arguments, true);
    const std::string& content = options.names[0];
    // Refused before the menu is read, so that a mistake costs nothing.
    const fs::path output =
        options.output == "-"
            ? fs::path()
            : CheckOutput(fs::path(options.output), {fs::path(content)}, options.throughLink);

    graphics::InstallPictureHandlers();
    const lum::data::CElementFactories factories;
    const auto product = tarn::New<lum::data::CProduct>();
    try {
        product->Load(wxFileName(wxString::FromUTF8(content)));
    } catch (const tarn::CException& error) {
        throw CUsageError("'" + content + "' cannot be read: " + Utf8(error.GetDescription()));
    }
    if (product->GetPageCount() == 0) {
        throw CUsageError("'" + content + "' cannot be read: " + Utf8(product->GetLoadProblem()));
    }

    std::vector<std::string> warnings;
    const std::vector<STranslatable> texts = CollectTranslatable(*product, warnings);
    for (const std::string& warning : warnings) Warn(warning);

    const std::wstring language = tarn::FromUtf8(options.language);
    const bool english = options.language == "en-us";
    std::vector<SPoEntry> entries{Header(*product, options.language)};
    std::size_t translated = 0;
    for (const STranslatable& text : texts) {
        SPoEntry entry;
        entry.hasContext = true;
        entry.context = Utf8(text.id);
        entry.id = Utf8(english ? text.authored : text.english);
        if (entry.id.empty()) {
            Warn("the text of id '" + entry.context + "' is empty; it is left out");
            continue;
        }
        for (const STextUse& use : text.uses) {
            const std::string comment = ExtractedComment(text, use);
            if (std::find(entry.extractedComments.begin(), entry.extractedComments.end(),
                          comment) == entry.extractedComments.end()) {
                entry.extractedComments.push_back(comment);
            }
            const std::string reference = Utf8(use.reference);
            if (!reference.empty() && std::find(entry.references.begin(), entry.references.end(),
                                                reference) == entry.references.end()) {
                entry.references.push_back(reference);
            }
        }
        if (text.kind == STranslatable::EKind::Description) {
            // The description's placeholder, such as %PAGE%, gets its value in the player.
            const std::size_t open = entry.id.find('%');
            const std::size_t close =
                open == std::string::npos ? std::string::npos : entry.id.find('%', open + 1);
            if (close != std::string::npos) {
                entry.extractedComments.push_back(
                    "keep " + entry.id.substr(open, close - open + 1) +
                    " as it is: the player puts the button's value in its place");
            }
        }
        entry.strings.push_back(Utf8(CurrentTranslation(*product, text.id, language)));
        if (!entry.strings.front().empty()) ++translated;
        entries.push_back(std::move(entry));
    }
    const std::string po = WritePo(entries);
    if (options.output == "-") {
        std::cout << po;
        return 0;
    }
    WriteOutput(output, po, options.throughLink);
    m_out << "wrote " << entries.size() - 1 << " texts (" << translated << " translated into "
          << options.language << ") to " << options.output << "\n";
    return 0;
}

int CTranslationsCommand::Import(const std::vector<std::string>& arguments) {
    const SOptions options = ParseOptions(arguments, false);
    const fs::path folder(options.names[0]);
    const std::string poName = options.names[1];
    const fs::path description = DescriptionToEdit(folder);

    std::vector<SPoEntry> entries;
    try {
        entries = ParsePo(ReadInputFile(poName, kMaxPoSize, "lumtool reads"));
    } catch (const CUsageError& problem) {
        throw CUsageError("'" + poName + "': " + problem.what());
    }
    CheckPoHeader(entries, poName, options.language);

    const std::string before = ReadInputFile(description, lum::data::CProduct::kMaxDescriptionSize);
    const EDescriptionEncoding encoding = CheckDescriptionEncoding(before, description);
    CDescriptionEditor editor(before);
    editor.SetAsciiOnly(encoding == EDescriptionEncoding::Ascii);
    std::vector<CDescriptionEditor::SChange> changes;
    std::size_t fuzzy = 0;
    for (const SPoEntry& entry : entries) {
        if (entry.IsHeader() || entry.obsolete) continue;
        const std::string where = poName + ":" + std::to_string(entry.line);
        if (!entry.hasContext || entry.context.empty()) {
            Warn(where + ": the entry has no msgctxt (the text id); skipped");
            continue;
        }
        if (entry.IsFuzzy()) {
            ++fuzzy;
            Warn(where + ": '" + Printable(entry.context) +
                 "' is marked fuzzy (its translation may not fit the English text any more); "
                 "skipped");
            continue;
        }
        if (const std::string problem = Unwritable(entry); !problem.empty()) {
            Warn(where + ": " + problem + "; skipped");
            continue;
        }
        changes.push_back({entry.context, entry.id, entry.Translation()});
    }
    const CDescriptionEditor::SApplied applied = editor.Apply(options.language, changes);

    if (editor.GetText() != before) {
        // Never leave a description the player cannot read.
        wxXmlDocument check;
        std::wstring reason;
        if (editor.GetText().size() > lum::data::CProduct::kMaxDescriptionSize) {
            throw CUsageError(
                "the edited product.xml would be larger than the player reads (64 MiB); "
                "nothing written");
        }
        if (!graphics::xml::ReadDocument(editor.GetText(), check, reason)) {
            throw CUsageError("the edited product.xml would not be well-formed (" +
                              tarn::ToUtf8(reason) + "); nothing written");
        }
        tarn::win32::ReplaceFileWith(description, editor.GetText(),
                                     tarn::win32::ELinks::WriteTarget);
    }
    m_out << applied.written << (applied.written == 1 ? " translation" : " translations")
          << " written";
    if (applied.removed > 0) m_out << ", " << applied.removed << " removed";
    m_out << " into " << description.string() << " for " << options.language;
    if (fuzzy > 0)
        m_out << "; " << fuzzy << " fuzzy " << (fuzzy == 1 ? "entry" : "entries") << " skipped";
    m_out << "\n";
    return 0;
}

}  // namespace lumtool
