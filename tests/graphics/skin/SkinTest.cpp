#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/skin/AnimationLayer.h"
#include "graphics/skin/CustomLayer.h"
#include "graphics/skin/GraphicElementSkinFactory.h"
#include "graphics/skin/GraphicSkinButton.h"
#include "graphics/skin/TextLayer.h"

namespace {

using graphics::CGraphicBase;
using graphics::CPaintMatrixDC;
using namespace graphics::skin;

// A button skin whose states each hold one layer, so that every state can be chosen.
tarn::P<CButtonSkin> FullSkin() {
    auto skin = tarn::New<CButtonSkin>();
    for (const auto& state : skin->GetStates()) state->AddLayer(tarn::New<CTextLayer>());
    return skin;
}

std::wstring StateName(const CGraphicSkinButton& button, int mode) {
    const tarn::P<CState> state = button.GetCurrentState(mode);
    return state ? state->GetName() : L"(none)";
}

void SetFlags(CGraphicSkinButton& button, bool hovered, bool pressed) {
    button.SetFlag(CGraphicBase::kFlagHovered, hovered);
    button.SetFlag(CGraphicBase::kFlagPressed, pressed);
}

TEST(SkinTest, KindsCreateTheirStatesInOrder) {
    auto button = CreateSkin(L"buttonskin");
    ASSERT_TRUE(button);
    std::vector<std::wstring> names;
    for (const auto& state : button->GetStates()) names.push_back(state->GetName());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"hover", L"hover_low", L"down", L"disabled",
                                                L"normal", L"selected"}));
    auto shape = CreateSkin(L"shapeskin");
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->GetStates().size(), 1u);
    EXPECT_EQ(shape->GetTypeName(), L"shapeskin");
    EXPECT_FALSE(CreateSkin(L"ButtonSkin"));
    EXPECT_FALSE(CreateSkin(L""));
    EXPECT_EQ(button->FindState(L"HOVER_low"), button->GetStates()[1]);
    EXPECT_FALSE(button->FindState(L"pressed"));
}

TEST(StateChoiceTest, InteractiveModeFollowsHoverAndPressed) {
    auto button = tarn::New<CGraphicSkinButton>();
    button->SetSkin(FullSkin());
    struct Case {
        bool hovered, pressed;
        const wchar_t* expected;
    };
    for (const Case& c : {Case{false, false, L"normal"}, Case{true, false, L"hover"},
                          Case{true, true, L"down"}, Case{false, true, L"normal"}}) {
        SetFlags(*button, c.hovered, c.pressed);
        EXPECT_EQ(StateName(*button, CPaintMatrixDC::kModeInteractive), c.expected)
            << "hovered " << c.hovered << " pressed " << c.pressed;
        for (int mode : {0, 1, 2, 5}) {
            EXPECT_EQ(StateName(*button, mode), L"normal") << "mode " << mode;
        }
    }
}

TEST(StateChoiceTest, ForcedStateWinsInAnyCaseAndMode) {
    auto button = tarn::New<CGraphicSkinButton>();
    button->SetSkin(FullSkin());
    button->SetForcedState(L"HoVeR");
    for (int mode : {0, 6}) EXPECT_EQ(StateName(*button, mode), L"hover");
    button->SetForcedState(L"Selected");
    SetFlags(*button, true, true);
    EXPECT_EQ(StateName(*button, 6), L"selected");
    button->SetForcedState(L"nothing");
    EXPECT_EQ(StateName(*button, 6), L"(none)");
}

TEST(StateChoiceTest, NoSkinOrAStateWithoutLayersGivesNoState) {
    auto button = tarn::New<CGraphicSkinButton>();
    EXPECT_EQ(StateName(*button, 6), L"(none)");
    auto skin = tarn::New<CButtonSkin>();
    skin->FindState(L"normal")->AddLayer(tarn::New<CTextLayer>());
    button->SetSkin(skin);
    SetFlags(*button, true, false);
    EXPECT_EQ(StateName(*button, 6), L"(none)");  // no "hover" look: the plain one shows
    SetFlags(*button, false, false);
    EXPECT_EQ(StateName(*button, 6), L"normal");
}

