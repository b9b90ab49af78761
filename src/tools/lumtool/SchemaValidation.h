#pragma once
// Validates product.xml against the format's RELAX NG schema with libxml2.

#include <string>
#include <string_view>
#include <vector>

namespace lumtool {

// What the schema does not accept in the text, one line each with its line number ("line 9:
// ..."), at most limit lines; empty when it validates. A text or schema that libxml2 cannot
// read gives one line that says so.
std::vector<std::string> ValidateWithSchema(std::string_view text, const char* schema,
                                            std::size_t limit = 5);

// The text in UTF-8 with its declaration saying so, for a text in another single-byte
// encoding: libxml2 built without iconv (as for Windows) reads only UTF-8, UTF-16 and
// Latin-1 itself. The lines stay where they were. The text as it is when it is in one of
// those already, declares none, or does not convert.
std::string InLibxmlEncoding(std::string_view text);

}  // namespace lumtool
