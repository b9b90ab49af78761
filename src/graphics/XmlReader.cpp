#include "graphics/XmlReader.h"

#include <expat.h>
#include <wx/strconv.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace graphics::xml {
namespace {

bool IsWhiteOnly(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A byte encoding expat does not know, mapped through the toolkit's converters; a byte the
// encoding does not define makes the text malformed.
int XMLCALL MapEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    wxCSConv conv(wxString::FromUTF8(name));
    if (!conv.IsOk()) return XML_STATUS_ERROR;
    info->map[0] = 0;
    for (int byte = 1; byte < 256; ++byte) {
        const char one = static_cast<char>(byte);
        const wxString text(&one, conv, 1);
        info->map[byte] = text.length() == 1 ? static_cast<int>(text[0].GetValue()) : -1;
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Builds the tree as the parser reports it. Each level remembers its last child, so that a
// node is linked in without walking its siblings.
class CTreeBuilder {
public:
    explicit CTreeBuilder(XML_Parser parser)
        : m_parser(parser), m_document(new wxXmlNode(wxXML_DOCUMENT_NODE, wxString())) {
        m_levels.push_back({m_document.get(), nullptr});
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &CTreeBuilder::OnStart, &CTreeBuilder::OnEnd);
        XML_SetCharacterDataHandler(parser, &CTreeBuilder::OnText);
        XML_SetCdataSectionHandler(parser, &CTreeBuilder::OnCdataStart, &CTreeBuilder::OnCdataEnd);
        XML_SetCommentHandler(parser, &CTreeBuilder::OnComment);
        XML_SetProcessingInstructionHandler(parser, &CTreeBuilder::OnInstruction);
        XML_SetXmlDeclHandler(parser, &CTreeBuilder::OnDeclaration);
        XML_SetUnknownEncodingHandler(parser, &MapEncoding, nullptr);
    }

    // Why the text was refused though well-formed, or empty.
    const std::wstring& GetRefusal() const { return m_refusal; }
    const wxString& GetVersion() const { return m_version; }
    const wxString& GetEncoding() const { return m_encoding; }
    wxXmlNode* Release() { return m_document.release(); }

private:
    struct SLevel {
        wxXmlNode* node;
        wxXmlNode* last;
    };

    static CTreeBuilder& Of(void* data) { return *static_cast<CTreeBuilder*>(data); }
    void Refuse(const std::wstring& reason) {
        m_refusal = reason;
        XML_StopParser(m_parser, XML_FALSE);
    }
    int Line() const { return static_cast<int>(XML_GetCurrentLineNumber(m_parser)); }

    void Append(wxXmlNode* node) {
        SLevel& level = m_levels.back();
        node->SetParent(level.node);
        if (level.last) {
            level.last->SetNext(node);
        } else {
            level.node->SetChildren(node);
        }
        level.last = node;
    }

    void FlushText() {
        if (!m_inText) return;
        Append(new wxXmlNode(nullptr, wxXML_TEXT_NODE, "text", wxString::FromUTF8(m_text), nullptr,
                             nullptr, m_textLine));
        m_inText = false;
        m_text.clear();
    }

    static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        CTreeBuilder& self = Of(data);
        self.FlushText();
        if (static_cast<int>(self.m_levels.size()) > kMaxDepth) {
            return self.Refuse(L"elements nested deeper than " + std::to_wstring(kMaxDepth));
        }
        std::size_t count = 0;
        for (; attributes[count]; count += 2) {
            if (std::strlen(attributes[count + 1]) > kMaxAttributeBytes) {
                return self.Refuse(L"an attribute value longer than " +
                                   std::to_wstring(kMaxAttributeBytes >> 20) + L" MiB");
            }
        }
        // Built from the last attribute back, each in front of the ones after it.
        wxXmlAttribute* first = nullptr;
        for (std::size_t i = count; i > 0; i -= 2) {
            first = new wxXmlAttribute(wxString::FromUTF8(attributes[i - 2]),
                                       wxString::FromUTF8(attributes[i - 1]), first);
        }
        auto* node = new wxXmlNode(nullptr, wxXML_ELEMENT_NODE, wxString::FromUTF8(name),
                                   wxString(), first, nullptr, self.Line());
        self.Append(node);
        self.m_levels.push_back({node, nullptr});
    }

    static void XMLCALL OnEnd(void* data, const XML_Char*) {
        CTreeBuilder& self = Of(data);
        self.FlushText();
        if (self.m_levels.size() > 1) self.m_levels.pop_back();
    }

    // The parser reports text in pieces (at line ends and references). As the toolkit does, a
    // text whose first piece is only white space starts with the first piece that is not.
    static void XMLCALL OnText(void* data, const XML_Char* text, int length) {
        CTreeBuilder& self = Of(data);
        const std::string_view piece(text, static_cast<std::size_t>(length));
        if (!self.m_inText) {
            if (IsWhiteOnly(piece)) return;
            self.m_inText = true;
            self.m_textLine = self.Line();
        }
        self.m_text.append(piece);
    }

    static void XMLCALL OnCdataStart(void* data) {
        CTreeBuilder& self = Of(data);
        self.FlushText();
        self.m_inText = true;  // white space counts inside a section
        self.m_textLine = self.Line();
    }

    static void XMLCALL OnCdataEnd(void* data) {
        CTreeBuilder& self = Of(data);
        self.Append(new wxXmlNode(nullptr, wxXML_CDATA_SECTION_NODE, "cdata",
                                  wxString::FromUTF8(self.m_text), nullptr, nullptr,
                                  self.m_textLine));
        self.m_inText = false;
        self.m_text.clear();
    }

    // Comments end the text before them and are not kept: nothing reads them, and a long one
    // would only cost memory.
    static void XMLCALL OnComment(void* data, const XML_Char*) { Of(data).FlushText(); }

    static void XMLCALL OnInstruction(void* data, const XML_Char* target, const XML_Char* text) {
        CTreeBuilder& self = Of(data);
        self.FlushText();
        self.Append(new wxXmlNode(nullptr, wxXML_PI_NODE, wxString::FromUTF8(target),
                                  wxString::FromUTF8(text), nullptr, nullptr, self.Line()));
    }

    static void XMLCALL OnDeclaration(void* data, const XML_Char* version, const XML_Char* encoding,
                                      int) {
        CTreeBuilder& self = Of(data);
        if (version) self.m_version = wxString::FromUTF8(version);
        if (encoding) self.m_encoding = wxString::FromUTF8(encoding);
    }

    XML_Parser m_parser;
    std::unique_ptr<wxXmlNode> m_document;
    std::vector<SLevel> m_levels;
    std::string m_text;
    bool m_inText = false;
    int m_textLine = -1;
    std::wstring m_refusal;
    wxString m_version;
    wxString m_encoding;
};

std::wstring ParsingError(const std::wstring& what, XML_Size line) {
    return L"XML parsing error: '" + what + L"' at line " + std::to_wstring(line);
}

}  // namespace

