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

#ifndef DEMO_FOLDER
#error "DEMO_FOLDER must name the examples/demo folder"
#endif

using namespace lum::data;

namespace {

// Every kind of element, layer, animation and value the format has, once.
constexpr const char* kEverything = R"(<?xml version="1.0" encoding="UTF-8"?>
<product title="All" splash-duration="2500" icon-filename="all.ico">
  <base path="files"/>
  <volume name="All" origin="x"><folder name="docs" origin="y"><file name="a.txt" size="3"/></folder></volume>
  <music filename="theme.wav" loop="true"><buffer format="wav"><chunk name="theme.wav" size="4"/></buffer></music>
  <splash name="look.png"/>
  <pages>
    <page name="main" textid="page.main" main="true" usage="normal">
      <xdata><who type="string" value="me"/><rev type="int" value="3"/>
        <area type="rect"><value x="0" y="0" width="8" height="8"/></area></xdata>
      <document version="1">
        <content-box x="0" y="0" width="800" height="600"/>
        <xdata><who type="string" value="me"/></xdata>
        <image name="i" coloured="true" rotation="0" visible="true" mirror-x="false" mirror-y="false"
               text-id="t" content-id="c" content-index="1" modified="false" noscale="false" filename="f">
          <center x="1" y="2"/><size width="3" height="4"/>
          <tags><hint/></tags><groups><group nr="1"/></groups>
          <scale-margins left="1" top="1" right="1" bottom="1" left-factor="0" top-factor="0" right-factor="0" bottom-factor="0"/>
          <attachment-bitmap name="look.png"/>
        </image>
        <text name="t"><attachment-richtextbuffer name="text.xml"/></text>
        <text-circle name="tc"><attachment-richtextbuffer name="text.xml"/></text-circle>
        <label name="l" text="x"><font name="DejaVu Sans" pointsize="9" style="90" weight="92" underlined="false"/>
          <color red="1" green="2" blue="3" alpha="4"/></label>
        <table name="tb">
          <rows><row height="32" content-id="r"/></rows>
          <cols><col width="10" visible="true" name="c" content-id="c" hidden-by-theme="false"/></cols>
          <cells><cell margin="6" vertical-align="center" content-id="c"><attachment-richtextbuffer name="text.xml"/></cell></cells>
        </table>
        <shape name="s" shape="rounded-rectangle" corner-radius="4">
          <brush style="100"><color red="1"/></brush><pen style="100" width="2"><color red="1"/></pen>
          <gradient ok="true"><start red="1"/><end blue="1"/></gradient>
        </shape>
        <shape name="f" shape="free-form"><free-form name="freeform.star"><graphic-document>
          <point name="p"><center x="0" y="0"/></point></graphic-document></free-form></shape>
        <rectangle name="r"><brush style="100"/><pen style="100"/></rectangle>
        <circle name="c"/>
        <line name="ln"><start x="0" y="0"/><end x="9" y="9"/></line>
        <paper name="p"/><arrow name="a"/><dimension name="d"/><point name="pt"/><dummy name="du"/>
        <mirror name="m"><graphic-document><rectangle name="r2"/></graphic-document></mirror>
        <state-button type-name="lum-state-button-action" name="b" label="Go" unique="5">
          <skin type="buttonskin" id="full" unique="6"><states>
            <normal name="normal"><layers>
              <animation horzalign="0" vertalign="0" scaling-enabled="true" scaling-proportional="false" uriprop="u">
                <content-margins left="0" top="0" right="0" bottom="0"/>
                <scale-margins left="1" top="1" right="1" bottom="1"/>
                <attachment-bitmap name="look.png"/>
                <props><prop-a value="1"/></props>
              </animation>
              <text horzalign="0.5" vertalign="0.5" halo-enabled="true" multiline-enabled="false" prop="p">
                <font name="DejaVu Sans" pointsize="9"/><color red="1"/><halo-color red="2"/>
                <shadow-color red="3"/><shadow-rel-position x="1" y="1"/>
              </text>
              <custom id="c"><shape type="shapeskin"/></custom>
            </layers></normal>
            <hover name="hover"/><down name="down"/><hover_low/><disabled/><selected/>
          </states></skin>
          <attachment-bitmap name="look.png"/>
          <action type="change-page" change-page="goto-page" page="main" valid="true" command="c"
                  file="f" params="p" folder="d" website="w" e-mail="e" language="de-de"/>
        </state-button>
        <state-button type-name="skin-button" name="sb" hint="h"/>
        <state-button name="plain" label="x" hint="h"/>
        <animation type-name="animation-image" name="an">
          <animation type="animation" count="1" delay="80" loop="true"><frame0 name="look.png"/></animation>
        </animation>
        <animation type-name="animation-image" name="gif">
          <animation type="gif" count="1" loop="true"><size x="8" y="8"/>
            <frame0 delay="120"><frame name="look.png"/></frame0></animation>
        </animation>
      </document>
    </page>
  </pages>
  <clientsize width="800" height="600"/>
  <translations><translation id="t" language="de-de" default="d" translation="x"/></translations>
</product>
)";

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
    // Loads the product with the real loader from a content file of its own, while listening.
    void Load(const std::string& product, CAskedNames& asked) {
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
    Load(kEverything, asked);
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
