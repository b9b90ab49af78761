#include <gtest/gtest.h>

#include <vector>

#include "ContentFile.h"
#include "lum/data/Action.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"

using lum::data::CAction;
using lum::data::EActionType;
using lum::data::EChangePageKind;

namespace {

tarn::P<CAction> ReadAction(const std::string& xml) {
    const auto document = lumtest::ParseXml(xml);
    auto action = tarn::New<CAction>();
    action->ReadXml(*document->GetRoot(), nullptr);
    return action;
}

std::vector<std::pair<wxString, wxString>> Attributes(const wxXmlNode& node) {
    std::vector<std::pair<wxString, wxString>> out;
    for (const wxXmlAttribute* a = node.GetAttributes(); a; a = a->GetNext()) {
        out.emplace_back(a->GetName(), a->GetValue());
    }
    return out;
}

}  // namespace

TEST(ActionConversion, TextsMatchWithoutCaseAndUnknownOnesRaise) {
    EXPECT_EQ(CAction::TypeFromText(L"Run-File"), EActionType::RunFile);
    EXPECT_EQ(CAction::TypeFromText(L"RUN-LOCAL-FILE"), EActionType::RunLocalFile);
    EXPECT_EQ(CAction::ChangePageKindFromText(L"Goto-Page"), EChangePageKind::GotoPage);
    EXPECT_THROW(CAction::TypeFromText(L"run file"), tarn::CException);
    EXPECT_THROW(CAction::TypeFromText(L""), tarn::CException);
    EXPECT_EQ(CAction::FindType(L"Open-Website"), EActionType::OpenWebsite);
    EXPECT_EQ(CAction::FindType(L"undefined"), EActionType::Undefined);
    EXPECT_EQ(CAction::FindType(L"run-file "), std::nullopt);
    EXPECT_EQ(CAction::FindChangePageKind(L"GO-BACK"), EChangePageKind::GoBack);
    EXPECT_EQ(CAction::FindChangePageKind(L"goto"), std::nullopt);
    try {
        CAction::ChangePageKindFromText(L"goto");
        ADD_FAILURE() << "no error";
    } catch (const tarn::CException& e) {
        EXPECT_EQ(e.GetDescription(), L"Unknown Change page type");
    }
}

TEST(ActionConversion, EveryValueRoundTripsAndOutOfRangeRaises) {
    for (int i = 0; i <= 10; ++i) {
        const auto type = static_cast<EActionType>(i);
        EXPECT_EQ(CAction::TypeFromText(CAction::TypeToText(type)), type);
    }
    for (int i = 0; i <= 2; ++i) {
        const auto kind = static_cast<EChangePageKind>(i);
        EXPECT_EQ(CAction::ChangePageKindFromText(CAction::ChangePageKindToText(kind)), kind);
    }
    EXPECT_EQ(CAction::TypeToText(EActionType::OpenLocalFolder), L"open-local-folder");
    EXPECT_THROW(CAction::TypeToText(static_cast<EActionType>(11)), tarn::CException);
    EXPECT_THROW(CAction::TypeToText(static_cast<EActionType>(-1)), tarn::CException);
    EXPECT_THROW(CAction::ChangePageKindToText(static_cast<EChangePageKind>(3)), tarn::CException);
}

TEST(ActionRead, TypeTextsAndValidFlag) {
    EXPECT_EQ(ReadAction("<action type=\"Run-File\"/>")->GetType(), EActionType::RunFile);
    // An unreadable type is not an error: the action stays undefined.
    const auto blank = ReadAction("<action type=\"run file\" file=\"a.exe\"/>");
    EXPECT_EQ(blank->GetType(), EActionType::Undefined);
    EXPECT_EQ(blank->GetFile(), L"a.exe");
    EXPECT_TRUE(ReadAction("<action/>")->IsValid());
    EXPECT_TRUE(ReadAction("<action valid=\"TRUE\"/>")->IsValid());
    EXPECT_FALSE(ReadAction("<action valid=\"yes\"/>")->IsValid());
}

TEST(ActionRead, ChangePageEmptyIsIgnoredUnknownRaises) {
    const auto action = ReadAction("<action type=\"change-page\" change-page=\"\"/>");
    EXPECT_EQ(action->GetChangePageKind(), EChangePageKind::GoBack);
    EXPECT_EQ(ReadAction("<action change-page=\"GOTO-MAINPAGE\"/>")->GetChangePageKind(),
              EChangePageKind::GotoMainPage);
    EXPECT_THROW(ReadAction("<action change-page=\"next-page\"/>"), tarn::CException);
}

