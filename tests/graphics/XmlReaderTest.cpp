// The one-pass XML reader: the same tree as the toolkit's loader (less comments), the
// toolkit's error texts, and the bounds a stranger's file meets.

#include "graphics/XmlReader.h"

#include <gtest/gtest.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using graphics::xml::EStreamRead;
using graphics::xml::ReadDocument;
using graphics::xml::ReadStream;

// Every node below node, one per line, with its kind, name, attributes in order, content and
// line; comments are left out.
void Dump(const wxXmlNode& node, int depth, std::string& out) {
    if (node.GetType() == wxXML_COMMENT_NODE) return;
    out += std::string(depth * 2, ' ') + std::to_string(node.GetType()) + " " +
           node.GetName().utf8_string() + " @" + std::to_string(node.GetLineNumber());
    for (const wxXmlAttribute* a = node.GetAttributes(); a; a = a->GetNext()) {
        out += " " + a->GetName().utf8_string() + "=[" + a->GetValue().utf8_string() + "]";
    }
    out += " {" + node.GetContent().utf8_string() + "}\n";
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        EXPECT_EQ(child->GetParent(), &node);
        Dump(*child, depth + 1, out);
    }
}

std::string DumpOf(const wxXmlDocument& document) {
    std::string out;
    if (document.GetDocumentNode()) Dump(*document.GetDocumentNode(), 0, out);
    return out;
}

std::string ByToolkit(const std::string& text) {
    wxLogNull quiet;
    wxXmlDocument document;
    wxMemoryInputStream in(text.data(), text.size());
    if (!document.Load(in)) return "<not loaded>";
    return DumpOf(document);
}

std::string ByReader(const std::string& text) {
    wxXmlDocument document;
    std::wstring problem;
    if (!ReadDocument(text, document, problem))
        return "<not loaded> " + wxString(problem).utf8_string();
    return DumpOf(document);
}

std::wstring ProblemOf(const std::string& text) {
    wxXmlDocument document;
    std::wstring problem;
    EXPECT_FALSE(ReadDocument(text, document, problem)) << text.substr(0, 80);
    EXPECT_EQ(document.GetRoot(), nullptr);
    return problem;
}

TEST(XmlReaderTest, MakesTheTreeTheToolkitsLoaderMakes) {
    const std::string texts[] = {
        "<product/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<product title=\"A &amp; B\" b='2' a=\"1\">\n"
        "  <pages>\n    <page name=\"main\"><document/></page>\n  </pages>\n"
        "  <!-- a note -->\n  <text>  two\n lines &lt;here&gt;\n </text>\n"
        "  <mixed>before<b>bold</b>after &#x20AC;</mixed>\n"
        "  <data><![CDATA[  <raw> & \n ]]></data>\n"
        "  <?target some data?>\n  <empty></empty><blank>   </blank>\n</product>\n",
        // Text whose first piece is only white space, as line ends make it.
        "<r>\n\n   words\n  </r>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"Gr\xfc\xdf"
        "e\">\xe4</r>",
    };
    for (const std::string& text : texts) EXPECT_EQ(ByReader(text), ByToolkit(text)) << text;

    // The demo menu's description, whole.
    std::ifstream demo(DEMO_DESCRIPTION, std::ios::binary);
    ASSERT_TRUE(demo) << DEMO_DESCRIPTION;
    std::ostringstream bytes;
    bytes << demo.rdbuf();
    ASSERT_GT(bytes.str().size(), 1000u);
    EXPECT_EQ(ByReader(bytes.str()), ByToolkit(bytes.str()));
}

TEST(XmlReaderTest, ReadsTheEncodingsTextsDeclare) {
    wxXmlDocument document;
    std::wstring problem;
    const auto valueOf = [&](const std::string& text) {
        EXPECT_TRUE(ReadDocument(text, document, problem)) << problem;
        return document.GetRoot() ? document.GetRoot()->GetAttribute("v").ToStdWstring() : L"";
    };
    EXPECT_EQ(valueOf("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"Gr\xfc\xdf"
                      "e\"/>"),
              L"Gr\u00fc\u00dfe");
    EXPECT_EQ(document.GetFileEncoding(), "ISO-8859-1");
    // Not one of the parser's own: through the toolkit's converters.
    EXPECT_EQ(valueOf("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r v=\"\x80\"/>"),
              L"\u20ac");
    EXPECT_EQ(valueOf(std::string("\xff\xfe<\0r\0 \0v\0=\0\"\0\xe4\0\"\0/\0>\0", 22)), L"\u00e4");
    EXPECT_EQ(valueOf("<r v=\"\xc3\xa4\"/>"), L"\u00e4");
    EXPECT_EQ(document.GetFileEncoding(), "UTF-8");

    // A byte windows-1252 leaves undefined reads as one character all the same (U+FFFD here,
    // U+0081 where the system's converter maps it so).
    const std::wstring undefined =
        valueOf("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r v=\"\x81\x80\"/>");
    ASSERT_EQ(undefined.size(), 2u);
    EXPECT_EQ(undefined[1], L'\u20ac');
    EXPECT_EQ(ProblemOf("<?xml version=\"1.0\" encoding=\"no-such-encoding\"?><r/>"),
              L"XML parsing error: 'the encoding 'no-such-encoding' is not read (save the file "
              L"as UTF-8)' at line 1");
    EXPECT_EQ(ProblemOf("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r v=\"\x82\xa0\"/>"),
              L"XML parsing error: 'the encoding 'Shift_JIS' is not read (save the file as "
              L"UTF-8)' at line 1");
    EXPECT_NE(ProblemOf("<r v=\"\xc3\"/>").find(L"not well-formed"), std::wstring::npos);
}

