#include "LangpackCommand.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "LangpackSource.h"
#include "OptionParser.h"
#include "OutputFile.h"
#include "chf/ResourceFile.h"
#include "chf/ResourceFileWriter.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "wxutil/IsoTables.h"

namespace lumtool {

namespace {

// The arguments after the action's name.
std::vector<std::string> Rest(const std::vector<std::string>& arguments) {
    return {arguments.begin() + 1, arguments.end()};
}

struct CBuildOptions {
    std::string source;
    std::string output;
    std::string language;
    std::string application;
    std::string comment;
    bool throughLink = false;
};

CBuildOptions ParseBuildOptions(const std::vector<std::string>& arguments) {
    CBuildOptions options;
    // Empty values stand for missing ones: a pack needs all three.
    COptionParser("langpack build")
        .Positional("SOURCE", options.source)
        .Value({"-o", "--output"}, "FILE", options.output, kValueRequired | kValueNotEmpty)
        .Value({"--lang"}, "TAG", options.language, kValueRequired | kValueNotEmpty)
        .Value({"--app"}, "ID", options.application, kValueRequired | kValueNotEmpty)
        .Value({"--comment"}, "TEXT", options.comment)
        .Flag({kThroughLinkOption}, options.throughLink)
        .Parse(Rest(arguments));
    return options;
}

std::string Line(const std::wstring& text) { return tarn::ToUtf8(text); }

}  // namespace

std::string CLangpackCommand::Help() const {
    return "usage: lumtool langpack build SOURCE -o FILE.zvtLang --lang TAG --app ID "
           "[--comment TEXT] [--through-link]\n"
           "       lumtool langpack dump FILE\n"
           "\n"
           "build  makes a language pack from SOURCE: a gettext PO file (*.po: msgid is the\n"
           "       key, msgstr the text) or a UTF-8 text file of key=text lines (\\n, \\t and\n"
           "       \\\\ in texts; lines starting with # are comments; a later key wins).\n"
           "       Keys \"id:TEXT\" translate the toolkit's own texts.\n"
           "dump   prints the pack's header and every entry as key=text, sorted by key.\n";
}

int CLangpackCommand::Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw CUsageError("langpack: expected build or dump (see --help)");
    if (arguments[0] == "build") return Build(arguments);
    if (arguments[0] == "dump") return Dump(arguments);
    throw CUsageError("langpack: unknown action '" + arguments[0] + "'");
}

int CLangpackCommand::Build(const std::vector<std::string>& arguments) {
    const CBuildOptions options = ParseBuildOptions(arguments);
    const std::filesystem::path output =
        CheckOutput(std::filesystem::path(options.output), {std::filesystem::path(options.source)},
                    options.throughLink);
    const TPackTexts texts = ReadPackSource(options.source);
    chf::CResourceFileWriter writer;
    writer.SetLanguage(tarn::FromUtf8(options.language));
    writer.SetApplication(tarn::FromUtf8(options.application));
    if (!options.comment.empty()) writer.SetComment(tarn::FromUtf8(options.comment));
    for (const auto& [key, text] : texts) writer.AddEntry(key, text);
    std::vector<std::byte> bytes;
    try {
        bytes = writer.ToBytes();
    } catch (const tarn::CException& error) {
        throw CUsageError("cannot write '" + options.output + "': " + error.what());
    }
    WriteOutput(output, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                options.throughLink);
    m_out << "wrote " << texts.size() << " texts to " << options.output << "\n";
    return 0;
}

int CLangpackCommand::Dump(const std::vector<std::string>& arguments) {
    std::string path;
    COptionParser("langpack dump").Positional("FILE", path).Parse(Rest(arguments));
    if (!std::filesystem::is_regular_file(path)) throw CUsageError("cannot read '" + path + "'");
    chf::CResourceFile pack;
    try {
        pack.Open(tarn::FromUtf8(path));
    } catch (const std::exception& error) {
        throw CUsageError("'" + path + "' is not a readable language pack: " + error.what());
    }
    const auto& subtags = pack.GetLanguageTag().GetSubtags();
    m_out << "language: " << Line(pack.GetLanguageString(0)) << "\n";
    m_out << "language name: " << Line(subtags.empty() ? L"" : std::wstring(wxutil::LanguageName(subtags[0]))) << "\n";
    m_out << "country name: " << Line(subtags.size() < 2 ? L"" : std::wstring(wxutil::CountryName(subtags[1]))) << "\n";
    m_out << "application: " << Line(pack.GetApplicationId()) << "\n";
    m_out << "comment: " << Line(EscapeText(pack.GetComment())) << "\n";
    m_out << "version: " << pack.GetVersion() << "\n";
    for (const auto& [name, value] : pack.GetExtraData()) {
        m_out << "extra: " << Line(name) << "=" << Line(EscapeText(value)) << "\n";
    }
    // The text a key ends with after loading: the one the pack's table gives for it.
    TPackTexts entries;
    pack.GetStrings().ForEach([&](const chf::CResourceStringTable::CEntry& entry) {
        entries[entry.key] = entry.text;
    });
    m_out << "entries: " << entries.size() << "\n";
    for (const auto& [key, text] : entries) m_out << Line(key) << "=" << Line(EscapeText(text)) << "\n";
    return 0;
}

}  // namespace lumtool