const char* const kSkinButtonXml = R"(<state-button type-name="skin-button" label="Go">
  <skin type="buttonskin" id="blue" unique="7">
    <states>
      <normal name="normal"><layers>
        <animation horzalign="0.5" uriprop="icon" scaling-enabled="false"/>
        <bogus/>
        <text prop="label" halo-enabled="true"/>
        <custom id="map"><shape type="shapeskin" unique="9"><states><normal name="normal">
          <layers><animation/></layers></normal></states></shape></custom>
      </layers></normal>
      <Hover name="hover"><layers><text/></layers></Hover>
      <unknown name="unknown"><layers><text/></layers></unknown>
    </states>
  </skin>
</state-button>)";

TEST(SkinXmlTest, ReadsStatesLayersAndSkipsUnknownNames) {
    auto document = testsupport::ParseXml(kSkinButtonXml);
    ASSERT_TRUE(document);
    auto store = tarn::New<skintest::CSharingStore>();
    auto button = tarn::New<CGraphicSkinButton>();
    button->FromXml(*document->GetRoot(), *store);
    EXPECT_EQ(button->GetLabel(), L"Go");
    ASSERT_TRUE(button->GetSkin());
    EXPECT_EQ(button->GetSkin()->GetId(), L"blue");
    const auto& layers = button->GetSkin()->FindState(L"normal")->GetLayers();
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0]->GetKindName(), L"animation");
    EXPECT_DOUBLE_EQ(layers[0]->GetHorzAlign(), 0.5);
    auto picture = tarn::Cast<CAnimationLayer>(layers[0]);
    EXPECT_FALSE(picture->IsScalingEnabled());
    EXPECT_EQ(picture->GetProperty(), L"icon");
    EXPECT_EQ(layers[1]->GetKindName(), L"text");
    auto custom = tarn::Cast<CCustomLayer>(layers[2]);
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->GetId(), L"map");
    ASSERT_TRUE(custom->GetShape());
    EXPECT_EQ(custom->GetShape()->FindState(L"normal")->GetLayers().size(), 1u);
    // State nodes are matched by exact name: "Hover" is not "hover".
    EXPECT_TRUE(button->GetSkin()->FindState(L"hover")->GetLayers().empty());
}

TEST(SkinXmlTest, WritingAndReadingKeepsTheSkin) {
    auto document = testsupport::ParseXml(kSkinButtonXml);
    auto store = tarn::New<skintest::CSharingStore>();
    auto button = tarn::New<CGraphicSkinButton>();
    button->FromXml(*document->GetRoot(), *store);
    wxXmlNode written(wxXML_ELEMENT_NODE, "state-button");
    button->ToXml(written, store.Get());
    const std::string text = testsupport::XmlText(written);
    EXPECT_NE(text.find("<skin type=\"buttonskin\" id=\"blue\" unique="), std::string::npos)
        << text;
    auto fresh = tarn::New<skintest::CSharingStore>();
    auto copy = tarn::New<CGraphicSkinButton>();
    copy->FromXml(written, *fresh);
    ASSERT_TRUE(copy->GetSkin());
    std::vector<std::wstring> names;
    for (const auto& state : copy->GetSkin()->GetStates()) {
        names.push_back(state->GetName() + L":" + std::to_wstring(state->GetLayers().size()));
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"hover:0", L"hover_low:0", L"down:0",
                                                L"disabled:0", L"normal:3", L"selected:0"}));
    auto custom = tarn::Cast<CCustomLayer>(copy->GetSkin()->FindState(L"normal")->GetLayers()[2]);
    ASSERT_TRUE(custom && custom->GetShape());
}

TEST(SkinXmlTest, SkinsAreSharedThroughUnique) {
    auto store = tarn::New<skintest::CSharingStore>();
    auto first = tarn::New<CGraphicSkinButton>();
    auto second = tarn::New<CGraphicSkinButton>();
    auto document = testsupport::ParseXml(kSkinButtonXml);
    first->FromXml(*document->GetRoot(), *store);
    second->FromXml(*document->GetRoot(), *store);
    ASSERT_TRUE(first->GetSkin());
    EXPECT_EQ(first->GetSkin(), second->GetSkin());
    // The shared skin was read once: its layers are not doubled.
    EXPECT_EQ(first->GetSkin()->FindState(L"normal")->GetLayers().size(), 3u);
}