TEST(ActionRead, OnlyPresentAttributesChangeFields) {
    const auto document = lumtest::ParseXml(
        "<action type=\"send-mail\" e-mail=\"a@b.c\" website=\"w\" page=\"p\" folder=\"f\" "
        "file=\"x\" command=\"c\" params=\"-q\" language=\"de-de\" valid=\"false\"/>");
    auto action = tarn::New<CAction>();
    action->ReadXml(*document->GetRoot(), nullptr);
    EXPECT_EQ(action->GetEMail(), L"a@b.c");
    EXPECT_EQ(action->GetWebsite(), L"w");
    EXPECT_EQ(action->GetPage(), L"p");
    EXPECT_EQ(action->GetFolder(), L"f");
    EXPECT_EQ(action->GetCommand(), L"c");
    EXPECT_EQ(action->GetParams(), L"-q");
    EXPECT_EQ(action->GetLanguage(), L"de-de");

    const auto partial = lumtest::ParseXml("<action type=\"nonsense\" file=\"y\"/>");
    action->ReadXml(*partial->GetRoot(), nullptr);
    EXPECT_EQ(action->GetType(), EActionType::SendMail);
    EXPECT_FALSE(action->IsValid());
    EXPECT_EQ(action->GetFile(), L"y");
    EXPECT_EQ(action->GetEMail(), L"a@b.c");
}

TEST(ActionWrite, NewActionWritesElevenAttributesInOrder) {
    wxXmlNode node(wxXML_ELEMENT_NODE, "action");
    tarn::New<CAction>()->WriteXml(node, nullptr);
    const std::vector<std::pair<wxString, wxString>> expected{
        {"e-mail", ""}, {"website", ""}, {"command", ""},   {"params", ""},
        {"language", ""}, {"page", ""},  {"folder", ""},    {"file", ""},
        {"valid", "true"}, {"type", "undefined"}, {"change-page", "go-back"}};
    EXPECT_EQ(Attributes(node), expected);
}

TEST(ActionWrite, WritingTwiceKeepsOneOfEachAndReadsBack) {
    auto action = tarn::New<CAction>();
    action->SetType(EActionType::ChangePage);
    action->SetChangePageKind(EChangePageKind::GotoPage);
    action->SetPage(L"Extras & \"more\"");
    action->SetValid(false);
    wxXmlNode node(wxXML_ELEMENT_NODE, "action");
    node.AddAttribute("type", "custom");
    action->WriteXml(node, nullptr);
    action->WriteXml(node, nullptr);
    EXPECT_EQ(Attributes(node).size(), 11u);

    auto copy = tarn::New<CAction>();
    copy->ReadXml(node, nullptr);
    EXPECT_EQ(copy->GetType(), EActionType::ChangePage);
    EXPECT_EQ(copy->GetChangePageKind(), EChangePageKind::GotoPage);
    EXPECT_EQ(copy->GetPage(), L"Extras & \"more\"");
    EXPECT_FALSE(copy->IsValid());
}

TEST(ActionWrite, OutOfRangeTypeOrKindIsRefusedAndLeavesTheNodeAsItWas) {
    // A node that already holds an action: a refused write must not mix new fields with the
    // old type, which would read back as a different, working action.
    wxXmlNode node(wxXML_ELEMENT_NODE, "action");
    auto old = tarn::New<CAction>();
    old->SetType(EActionType::RunFile);
    old->SetFile(L"setup.exe");
    old->WriteXml(node, nullptr);
    const auto before = Attributes(node);

    auto badType = tarn::New<CAction>();
    badType->SetType(static_cast<EActionType>(42));
    badType->SetFile(L"other.exe");
    try {
        badType->WriteXml(node, nullptr);
        ADD_FAILURE() << "an out-of-range type was written";
    } catch (const tarn::CException& e) {
        EXPECT_EQ(e.GetDescription(), L"Unknown Action type");
    }
    EXPECT_EQ(Attributes(node), before);

    auto badKind = tarn::New<CAction>();
    badKind->SetType(EActionType::ChangePage);
    badKind->SetChangePageKind(static_cast<EChangePageKind>(-1));
    badKind->SetPage(L"elsewhere");
    EXPECT_THROW(badKind->WriteXml(node, nullptr), tarn::CException);
    EXPECT_EQ(Attributes(node), before);

    auto reread = tarn::New<CAction>();
    reread->ReadXml(node, nullptr);
    EXPECT_EQ(reread->GetType(), EActionType::RunFile);
    EXPECT_EQ(reread->GetFile(), L"setup.exe");
}

