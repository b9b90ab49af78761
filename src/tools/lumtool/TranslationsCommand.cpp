#include "TranslationsCommand.h"

#include <wx/datetime.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "DescriptionEditor.h"
#include "PoFile.h"
#include "TranslatableTexts.h"
#include "graphics/ContentFolder.h"
#include "graphics/PictureHandlers.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDescription = "product.xml";

std::string Utf8(const std::wstring& text) { return tarn::ToUtf8(text); }

void Warn(const std::string& text) { std::cerr << "lumtool: warning: " << text << "\n"; }

struct SOptions {
    std::vector<std::string> positional;
    std::string language;
    std::string output;
};

SOptions ParseOptions(const std::vector<std::string>& arguments, bool withOutput) {
    SOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size()) throw CUsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--lang" || argument == "--language") {
            options.language = value();
        } else if (withOutput && (argument == "-o" || argument == "--output")) {
            options.output = value();
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw CUsageError("unknown option " + argument);
        } else {
            options.positional.push_back(argument);
        }
    }
    if (options.language.empty())
        throw CUsageError("name the language with --lang CODE (such as de-de)");
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

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CUsageError("cannot read '" + path.string() + "'");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Writes beside the file and renames, so that a watching player never reads half a file.
void WriteFileAtomically(const fs::path& path, const std::string& bytes) {
    const fs::path temporary = path.string() + ".lumtool-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw CUsageError("cannot write '" + temporary.string() + "'");
    }
    std::error_code error;
    fs::permissions(temporary, fs::status(path, error).permissions(), error);
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        throw CUsageError("cannot replace '" + path.string() + "'");
    }
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
    if (options.positional.size() != 1) throw CUsageError("export: name one CONTENT");
    if (options.output.empty()) throw CUsageError("export: name the PO file with -o FILE.po");
    const std::string& content = options.positional.front();

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
    std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
    out << po;
    out.close();
    if (!out) throw CUsageError("cannot write '" + options.output + "'");
    m_out << "wrote " << entries.size() - 1 << " texts (" << translated << " translated into "
          << options.language << ") to " << options.output << "\n";
    return 0;
}

int CTranslationsCommand::Import(const std::vector<std::string>& arguments) {
    const SOptions options = ParseOptions(arguments, false);
    if (options.positional.size() != 2) throw CUsageError("import: name FOLDER and FILE.po");
    const fs::path folder(options.positional[0]);
    const std::string poName = options.positional[1];
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw CUsageError("'" + folder.string() +
                          "' is not a folder: import writes into the product.xml of an unpacked "
                          "menu folder");
    }
    const fs::path description = folder / kDescription;
    if (!fs::is_regular_file(description, error)) {
        throw CUsageError("'" + folder.string() + "' holds no " + kDescription);
    }

    std::vector<SPoEntry> entries;
    try {
        entries = ParsePo(ReadFile(poName));
    } catch (const CUsageError& problem) {
        throw CUsageError("'" + poName + "': " + problem.what());
    }
    for (const SPoEntry& entry : entries) {
        if (!entry.IsHeader()) continue;
        const std::string type = HeaderField(entry, "Content-Type");
        const auto charset = type.find("charset=");
        if (charset != std::string::npos) {
            std::string name = type.substr(charset + 8);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (name != "utf-8" && name != "charset" && name != "ascii" && name != "us-ascii") {
                throw CUsageError("'" + poName + "' is written in " + type.substr(charset + 8) +
                                  "; save it as UTF-8");
            }
        }
        const std::string language = HeaderField(entry, "Language");
        if (!language.empty() && language != PoLanguage(options.language) &&
            language != options.language) {
            Warn("'" + poName + "' says it is for " + language + ", but is imported for " +
                 options.language);
        }
    }

    const std::string before = ReadFile(description);
    CDescriptionEditor editor(before);
    std::size_t written = 0;
    std::size_t removed = 0;
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
            Warn(where + ": '" + entry.context +
                 "' is marked fuzzy (its translation may not fit the English text any more); "
                 "skipped");
            continue;
        }
        const std::string text = entry.Translation();
        bool control = false;
        for (const char c : text) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                control = true;
            }
        }
        if (control) {
            Warn(where + ": the translation of '" + entry.context +
                 "' holds control characters that XML cannot carry; skipped");
            continue;
        }
        if (!graphics::IsUtf8(text)) {
            Warn(where + ": the translation of '" + entry.context + "' is not UTF-8; skipped");
            continue;
        }
        if (text.empty()) {
            if (editor.RemoveTranslation(entry.context, options.language)) ++removed;
            continue;
        }
        if (editor.SetTranslation(entry.context, options.language, entry.id, text)) ++written;
    }

    if (editor.GetText() != before) {
        // Never leave a description the player cannot read.
        wxLogNull quiet;
        wxXmlDocument check;
        wxMemoryInputStream in(editor.GetText().data(), editor.GetText().size());
        if (!check.Load(in, "UTF-8") || !check.GetRoot()) {
            throw CUsageError("the edited product.xml would not be well-formed; nothing written");
        }
        WriteFileAtomically(description, editor.GetText());
    }
    m_out << written << (written == 1 ? " translation" : " translations") << " written";
    if (removed > 0) m_out << ", " << removed << " removed";
    m_out << " into " << description.string() << " for " << options.language;
    if (fuzzy > 0)
        m_out << "; " << fuzzy << " fuzzy " << (fuzzy == 1 ? "entry" : "entries") << " skipped";
    m_out << "\n";
    return 0;
}

}  // namespace lumtool
