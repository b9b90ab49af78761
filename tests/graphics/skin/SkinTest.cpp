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

}  // namespace
