// Dialog resources can place a view by its class name.

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include "graphics/components/View.h"
#include "graphics/components/ViewXmlHandler.h"

namespace {

using graphics::components::CView;

TEST(ViewXmlHandlerTest, CreatesAViewWithTheResourcesSizeAndId) {
    wxXmlResource resources(wxXRC_NO_SUBCLASSING);
    resources.InitAllHandlers();
    resources.AddHandler(new graphics::components::CViewXmlHandler);
    wxStringInputStream text(R"(<?xml version="1.0"?>
<resource xmlns="http://www.wxwidgets.org/wxxrc" version="2.5.3.0">
  <object class="wxPanel" name="page_panel">
    <object class="CView" name="page_view">
      <pos>10,20</pos>
      <size>200,120</size>
    </object>
  </object>
</resource>)");
    auto* document = new wxXmlDocument(text);
    ASSERT_TRUE(document->IsOk());
    ASSERT_TRUE(resources.LoadDocument(document, "views"));

    auto* frame = new wxFrame(nullptr, wxID_ANY, "xrc");
    wxPanel* panel = resources.LoadPanel(frame, "page_panel");
    ASSERT_NE(panel, nullptr);
    auto* view = dynamic_cast<CView*>(panel->FindWindow(XRCID("page_view")));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetSize(), wxSize(200, 120));
    EXPECT_EQ(view->GetPosition(), wxPoint(10, 20));
    EXPECT_TRUE(view->HasFlag(wxWANTS_CHARS));
    // A fresh view: no scrollbars, the default margins and zoom.
    EXPECT_EQ(view->GetViewRect(false).width, 200);
    EXPECT_EQ(view->GetMargin(0), 4);
    EXPECT_EQ(view->GetZoomMode(), graphics::EZoomMode::Fit);
    frame->Destroy();
}

}  // namespace
