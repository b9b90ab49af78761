#include "graphics/XmlReader.h"

#include <expat.h>
#include <wx/strconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace graphics::xml {
namespace {

bool IsWhiteOnly(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The largest piece handed to the parser at once: it copies each piece into a buffer that
// cannot grow past 1 GiB. Pieces this large cost no re-scanning worth the name.
constexpr std::size_t kPiece = std::size_t{256} << 20;

// Bytes of a single-byte encoding that may be undefined (windows-1252 leaves five so) before
// the encoding is taken for a multibyte one, which is not read.
constexpr int kMaxUndefinedBytes = 8;

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
        XML_SetEntityDeclHandler(parser, &CTreeBuilder::OnEntityDeclaration);
        XML_SetUnknownEncodingHandler(parser, &CTreeBuilder::OnUnknownEncoding, this);
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

    void Refuse(const std::wstring& reason) {
        if (!m_refusal.empty()) return;
        m_refusal = reason;
        XML_StopParser(m_parser, XML_FALSE);
    }

    // Runs a handler's work unless the text is refused already (the parser may still report
    // the rest of the token), and keeps exceptions out of the parser's C frames.
    template <typename Work>
    static void Guarded(void* data, Work&& work) {
        auto& self = *static_cast<CTreeBuilder*>(data);
        if (!self.m_refusal.empty()) return;
        try {
            work(self);
        } catch (const std::bad_alloc&) {
            self.Refuse(L"out of memory");
        } catch (const std::exception&) {
            self.Refuse(L"the text cannot be read");
        }
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
        m_inText = false;
        Append(new wxXmlNode(nullptr, wxXML_TEXT_NODE, "text", wxString::FromUTF8(m_text), nullptr,
                             nullptr, m_textLine));
        m_text.clear();
    }

    void Start(const XML_Char* name, const XML_Char** attributes) {
        FlushText();
        if (static_cast<int>(m_levels.size()) > kMaxDepth) {
            return Refuse(L"elements nested deeper than " + std::to_wstring(kMaxDepth));
        }
        std::size_t count = 0;
        for (; attributes[count]; count += 2) {
            if (std::strlen(attributes[count + 1]) > kMaxAttributeBytes) {
                return Refuse(L"an attribute value longer than " +
                              std::to_wstring(kMaxAttributeBytes >> 20) + L" MiB");
            }
        }
        // In the tree first, so that the tree owns whatever is made for it.
        auto* node = new wxXmlNode(nullptr, wxXML_ELEMENT_NODE, wxString::FromUTF8(name),
                                   wxString(), nullptr, nullptr, Line());
        Append(node);
        m_levels.push_back({node, nullptr});
        // Built from the last attribute back, each in front of the ones after it.
        wxXmlAttribute* first = nullptr;
        try {
            for (std::size_t i = count; i > 0; i -= 2) {
                first = new wxXmlAttribute(wxString::FromUTF8(attributes[i - 2]),
                                           wxString::FromUTF8(attributes[i - 1]), first);
            }
        } catch (...) {
            node->SetAttributes(first);
            throw;
        }
        node->SetAttributes(first);
    }

    // The parser reports text in pieces (at line ends and references). As the toolkit does, a
    // text whose first piece is only white space starts with the first piece that is not.
    void Text(std::string_view piece) {
        if (!m_inText) {
            if (IsWhiteOnly(piece)) return;
            m_inText = true;
            m_textLine = Line();
        }
        m_text.append(piece);
    }

    void EndCdata() {
        m_inText = false;
        Append(new wxXmlNode(nullptr, wxXML_CDATA_SECTION_NODE, "cdata", wxString::FromUTF8(m_text),
                             nullptr, nullptr, m_textLine));
        m_text.clear();
    }

    static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        Guarded(data, [&](CTreeBuilder& self) { self.Start(name, attributes); });
    }

    static void XMLCALL OnEnd(void* data, const XML_Char*) {
        Guarded(data, [](CTreeBuilder& self) {
            self.FlushText();
            if (self.m_levels.size() > 1) self.m_levels.pop_back();
        });
    }

