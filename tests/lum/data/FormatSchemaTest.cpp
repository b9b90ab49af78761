// The schema of product.xml against the readers: every name a reader asks for is one the
// schema has, and the closed lists of values are the readers' own.

#include <gtest/gtest.h>

#include <wx/filename.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "ContentFile.h"
#include "graphics/GraphicElementType.h"
#include "graphics/XmlValues.h"
#include "lum/data/Action.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/FormatSchema.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"
#include "tarn/Text.h"

#ifndef EVERYTHING_PRODUCT
#error "EVERYTHING_PRODUCT must name tests/lum/data/everything.xml"
#endif
#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

using namespace lum::data;

namespace {

constexpr const char* kRichText =
    R"(<?xml version="1.0" encoding="UTF-8"?><richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org"><paragraphlayout><paragraph><text>x</text></paragraph></paragraphlayout></richtext>)";

// Notes every name a reader asks for, with the element it asks it of.
class CAskedNames : public graphics::xml::INameListener {
public:
    CAskedNames() { graphics::xml::SetNameListener(this); }
    ~CAskedNames() override { graphics::xml::SetNameListener(nullptr); }
    void OnChildAsked(const wxString& parent, const wxString& child) override {
        children.insert({parent.Lower().ToStdWstring(), child.ToStdWstring()});
    }
    void OnAttributeAsked(const wxString& element, const wxString& attribute) override {
        attributes.insert({element.Lower().ToStdWstring(), attribute.ToStdWstring()});
    }
    std::set<std::pair<std::wstring, std::wstring>> children;
    std::set<std::pair<std::wstring, std::wstring>> attributes;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether some pattern of an element so named has the attribute (or the child). Patterns of
// any name count only for elements that no pattern names.
bool SchemaHas(const std::wstring& element, const std::wstring& name, bool attribute) {
    const auto& patterns = CFormatSchema::Product().Elements();
    const bool named = std::any_of(patterns.begin(), patterns.end(), [&](const auto& pattern) {
        return !pattern->names.empty() && pattern->Takes(element);
    });
    for (const auto& pattern : patterns) {
        if (!pattern->Takes(element) || (named && pattern->names.empty())) continue;
        if (attribute ? pattern->anyAttribute || pattern->Attribute(name)
                      : pattern->Child(name) != nullptr) {
            return true;
        }
    }
    return false;
}

class FormatSchemaTest : public ::testing::Test {
protected:
    // Loads the product with the real loader from a content file of its own; the listener must
    // be installed while it loads.
    void Load(const std::string& product, const CAskedNames& /*listening*/) {
        const std::wstring content = lumtest::WriteArchive(
            m_folder, "content.lum",
            {{"product.xml", product}, {"look.png", lumtest::PngBytes(8, 8)}, {"text.xml", kRichText}});
        const CElementFactories factories;
        auto loaded = tarn::New<CProduct>();
        ASSERT_NO_THROW(loaded->Load(wxFileName(content)));
        ASSERT_GT(loaded->GetPageCount(), 0u);
    }

    void ExpectAllInSchema(const CAskedNames& asked) {
        for (const auto& [element, name] : asked.attributes) {
            // Asked of every element to choose its kind; only buttons and animations have one.
            if (name == L"type-name") continue;
            EXPECT_TRUE(SchemaHas(element, name, true))
                << "readers ask <" << wxString(element) << "> for the attribute '" << wxString(name)
                << "', which the schema does not have";
        }
        for (const auto& [parent, name] : asked.children) {
            EXPECT_TRUE(SchemaHas(parent, name, false))
                << "readers ask <" << wxString(parent) << "> for the child <" << wxString(name)
                << ">, which the schema does not have";
        }
    }

