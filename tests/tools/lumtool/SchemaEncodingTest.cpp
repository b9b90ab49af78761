// The schema applied to a product.xml in a single-byte encoding other than Latin-1, as menus
// made on Windows are often saved: libxml2 without iconv (the Windows build) reads it all the
// same, once the check hands it over in UTF-8.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SchemaValidation.h"
#include "lum/data/FormatSchema.h"

namespace {

const std::string kWindowsProduct =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
    "<product title=\"Caf\xe9 \x80 5\">\n"
    "  <pages><page name=\"main\"><document version=\"1\"/></page></pages>\n"
    "  <clientsize width=\"800\" height=\"600\"/>\n"
    "</product>\n";

TEST(SchemaEncodingTest, AWindowsCodePageIsValidatedAsUtf8OnItsOwnLines) {
    const std::string converted = lumtool::InLibxmlEncoding(kWindowsProduct);
    EXPECT_EQ(converted.substr(0, 38), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    EXPECT_NE(converted.find("Caf\xc3\xa9 \xe2\x82\xac 5"), std::string::npos) << converted;
    EXPECT_EQ(std::count(converted.begin(), converted.end(), '\n'),
              std::count(kWindowsProduct.begin(), kWindowsProduct.end(), '\n'));
    EXPECT_TRUE(
        lumtool::ValidateWithSchema(kWindowsProduct, lum::data::CFormatSchema::ProductText())
            .empty());

    // What libxml2 reads itself, and a declaration without an encoding, pass as they are.
    for (const std::string& text :
         {std::string("<?xml version='1.0' encoding='ISO-8859-1'?><product/>"),
          std::string("<?xml version=\"1.0\"?><product title=\"\xc3\xa9\"/>"),
          std::string("<product/>")}) {
        EXPECT_EQ(lumtool::InLibxmlEncoding(text), text);
    }
}

}  // namespace