TEST(ActionAssign, CopiesEveryFieldWithoutSharing) {
    auto source = tarn::New<CAction>();
    source->SetType(EActionType::OpenFolder);
    source->SetChangePageKind(EChangePageKind::GotoMainPage);
    source->SetValid(false);
    source->SetEMail(L"e");
    source->SetWebsite(L"w");
    source->SetPage(L"p");
    source->SetFolder(L"docs");
    source->SetFile(L"f");
    source->SetCommand(L"c");
    source->SetParams(L"x");
    source->SetLanguage(L"fr-fr");
    auto copy = tarn::New<CAction>();
    copy->Assign(*source);

    wxXmlNode a(wxXML_ELEMENT_NODE, "action");
    wxXmlNode b(wxXML_ELEMENT_NODE, "action");
    source->WriteXml(a, nullptr);
    copy->WriteXml(b, nullptr);
    EXPECT_EQ(Attributes(a), Attributes(b));

    copy->SetFolder(L"other");
    EXPECT_EQ(source->GetFolder(), L"docs");

    // The reference counts stay each object's own: a copied count would free an object
    // still held, or never free one.
    const tarn::P<CAction> second = source;
    ASSERT_EQ(source->GetRefCount(), 2);
    copy->Assign(*source);
    EXPECT_EQ(copy->GetRefCount(), 1);
    EXPECT_EQ(source->GetRefCount(), 2);
    EXPECT_EQ(copy->GetFolder(), L"docs");
    copy->Assign(*copy);
    EXPECT_EQ(copy->GetFolder(), L"docs");
}

TEST(ActionDescription, EnglishTexts) {
    CAction action;
    EXPECT_EQ(action.GetDescription(), L"Undefined");
    action.SetType(EActionType::RunFile);
    EXPECT_EQ(action.GetDescription(), L"Run file");
    action.SetFile(L"setup.exe");
    EXPECT_EQ(action.GetDescription(), L"Run file 'setup.exe'");
    action.SetType(EActionType::RunLocalFile);
    EXPECT_EQ(action.GetDescription(), L"Run file 'setup.exe'");
    action.SetType(EActionType::ChangePage);
    EXPECT_EQ(action.GetDescription(), L"Go back");
    action.SetChangePageKind(EChangePageKind::GotoMainPage);
    EXPECT_EQ(action.GetDescription(), L"Goto mainpage");
    action.SetChangePageKind(EChangePageKind::GotoPage);
    EXPECT_EQ(action.GetDescription(), L"Goto page");
    action.SetPage(L"100% Extras");
    EXPECT_EQ(action.GetDescription(), L"Goto page '100% Extras'");
    action.SetChangePageKind(static_cast<EChangePageKind>(7));
    EXPECT_EQ(action.GetDescription(), L"");
    action.SetType(EActionType::SendMail);
    action.SetEMail(L"info@example.org");
    EXPECT_EQ(action.GetDescription(), L"Send an E-Mail to info@example.org");
    action.SetType(EActionType::OpenLocalFolder);
    EXPECT_EQ(action.GetDescription(), L"Open folder");
    action.SetType(EActionType::OpenWebsite);
    action.SetWebsite(L"https://example.org");
    EXPECT_EQ(action.GetDescription(), L"Open website 'https://example.org'");
    action.SetType(EActionType::ChangeLanguage);
    action.SetLanguage(L"de-de");
    EXPECT_EQ(action.GetDescription(), L"Change language to de-de");
    action.SetType(EActionType::QuitProgram);
    EXPECT_EQ(action.GetDescription(), L"Quit program");
    action.SetType(EActionType::Custom);
    EXPECT_EQ(action.GetDescription(), L"Custom action");
    action.SetType(static_cast<EActionType>(11));
    EXPECT_EQ(action.GetDescription(), L"");
}

TEST(ActionDescription, UsesTheGlobalLocalizer) {
    const auto localizer = tarn::GetGlobalLocalizer();
    localizer->Set(L"lumCAction.RunFileX", L"Datei '%FILE%' starten");
    CAction action;
    action.SetType(EActionType::RunFile);
    action.SetFile(L"setup.exe");
    const std::wstring text = action.GetDescription();
    localizer->Set(L"lumCAction.RunFileX", L"");
    EXPECT_EQ(text, L"Datei 'setup.exe' starten");
}
