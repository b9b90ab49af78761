// Reading errors of product.xml name where they happened (page, element position, tag and
// name) after the readers' own texts, which stay as they are, and list the valid values of
// closed lists.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ContentFile.h"
#include "graphics/GraphicElementFactory.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace {

using lum::data::CProduct;

class LoadPlaceTest : public testing::Test {
protected:
    // The description of the error loading the product raises ("" when none).
    std::wstring LoadError(const std::string& pages,
                           const std::map<std::string, std::string>& files = {}) {
        std::map<std::string, std::string> entries = files;
        entries["product.xml"] = "<product title=\"T\"><pages>" + pages + "</pages></product>";
        const auto product = tarn::New<CProduct>();
        try {
            product->Load(wxFileName(lumtest::WriteArchive(
                m_folder, "m" + std::to_string(++m_count) + ".lum", entries)));
        } catch (const tarn::CException& error) {
            EXPECT_EQ(product->GetPageCount(), 0u);
            return error.GetDescription();
        }
        return {};
    }

    lum::data::CElementFactories m_factories;
    testsupport::TempFolder m_folder;
    int m_count = 0;
};

const std::string kIntro = "<page name=\"intro\"><document/></page>";

std::string Page(const std::string& attributes, const std::string& elements) {
    return "<page " + attributes +
           "><document version=\"1\">"
           "<content-box x=\"0\" y=\"0\" width=\"640\" height=\"480\"/>" +
           elements + "</document></page>";
}

std::string Button(const std::string& name, const std::string& action,
                   const std::string& typeName = "lum-state-button-action") {
    return "<state-button type-name=\"" + typeName + "\" name=\"" + name + "\">" + action +
           "</state-button>";
}

TEST_F(LoadPlaceTest, AnUnknownChangePageKindNamesItsValueTheValidOnesAndItsPlace) {
    // Only elements count: the content box, a comment and an unknown tag do not.
    const std::wstring error = LoadError(
        kIntro +
        Page("name=\"main\"",
             "<rectangle/><!-- a note --><rectangle name=\"plate\"/><note/>" +
                 Button("odd", "<action type=\"change-page\" change-page=\"sideways\"/>")));
    EXPECT_EQ(error,
              L"Unknown Change page type 'sideways' (valid: go-back, goto-mainpage, goto-page)"
              L", in page 'main', element 3 (state-button 'odd')");
}

TEST_F(LoadPlaceTest, ErrorsOfTheElementReadersKeepTheirTextsBeforeThePlace) {
    // A misspelled type-name, on a page without a name: the page's position stands for it.
    EXPECT_EQ(LoadError(kIntro + Page("", Button("go", "", "lum-button"))),
              L"CSheetItemFormat.NewInstance unknwown type: lum-button (valid: "
              L"lum-state-button-action, state-button-action, skin-button, animation-image), "
              L"in page 2, element 1 (state-button 'go')");
    EXPECT_EQ(LoadError(Page("name=\"main\"", "<rectangle/><shape shape=\"roundrect\"/>")),
              L"ShapeTypeFromXml. Unknwown type:roundrect (valid: rectangle, rounded-rectangle, "
              L"ellipse, free-form), in page 'main', element 2 (shape)");
    EXPECT_EQ(LoadError(Page("name=\"prices\"",
                             "<table name=\"list\"><rows><row height=\"32\"/></rows>"
                             "<cols><col width=\"100\"/></cols><cells><cell margin=\"6\"/></cells>"
                             "</table>")),
              L"VerticalAlignFromXml. Unknown Align String (valid: top, center, bottom), "
              L"in page 'prices', element 1 (table 'list')");
    // No closed list: the place alone.
    EXPECT_EQ(LoadError(Page("name=\"main\"", "<animation name=\"spin\"/>")),
              L"CSheetItemFormat.NewInstance unknwown type, in page 'main', element 1 "
              L"(animation 'spin')");
    // One sharing id for a button's skin and an image.
    EXPECT_EQ(
        LoadError(Page("name=\"main\"",
                       Button("b", "<skin type=\"buttonskin\" unique=\"5\"><states/></skin>") +
                           "<image name=\"a\" unique=\"5\"/>")),
        L"Error get reuseable resource. Type different, in page 'main', element 2 "
        L"(image 'a')");
}

TEST_F(LoadPlaceTest, AnErrorInsideAnElementIsPlacedAtTheElementOfThePage) {
    // The button inside a mirror's own document: the mirror is what the page holds.
    const std::wstring error =
        LoadError(Page("name=\"main\"",
                       "<image name=\"bg\"/><mirror name=\"reflection\"><graphic-document>" +
                           Button("inner", "<action type=\"change-page\" change-page=\"next\"/>") +
                           "</graphic-document></mirror>"));
    EXPECT_EQ(error.rfind(L"Unknown Change page type 'next' (valid: ", 0), 0u) << error;
    EXPECT_NE(error.find(L", in page 'main', element 2 (mirror 'reflection')"), std::wstring::npos)
        << error;
    // A good menu still loads.
    EXPECT_EQ(
        LoadError(kIntro + Page("name=\"main\"", Button("b", "<action type=\"quit-program\"/>"))),
        L"");
}

// The names the error lists are the ones that make elements, and only those.
TEST_F(LoadPlaceTest, TheListedTypeNamesAreTheKindsTheFactoriesMake) {
    for (const std::wstring& name : lum::data::CElementFactories::TypeNames()) {
        EXPECT_TRUE(graphics::NewInstance(name)) << tarn::ToUtf8(name);
    }
    EXPECT_THROW(graphics::NewInstance(L"lum-button"), tarn::CException);
}

}  // namespace