    static void XMLCALL OnText(void* data, const XML_Char* text, int length) {
        Guarded(data, [&](CTreeBuilder& self) {
            self.Text(std::string_view(text, static_cast<std::size_t>(length)));
        });
    }

    static void XMLCALL OnCdataStart(void* data) {
        Guarded(data, [](CTreeBuilder& self) {
            self.FlushText();
            self.m_inText = true;  // white space counts inside a section
            self.m_textLine = self.Line();
        });
    }

    static void XMLCALL OnCdataEnd(void* data) {
        Guarded(data, [](CTreeBuilder& self) { self.EndCdata(); });
    }

    // Comments end the text before them and are not kept: nothing reads them, and a long one
    // would only cost memory.
    static void XMLCALL OnComment(void* data, const XML_Char*) {
        Guarded(data, [](CTreeBuilder& self) { self.FlushText(); });
    }

    static void XMLCALL OnInstruction(void* data, const XML_Char* target, const XML_Char* text) {
        Guarded(data, [&](CTreeBuilder& self) {
            self.FlushText();
            self.Append(new wxXmlNode(nullptr, wxXML_PI_NODE, wxString::FromUTF8(target),
                                      wxString::FromUTF8(text), nullptr, nullptr, self.Line()));
        });
    }

    static void XMLCALL OnDeclaration(void* data, const XML_Char* version, const XML_Char* encoding,
                                      int) {
        Guarded(data, [&](CTreeBuilder& self) {
            if (version) self.m_version = wxString::FromUTF8(version);
            if (encoding) self.m_encoding = wxString::FromUTF8(encoding);
        });
    }

    // A menu needs no entities of its own; expanding them lets a small file take gigabytes.
    static void XMLCALL OnEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int,
                                            const XML_Char*, const XML_Char*, const XML_Char*,
                                            const XML_Char*) {
        Guarded(data, [](CTreeBuilder& self) { self.Refuse(L"entity declarations are not read"); });
    }

    // A byte encoding expat does not know, mapped through the toolkit's converters. A byte the
    // encoding leaves undefined reads as U+FFFD; a multibyte encoding is refused by name.
    static int XMLCALL OnUnknownEncoding(void* data, const XML_Char* name, XML_Encoding* info) {
        auto& self = *static_cast<CTreeBuilder*>(data);
        const wxString encoding = wxString::FromUTF8(name);
        const wxCSConv conv(encoding);
        int undefined = 0;
        info->map[0] = 0;
        for (int byte = 1; byte < 256 && conv.IsOk(); ++byte) {
            const char one = static_cast<char>(byte);
            const wxString text(&one, conv, 1);
            info->map[byte] = text.length() == 1 ? static_cast<int>(text[0].GetValue()) : 0xFFFD;
            if (text.length() != 1) ++undefined;
        }
        info->data = nullptr;
        info->convert = nullptr;
        info->release = nullptr;
        if (conv.IsOk() && undefined <= kMaxUndefinedBytes) return XML_STATUS_OK;
        self.m_refusal =
            L"the encoding '" + encoding.ToStdWstring() + L"' is not read (save the file as UTF-8)";
        return XML_STATUS_ERROR;
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
        const std::size_t piece = std::min(text.size(), kPiece);
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
                       std::wstring& problem, std::string* text) {
    document.SetDocumentNode(nullptr);
    // A stream that knows its length is refused by it, before anything is read.
    const wxFileOffset length = in.GetLength();
    if (length != wxInvalidOffset && static_cast<std::uint64_t>(length) > limit) {
        return EStreamRead::TooLarge;
    }
    std::string bytes;
    if (length > 0) bytes.reserve(static_cast<std::size_t>(length));
    char chunk[64 * 1024];
    while (true) {
        in.Read(chunk, sizeof chunk);
        const std::size_t got = in.LastRead();
        if (got == 0) break;
        if (bytes.size() + got > limit) return EStreamRead::TooLarge;
        bytes.append(chunk, got);
    }
    if (bytes.empty()) return EStreamRead::Empty;
    const bool read = ReadDocument(bytes, document, problem);
    if (read && text) *text = std::move(bytes);
    return read ? EStreamRead::Read : EStreamRead::Malformed;
}

}  // namespace graphics::xml
