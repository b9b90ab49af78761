#pragma once
// Reads an XML text into the toolkit's document in one pass of the parser. The toolkit's own
// loader hands expat the text in small pieces, and expat scans a token that spans pieces from
// its start again for each one: a single long comment or attribute took minutes. Here the
// whole text goes to the parser in one call, and every node is linked in constant time, so a
// text of any length is read in time that grows with its length.
//
// The tree is the one the toolkit's loader makes, less comments: text that is only white space
// between elements is left out, processing instructions are kept, names and values are Unicode
// whatever encoding the text declares.

#include <wx/stream.h>
#include <wx/xml/xml.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace graphics::xml {

// Elements nested deeper than this are refused: what reads the tree, and the tree's own
// destructor, recurse once for each level.
inline constexpr int kMaxDepth = 256;
// Longer attribute values are refused: no menu needs one, and each costs four times its
// length as text. Text between tags may be longer (a rich text holds its pictures so).
inline constexpr std::size_t kMaxAttributeBytes = std::size_t{1} << 20;

// Replaces the document with the tree of text. False, with the reason in the toolkit's words
// ("XML parsing error: 'mismatched tag' at line 2"), when the text is not well-formed, nests
// too deep, holds too long an attribute, declares entities, is in a multibyte encoding other
// than UTF-8 and UTF-16, or has no root element; the document is then left empty.
bool ReadDocument(std::string_view text, wxXmlDocument& document, std::wstring& problem);

// What ReadStream found.
enum class EStreamRead { Read, TooLarge, Empty, Malformed };

// Reads at most limit bytes of the stream and then the tree from them; a stream that holds
// more is refused without parsing, and one whose length says so before reading. The document
// is empty unless Read; the reason of a malformed text goes to problem. When Read, the text
// itself goes to text if given.
EStreamRead ReadStream(wxInputStream& in, std::size_t limit, wxXmlDocument& document,
                       std::wstring& problem, std::string* text = nullptr);

}  // namespace graphics::xml