bool ReadDocument(std::string_view text, wxXmlDocument& document, std::wstring& problem) {
    document.SetDocumentNode(nullptr);
    const std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    if (!parser) {
        problem = L"XML parsing error: 'out of memory' at line 0";
        return false;
    }
    CTreeBuilder builder(parser.get());
    // One call for any text that fits one: the parser then scans every token once.
    bool parsed = true;
    do {
        const std::size_t piece = std::min<std::size_t>(text.size(), INT_MAX);
        const bool last = piece == text.size();
        parsed =
            XML_Parse(parser.get(), text.data(), static_cast<int>(piece), last) == XML_STATUS_OK;
        text.remove_prefix(piece);
        if (last) break;
    } while (parsed);
    if (!builder.GetRefusal().empty()) {
        problem = ParsingError(builder.GetRefusal(), XML_GetCurrentLineNumber(parser.get()));
        return false;
    }
    if (!parsed) {
        const wxString what = wxString::FromUTF8(XML_ErrorString(XML_GetErrorCode(parser.get())));
        problem = ParsingError(what.ToStdWstring(), XML_GetCurrentLineNumber(parser.get()));
        return false;
    }
    document.SetDocumentNode(builder.Release());
    document.SetVersion(builder.GetVersion().empty() ? wxString("1.0") : builder.GetVersion());
    document.SetFileEncoding(builder.GetEncoding().empty() ? wxString("UTF-8")
                                                           : builder.GetEncoding());
    if (document.GetRoot()) return true;
    document.SetDocumentNode(nullptr);
    problem = ParsingError(L"no element found", 0);
    return false;
}

EStreamRead ReadStream(wxInputStream& in, std::size_t limit, wxXmlDocument& document,
                       std::wstring& problem) {
    std::string bytes;
    char chunk[64 * 1024];
    while (true) {
        in.Read(chunk, sizeof chunk);
        const std::size_t got = in.LastRead();
        if (got == 0) break;
        if (bytes.size() + got > limit) return EStreamRead::TooLarge;
        bytes.append(chunk, got);
    }
    if (bytes.empty()) return EStreamRead::Empty;
    return ReadDocument(bytes, document, problem) ? EStreamRead::Read : EStreamRead::Malformed;
}

}  // namespace graphics::xml
