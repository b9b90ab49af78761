#include "SchemaValidation.h"

#include <libxml/parser.h>
#include <libxml/relaxng.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cstring>
#include <memory>

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

}  // namespace

std::vector<std::string> ValidateWithSchema(std::string_view text, const char* schema,
                                            std::size_t limit) {
    SCollected collected{{}, limit};
    const ParserContext parser(xmlRelaxNGNewMemParserCtxt(schema, static_cast<int>(std::strlen(schema))));
    if (!parser) return {"the schema cannot be read"};
    xmlRelaxNGSetParserStructuredErrors(parser.get(), Collect, &collected);
    const Schema rules(xmlRelaxNGParse(parser.get()));
    if (!rules) return {"the schema cannot be read"};
    collected.lines.clear();
    // No network, and no entities: the text was read once already by a reader that refuses them.
    const Document document(xmlReadMemory(text.data(), static_cast<int>(text.size()),
                                          "product.xml", nullptr,
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