TEST(SkinXmlTest, WrongKindOrMissingStatesLeaveNoSkinOrEmptyStates) {
    auto store = tarn::New<skintest::CSharingStore>();
    auto button = tarn::New<CGraphicSkinButton>();
    auto shape = testsupport::ParseXml(
        R"(<state-button><skin type="shapeskin"><states><normal name="normal"><layers><text/>
           </layers></normal></states></skin></state-button>)");
    button->FromXml(*shape->GetRoot(), *store);
    EXPECT_FALSE(button->GetSkin());
    auto bare = testsupport::ParseXml(R"(<state-button><skin type="buttonskin"/></state-button>)");
    button->FromXml(*bare->GetRoot(), *store);
    ASSERT_TRUE(button->GetSkin());
    for (const auto& state : button->GetSkin()->GetStates()) {
        EXPECT_TRUE(state->GetLayers().empty());
    }
}

TEST(SkinButtonTest, CopySharesTheSkinAndCopiesThePicture) {
    auto source = tarn::New<CGraphicSkinButton>();
    source->SetSkin(FullSkin());
    const wxBitmap picture = testsupport::MakeBitmap(3, 3, *wxRED);
    source->SetPicture(&picture);
    source->SetForcedState(L"hover");
    source->SetLabel(L"Label");
    auto copy = tarn::New<CGraphicSkinButton>();
    copy->CopyFrom(*source);
    EXPECT_EQ(copy->GetSkin(), source->GetSkin());
    ASSERT_NE(copy->GetPicture(L""), nullptr);
    EXPECT_NE(copy->GetPicture(L""), source->GetPicture(L""));
    EXPECT_EQ(copy->GetText(L"anything"), L"Label");
    EXPECT_EQ(StateName(*copy, 0), L"normal");  // the forced state is not copied
    source->SetPicture(nullptr);
    copy->CopyFrom(*source);
    EXPECT_EQ(copy->GetPicture(L""), nullptr);
}

TEST(SkinButtonTest, FactoryMakesSkinButtonsByName) {
    auto factory = tarn::New<CGraphicElementSkinFactory>();
    auto button = tarn::Cast<CGraphicSkinButton>(factory->Create(L"Skin-Button"));
    ASSERT_TRUE(button);
    EXPECT_FALSE(button->GetSkin());
    EXPECT_EQ(button->GetLabel(), L"SkinButton");
    EXPECT_EQ(button->GetSize().width, 200);
    EXPECT_EQ(button->GetType(), graphics::GRAPHIC_STATE_BUTTON);
    EXPECT_FALSE(factory->Create(L"state-button"));
    graphics::RegisterFactory(factory);
    EXPECT_TRUE(tarn::Cast<CGraphicSkinButton>(graphics::NewInstance(L"skin-button")));
    EXPECT_TRUE(tarn::Cast<CGraphicSkinButton>(button->Clone()));
    graphics::UnregisterFactory(factory);
}

TEST(SkinSizeTest, LargestOverLayersAndStates) {
    auto skin = tarn::New<CButtonSkin>();
    auto small = tarn::New<CAnimationLayer>();
    CLayerMargins margins{};
    margins[kMarginLeft] = 30;
    margins[kMarginTop] = 5;
    small->SetScaleMargins(margins);
    auto tall = tarn::New<CAnimationLayer>();
    margins = {};
    margins[kMarginTop] = 40;
    tall->SetContentMargins(margins);
    skin->FindState(L"normal")->AddLayer(small);
    skin->FindState(L"down")->AddLayer(tall);
    const graphics::CDSize size = skin->GetMinSize(nullptr, {});
    EXPECT_DOUBLE_EQ(size.width, 30);
    EXPECT_DOUBLE_EQ(size.height, 40);
    EXPECT_EQ(tarn::New<CShapeSkin>()->GetMinSize(nullptr, {}), graphics::CDSize{});
}


