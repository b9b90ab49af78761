#include "ViewFixture.h"

#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/settings.h>

#include "EventLoop.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/RichText.h"

namespace testsupport {

using namespace graphics;
using namespace std::chrono_literals;

void CAnimatedRectangle::Paint(CPaintMatrixDC& dc) {
    ++paints;
    CGraphicRectangle::Paint(dc);
    if (delay > 0) dc.RequestRedraw(delay);
}

tarn::P<CGraphicStateButton> MakeButton(const std::wstring& name, double x, double y,
                                        double width, double height, const std::wstring& hint) {
    auto button = tarn::New<CGraphicStateButton>();
    button->SetName(name);
    button->SetLabel(name);
    button->SetSize({width, height});
    button->SetCenter({x + width / 2, y + height / 2});
    button->SetHint(hint);
    return button;
}

tarn::P<CGraphicText> MakeText(const std::wstring& text, double x, double y, double width,
                               double height) {
    auto element = tarn::Cast<CGraphicText>(NewInstance(GRAPHIC_TEXT));
    auto buffer = NewRichTextBuffer();
    auto* paragraph = new wxRichTextParagraph(buffer.get());
    paragraph->AppendChild(new wxRichTextPlainText(text, paragraph));
    buffer->AppendChild(paragraph);
    buffer->UpdateRanges();
    element->SetBuffer(std::move(buffer));
    element->SetSize({width, height});
    element->SetCenter({x + width / 2, y + height / 2});
    return element;
}

std::wstring PlainText(const CGraphicText& text) {
    return text.GetBuffer() ? text.GetBuffer()->GetText().ToStdWstring() : std::wstring();
}

tarn::P<CGraphicRectangle> MakeRectangle(double x, double y, double width, double height,
                                         const wxColour& colour) {
    auto rectangle = tarn::New<CGraphicRectangle>();
    rectangle->SetSize({width, height});
    rectangle->SetCenter({x + width / 2, y + height / 2});
    rectangle->SetBrush(wxBrush(colour));
    rectangle->SetPen(*wxTRANSPARENT_PEN);
    return rectangle;
}

CRecordingControl* ViewFixture::MakeControl(wxWindow* parent) {
    auto* control = new CRecordingControl(parent, wxID_ANY, wxDefaultPosition,
                                                 wxDefaultSize, wxBORDER_NONE);
    control->SetZoomMode(EZoomMode::Fixed);
    control->SetPlacementMode(components::EPlacementMode::TopLeft);
    control->InstallAccelerators();
    for (int i = 0; i < 4; ++i) control->SetMargin(i, 0);
    control->SetDefaultBackgroundStyle();
    control->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    control->SetClickHandler(this);
    return control;
}

void ViewFixture::SetUp() {
    frame = new wxFrame(nullptr, wxID_ANY, "view test", wxPoint(50, 50), wxDefaultSize,
                        wxCAPTION | wxCLOSE_BOX | wxCLIP_CHILDREN);
    view = MakeControl(frame);
    frame->SetClientSize(400, 300);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(view, 1, wxEXPAND);
    frame->SetSizer(sizer);
    frame->Layout();
    frame->Show();
    frame->Raise();
    mouse = std::make_unique<wxUIActionSimulator>();
    ASSERT_TRUE(WaitFor([&] { return view->IsShownOnScreen() && view->GetClientSize().x == 400; }));
    Settle(300ms);
}

void ViewFixture::TearDown() {
    // Park the pointer away so the next test starts outside every window.
    mouse->MouseMove(1, 1);
    Settle(50ms);
    frame->Destroy();
    Settle(50ms);
}

void ViewFixture::MoveTo(int x, int y) {
    const wxPoint screen = view->ClientToScreen(wxPoint(x, y));
    mouse->MouseMove(screen);
    Settle();
}

void ViewFixture::Press(int button) {
    mouse->MouseDown(button);
    Settle();
}

void ViewFixture::Release(int button) {
    mouse->MouseUp(button);
    Settle();
}

void ViewFixture::Settle(std::chrono::milliseconds time) {
    wxYield();
    RunEventsFor(time);
}

bool ViewFixture::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return RunEventsUntil(done, limit);
}

wxImage ViewFixture::Capture() {
    view->Refresh(false);
    view->Update();
    Settle(100ms);
    const wxSize size = view->GetClientSize();
    const wxPoint origin = view->ClientToScreen(wxPoint(0, 0));
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC memory(bitmap);
    wxScreenDC screen;
    memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

}  // namespace testsupport