TEST(XmlReaderTest, ErrorsAreTheToolkitsWordsWithTheLine) {
    EXPECT_EQ(ProblemOf("<a>\n<b></a>"), L"XML parsing error: 'mismatched tag' at line 2");
    EXPECT_EQ(ProblemOf(""), L"XML parsing error: 'no element found' at line 1");
    EXPECT_EQ(ProblemOf("<?xml version=\"1.0\"?>\n<!-- only -->\n"),
              L"XML parsing error: 'no element found' at line 3");
    EXPECT_EQ(ProblemOf("<a/><b/>"), L"XML parsing error: 'junk after document element' at line 1");
    // A good tree read before is gone after a failure.
    wxXmlDocument document;
    std::wstring problem;
    ASSERT_TRUE(ReadDocument("<good/>", document, problem));
    EXPECT_FALSE(ReadDocument("<bad>", document, problem));
    EXPECT_EQ(document.GetRoot(), nullptr);
}

TEST(XmlReaderTest, DeepNestingAndLongAttributesAreRefusedLongTextIsRead) {
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "<e>";
        for (int i = 0; i < depth; ++i) text += "</e>";
        return text;
    };
    wxXmlDocument document;
    std::wstring problem;
    EXPECT_TRUE(ReadDocument(nested(graphics::xml::kMaxDepth), document, problem)) << problem;
    EXPECT_EQ(ProblemOf(nested(graphics::xml::kMaxDepth + 1)),
              L"XML parsing error: 'elements nested deeper than 256' at line 1");
    EXPECT_EQ(ProblemOf(nested(1000000)),
              L"XML parsing error: 'elements nested deeper than 256' at line 1");

    const std::size_t limit = graphics::xml::kMaxAttributeBytes;
    EXPECT_TRUE(ReadDocument("<r a=\"" + std::string(limit, 'x') + "\"/>", document, problem));
    EXPECT_EQ(ProblemOf("<r>\n<e a=\"" + std::string(limit + 1, 'x') + "\"/></r>"),
              L"XML parsing error: 'an attribute value longer than 1 MiB' at line 2");

    // Text and comments of many megabytes: text is kept whole, comments are dropped.
    const std::string words(8u << 20, 'w');
    ASSERT_TRUE(ReadDocument("<r><!--" + words + "--><t>" + words + "</t></r>", document, problem));
    const wxXmlNode* root = document.GetRoot();
    ASSERT_TRUE(root && root->GetChildren() && !root->GetChildren()->GetNext());
    EXPECT_EQ(root->GetChildren()->GetNodeContent().length(), words.size());
}

// Entities of a text's own would let a few hundred bytes expand to gigabytes.
TEST(XmlReaderTest, EntityDeclarationsAreRefusedThePredefinedOnesRead) {
    EXPECT_EQ(ProblemOf("<!DOCTYPE r [<!ENTITY e \"x\">]><r>a&e;b</r>"),
              L"XML parsing error: 'entity declarations are not read' at line 1");
    EXPECT_EQ(ProblemOf("<!DOCTYPE r [\n<!ENTITY e \"x\">]><r v=\"&e;\"/>"),
              L"XML parsing error: 'entity declarations are not read' at line 2");
    wxXmlDocument document;
    std::wstring problem;
    ASSERT_TRUE(
        ReadDocument("<!DOCTYPE r><r v=\"&lt;&amp;&#65;\">&gt;&quot;&apos;</r>", document, problem))
        << problem;
    EXPECT_EQ(document.GetRoot()->GetAttribute("v"), "<&A");
    EXPECT_EQ(document.GetRoot()->GetNodeContent(), ">\"'");
}

TEST(XmlReaderTest, AStreamIsReadWithinItsLimit) {
    wxXmlDocument document;
    std::wstring problem;
    const std::string text = "<r>" + std::string(1000, ' ') + "</r>";
    wxMemoryInputStream fits(text.data(), text.size());
    EXPECT_EQ(ReadStream(fits, text.size(), document, problem), EStreamRead::Read);
    wxMemoryInputStream longer(text.data(), text.size());
    EXPECT_EQ(ReadStream(longer, text.size() - 1, document, problem), EStreamRead::TooLarge);
    wxMemoryInputStream empty("", 0);
    EXPECT_EQ(ReadStream(empty, 100, document, problem), EStreamRead::Empty);
    wxMemoryInputStream broken("<r>", 3);
    EXPECT_EQ(ReadStream(broken, 100, document, problem), EStreamRead::Malformed);
    EXPECT_EQ(problem, L"XML parsing error: 'no element found' at line 1");
}

}  // namespace