// Every attribute name of the three layer kinds, written as content files write them: a
// misspelt name in a reader leaves its member at the default and fails here.
TEST(SkinXmlTest, LayersReadEveryAttributeByItsName) {
    const char* xml = R"(<layers>
  <animation horzalign="0.25" vertalign="0.75" scaling-enabled="false" scaling-proportional="true"
             uriprop="icon">
    <content-margins left="1" top="2" right="3" bottom="4" left-factor="0.1" top-factor="0.2"
                     right-factor="0.3" bottom-factor="0.4"/>
    <scale-margins left="5" top="6" right="7" bottom="8" left-factor="0.5" top-factor="0.6"
                   right-factor="0.7" bottom-factor="0.8"/>
    <attachment-bitmap name="bitmap0.png"/>
    <props><prop-arrow name="bitmap1.png"/></props>
  </animation>
  <text horzalign="0.5" vertalign="1" halo-enabled="true" multiline-enabled="true" prop="label">
    <content-margins left="9" top="10" right="11" bottom="12"/>
    <font name="DejaVu Serif" pointsize="17" style="93" weight="92" underlined="true"/>
    <color red="10" green="20" blue="30"/>
    <shadow-color red="40" green="50" blue="60" alpha="70"/>
    <halo-color red="80" green="90" blue="100"/>
    <shadow-rel-position x="2.5" y="-1.5"/>
  </text>
  <custom id="map" horzalign="1"/>
</layers>)";
    auto document = testsupport::ParseXml(xml);
    ASSERT_TRUE(document);
    auto store = tarn::New<skintest::CSharingStore>();
    wxXmlNode pictures(wxXML_ELEMENT_NODE, "pictures");
    store->StoreBitmap(pictures, L"own", wxBitmap(3, 2));
    store->StoreBitmap(pictures, L"named", wxBitmap(5, 4));

    const wxXmlNode* node = document->GetRoot()->GetChildren();
    auto picture = tarn::New<CAnimationLayer>();
    picture->FromXml(*node, *store);
    EXPECT_DOUBLE_EQ(picture->GetHorzAlign(), 0.25);
    EXPECT_DOUBLE_EQ(picture->GetVertAlign(), 0.75);
    EXPECT_FALSE(picture->IsScalingEnabled());
    EXPECT_TRUE(picture->IsScalingProportional());
    EXPECT_EQ(picture->GetProperty(), L"icon");
    // Memory order: top, left, right, bottom, then the factors in the same order.
    EXPECT_EQ(picture->GetContentMargins(), (CLayerMargins{2, 1, 3, 4, 0.2, 0.1, 0.3, 0.4}));
    EXPECT_EQ(picture->GetScaleMargins(), (CLayerMargins{6, 5, 7, 8, 0.6, 0.5, 0.7, 0.8}));
    ASSERT_TRUE(picture->GetBitmap());
    EXPECT_EQ(picture->GetBitmap()->GetSize(), wxSize(3, 2));
    picture->SetBitmap(nullptr);
    picture->SetProperty(L"arrow");
    ASSERT_TRUE(picture->FindPicture({}));
    EXPECT_EQ(picture->FindPicture({})->GetSize(), wxSize(5, 4));

    node = node->GetNext();
    auto text = tarn::New<CTextLayer>();
    text->FromXml(*node, *store);
    EXPECT_DOUBLE_EQ(text->GetHorzAlign(), 0.5);
    EXPECT_DOUBLE_EQ(text->GetVertAlign(), 1.0);
    EXPECT_EQ(text->GetContentMargins(), (CLayerMargins{10, 9, 11, 12, 0, 0, 0, 0}));
    EXPECT_TRUE(text->IsHaloEnabled());
    EXPECT_TRUE(text->IsMultiLine());
    EXPECT_EQ(text->GetProperty(), L"label");
    EXPECT_EQ(text->GetFont().GetFaceName(), "DejaVu Serif");
    EXPECT_EQ(text->GetFont().GetPointSize(), 17);
    EXPECT_EQ(text->GetFont().GetStyle(), wxFONTSTYLE_ITALIC);
    EXPECT_EQ(text->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_TRUE(text->GetFont().GetUnderlined());
    EXPECT_EQ(text->GetColour(), wxColour(10, 20, 30));
    EXPECT_EQ(text->GetShadowColour(), wxColour(40, 50, 60, 70));
    EXPECT_EQ(text->GetHaloColour(), wxColour(80, 90, 100));
    EXPECT_DOUBLE_EQ(text->GetShadowOffset().x, 2.5);
    EXPECT_DOUBLE_EQ(text->GetShadowOffset().y, -1.5);

    node = node->GetNext();
    auto custom = tarn::New<CCustomLayer>();
    custom->FromXml(*node, *store);
    EXPECT_EQ(custom->GetId(), L"map");
    EXPECT_DOUBLE_EQ(custom->GetHorzAlign(), 1.0);
}

}  // namespace