    testsupport::TempFolder m_folder;
};

TEST_F(FormatSchemaTest, ReadersAskOnlyForNamesTheSchemaHas) {
    CAskedNames asked;
    // Every kind of element, layer, animation and value the format has, once.
    Load(ReadFile(EVERYTHING_PRODUCT), asked);
    Load(ReadFile(std::string(DEMO_FOLDER) + "/product.xml"), asked);
    Load(ReadFile(std::string(DEMO_FOLDER) + "/../blank/product.xml"), asked);
    // The listener heard the readers at all, down to skins' layers and animations' frames.
    EXPECT_TRUE(asked.attributes.count({L"action", L"website"}));
    EXPECT_TRUE(asked.attributes.count({L"text", L"halo-enabled"}));
    EXPECT_TRUE(asked.children.count({L"animation", L"frame0"}));
    ExpectAllInSchema(asked);
}

TEST_F(FormatSchemaTest, TheSchemaKnowsEveryActionTypeAndPageChange) {
    const SSchemaElement* action = nullptr;
    for (const auto& pattern : CFormatSchema::Product().Elements()) {
        if (pattern->Takes(L"action") && !pattern->names.empty()) action = pattern.get();
    }
    ASSERT_NE(action, nullptr);
    const auto has = [&](const wchar_t* attribute, const std::wstring& value) {
        const SSchemaAttribute* found = action->Attribute(attribute);
        return found && std::find(found->values.begin(), found->values.end(), value) !=
                            found->values.end();
    };
    std::size_t types = 0;
    for (int i = 0;; ++i) {
        std::wstring text;
        try {
            text = CAction::TypeToText(static_cast<EActionType>(i));
        } catch (const tarn::CException&) {
            break;
        }
        ++types;
        EXPECT_TRUE(has(L"type", text)) << wxString(text);
    }
    EXPECT_EQ(action->Attribute(L"type")->values.size(), types);
    for (int i = 0; i < 3; ++i) {
        const auto kind = CAction::ChangePageKindToText(static_cast<EChangePageKind>(i));
        EXPECT_TRUE(has(L"change-page", kind)) << wxString(kind);
    }
}

TEST_F(FormatSchemaTest, TheSchemaKnowsEveryElementTagThatLoads) {
    const SSchemaElement* pages = CFormatSchema::Product().Root().Child(L"pages");
    ASSERT_NE(pages, nullptr);
    const SSchemaElement* document = pages->Child(L"page")->Child(L"document");
    ASSERT_NE(document, nullptr);
    for (int type = 0; type < graphics::kGraphicTypeCount; ++type) {
        // These two stop a menu from loading: no menu may have them.
        if (type == graphics::GRAPHIC_BASE || type == graphics::GRAPHIC_CUSTOM) continue;
        const std::wstring tag = graphics::GraphicTypeToXml(type);
        EXPECT_NE(document->Child(tag), nullptr) << wxString(tag);
    }
    EXPECT_EQ(document->Child(L"base"), nullptr);
    EXPECT_EQ(document->Child(L"lum-button"), nullptr);
}

TEST_F(FormatSchemaTest, ASchemaOfUnknownFormsIsRefusedWithTheReason) {
    const auto refused = [](const std::string& text) {
        try {
            CFormatSchema schema(text);
        } catch (const tarn::CException& error) {
            return wxString(error.GetDescription()).utf8_string();
        }
        return std::string("(read)");
    };
    const std::string ns = "xmlns=\"http://relaxng.org/ns/structure/1.0\"";
    EXPECT_NE(refused("<grammar " + ns + "><start><element name=\"a\"><externalRef href=\"x\"/>"
                      "</element></start></grammar>").find("externalRef"), std::string::npos);
    EXPECT_NE(refused("<grammar " + ns + "><start><element name=\"a\"><ref name=\"b\"/></element>"
                      "</start></grammar>").find("undefined ref b"), std::string::npos);
    EXPECT_NE(refused("<grammar " + ns + "><start><element name=\"a\"><ref name=\"b\"/></element>"
                      "</start><define name=\"b\"><ref name=\"b\"/></define></grammar>")
                  .find("circle"), std::string::npos);
    EXPECT_NE(refused("<grammar").find("not well-formed"), std::string::npos);
}

}  // namespace
