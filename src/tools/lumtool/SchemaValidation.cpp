#include "SchemaValidation.h"

#include <libxml/parser.h>
#include <libxml/relaxng.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <wx/strconv.h>
#include <wx/string.h>

#include <cstring>
#include <memory>
#include <utility>

namespace lumtool {

namespace {

struct SCollected {
    std::vector<std::string> lines;
    std::size_t limit;
    std::string placeless;  // a refusal without a place, which the next one around gives
};

void Collect(void* context, xmlErrorPtr error) {
    auto& collected = *static_cast<SCollected*>(context);
    if (!error || collected.lines.size() >= collected.limit) return;
    std::string message = error->message ? error->message : "an error";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    // Inside an interleave libxml2 knows only the node, not the line.
    long line = error->line;
    const auto* node = static_cast<xmlNode*>(error->node);
    if (line <= 0 && node) line = xmlGetLineNo(node);
    if (line <= 0) {
        if (collected.placeless.empty()) collected.placeless = message;
        return;
    }
    std::string where = "line " + std::to_string(line);
    if (node && node->type == XML_ELEMENT_NODE && node->name) {
        where += ", <" + std::string(reinterpret_cast<const char*>(node->name)) + ">";
    }
    if (!collected.placeless.empty()) {
        message = collected.placeless + ", in: " + message;
        collected.placeless.clear();
    }
    collected.lines.push_back(where + ": " + message);
}

template <typename T, void (*Free)(T*)>
struct SFree {
    void operator()(T* pointer) const { Free(pointer); }
};
using Document = std::unique_ptr<xmlDoc, SFree<xmlDoc, xmlFreeDoc>>;
using ParserContext =
    std::unique_ptr<xmlRelaxNGParserCtxt, SFree<xmlRelaxNGParserCtxt, xmlRelaxNGFreeParserCtxt>>;
using Schema = std::unique_ptr<xmlRelaxNG, SFree<xmlRelaxNG, xmlRelaxNGFree>>;
using ValidContext =
    std::unique_ptr<xmlRelaxNGValidCtxt, SFree<xmlRelaxNGValidCtxt, xmlRelaxNGFreeValidCtxt>>;

// Where the encoding's name stands in the text's declaration: its start and length, or none.
std::pair<std::size_t, std::size_t> DeclaredEncoding(std::string_view text) {
    if (text.substr(0, 5) != "<?xml") return {std::string_view::npos, 0};
    const std::size_t end = text.find("?>");
    const std::size_t key = text.substr(0, end).find("encoding");
    if (key == std::string_view::npos) return {std::string_view::npos, 0};
    const std::size_t quote = text.find_first_of("\"'", key);
    if (quote == std::string_view::npos || quote > end) return {std::string_view::npos, 0};
    const std::size_t close = text.find(text[quote], quote + 1);
    if (close == std::string_view::npos || close > end) return {std::string_view::npos, 0};
    return {quote + 1, close - quote - 1};
}

bool ReadByLibxml(const wxString& encoding) {
    const wxString name = encoding.Upper();
    return name == "UTF-8" || name == "UTF8" || name.StartsWith("UTF-16") || name == "US-ASCII" ||
           name == "ASCII" || name == "ISO-8859-1" || name == "LATIN1" || name == "ISO-LATIN-1";
}

}  // namespace

std::string InLibxmlEncoding(std::string_view text) {
    const auto [at, length] = DeclaredEncoding(text);
    if (at == std::string_view::npos) return std::string(text);
    const wxString encoding = wxString::FromUTF8(text.data() + at, length);
    if (ReadByLibxml(encoding)) return std::string(text);
    const wxCSConv conversion(encoding);
    if (!conversion.IsOk()) return std::string(text);
    const wxString decoded(text.data(), conversion, text.size());
    if (decoded.empty()) return std::string(text);
    std::string converted = decoded.utf8_string();
    // The declaration is ASCII in every single-byte encoding, so it stands where it stood.
    converted.replace(at, length, "UTF-8");
    return converted;
}

std::vector<std::string> ValidateWithSchema(std::string_view text, const char* schema,
                                            std::size_t limit) {
    SCollected collected{{}, limit, {}};
    const ParserContext parser(xmlRelaxNGNewMemParserCtxt(schema, static_cast<int>(std::strlen(schema))));
    if (!parser) return {"the schema cannot be read"};
    xmlRelaxNGSetParserStructuredErrors(parser.get(), Collect, &collected);
    const Schema rules(xmlRelaxNGParse(parser.get()));
    if (!rules) return {"the schema cannot be read"};
    collected.lines.clear();
    // No network, and no entities: the text was read once already by a reader that refuses them.
    const std::string readable = InLibxmlEncoding(text);
    const Document document(
        xmlReadMemory(readable.data(), static_cast<int>(readable.size()), "product.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!document) return {"libxml2 cannot read product.xml"};
    const ValidContext validation(xmlRelaxNGNewValidCtxt(rules.get()));
    if (!validation) return {"the schema cannot be applied"};
    xmlRelaxNGSetValidStructuredErrors(validation.get(), Collect, &collected);
    const int result = xmlRelaxNGValidateDoc(validation.get(), document.get());
    if (result != 0 && collected.lines.empty()) {
        collected.lines.push_back(collected.placeless.empty() ? "it does not validate"
                                                              : collected.placeless);
    }
    return collected.lines;
}

}  // namespace lumtool
