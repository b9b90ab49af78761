#include <gtest/gtest.h>

#include <wx/dcgraph.h>
#include <wx/mstream.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ArchiveFixture.h"
#include "Environment.h"
#include "TestSupport.h"
#include "graphics/EffectDC.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicLabel.h"
#include "graphics/GraphicText.h"
#include "graphics/GraphicTextCircle.h"
#include "graphics/RichText.h"
#include "graphics/TextWrapper.h"
#include "graphics/XmlValues.h"
#include "graphics/ZipArchive.h"

namespace {

using namespace graphics;
using testsupport::CCanvas;

// The box around every pixel that is not (nearly) white; empty when there is none.
wxRect InkBox(const wxImage& image, const wxRect& within) {
    int left = within.GetRight() + 1, top = within.GetBottom() + 1, right = -1, bottom = -1;
    for (int y = within.y; y <= within.GetBottom(); ++y) {
        for (int x = within.x; x <= within.GetRight(); ++x) {
            if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) > 3 * 235) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return wxRect(wxPoint(left, top), wxPoint(right, bottom));
}

wxRect InkBox(const wxImage& image) {
    return InkBox(image, wxRect(0, 0, image.GetWidth(), image.GetHeight()));
}

// One pixel per document unit, text laid out at zoom.
void PaintZoomed(CCanvas& canvas, CGraphicBase& element, double zoom = 1) {
    wxAffineMatrix2D transform;
    transform.Scale(zoom, zoom);
    CPaintMatrixDC context(canvas.GetDC(), transform);
    context.SetUnitMode(CPaintMatrixDC::kUnitZoom);
    context.SetZoom(zoom);
    element.Paint(context);
}

std::unique_ptr<wxRichTextBuffer> Buffer(const wxString& text, int points = 14,
                                         const wxColour& colour = *wxBLACK) {
    auto buffer = NewRichTextBuffer();
    wxRichTextAttr attr = GetDefaultTextAttr();
    attr.SetFontFaceName("DejaVu Sans");
    attr.SetFontSize(points);
    attr.SetTextColour(colour);
    buffer->SetBasicStyle(attr);
    buffer->AddParagraph(text);
    return buffer;
}

tarn::P<CGraphicText> TextElement(int type, CDPoint centre, CDSize size,
                                  std::unique_ptr<wxRichTextBuffer> buffer) {
    auto text = tarn::Cast<CGraphicText>(NewInstance(type));
    text->SetCenter(centre);
    text->SetSize(size);
    text->SetBuffer(std::move(buffer));
    return text;
}

class TextArchiveTest : public testarchives::ArchiveTest {
protected:
    tarn::P<CGraphicText> Load(const std::string& entry) {
        CZipArchive archive(Path("python.zip"));
        EXPECT_TRUE(archive.IsOk());
        const auto xml = testsupport::ParseXml(
            "<text><center x=\"60\" y=\"40\"/><size width=\"80\" height=\"30\"/>"
            "<attachment-richtextbuffer name=\"" +
            entry + "\"/></text>");
        auto text = tarn::Cast<CGraphicText>(NewInstance(GRAPHIC_TEXT));
        text->FromXml(*xml->GetRoot(), archive.GetCatalogue());
        return text;
    }
};

TEST_F(TextArchiveTest, AttachmentPaintsClippedToTheElement) {
    auto text = Load("text/red.xml");
    ASSERT_TRUE(text->GetBuffer());
    EXPECT_FALSE(text->IsContentEmpty());
    CCanvas canvas(160, 100);
    PaintZoomed(canvas, *text);
    const wxImage image = canvas.Snapshot();
    const wxRect ink = InkBox(image);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(wxRect(20, 25, 80, 30).Contains(ink))
        << ink.x << "," << ink.y << " " << ink.width << "x" << ink.height;
    EXPECT_TRUE(text->IsOverflow());  // the long text wraps below the element
    // The attachment's colour reaches the canvas.
    bool red = false;
    for (int y = ink.y; y <= ink.GetBottom() && !red; ++y) {
        for (int x = ink.x; x <= ink.GetRight() && !red; ++x) {
            red = image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 60;
        }
    }
    EXPECT_TRUE(red);
}

TEST_F(TextArchiveTest, NotColouredPaintsGreyAndBrokenAttachmentsGiveNoText) {
    auto text = Load("text/red.xml");
    text->SetColoured(false);
    CCanvas canvas(160, 100);
    PaintZoomed(canvas, *text);
    const wxImage image = canvas.Snapshot();
    ASSERT_FALSE(InkBox(image).IsEmpty());
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            ASSERT_LE(std::abs(image.GetRed(x, y) - image.GetGreen(x, y)), 2) << x << "," << y;
            ASSERT_LE(std::abs(image.GetBlue(x, y) - image.GetGreen(x, y)), 2) << x << "," << y;
        }
    }
    for (const char* entry : {"text/broken.xml", "pics/red.png", "text/missing.xml"}) {
        auto broken = Load(entry);
        EXPECT_FALSE(broken->GetBuffer()) << entry;
        CCanvas empty(160, 100);
        PaintZoomed(empty, *broken);
        EXPECT_TRUE(InkBox(empty.Snapshot()).IsEmpty()) << entry;
    }
}

TEST(TextPaintTest, RotationTurnsTheText) {
    auto text = TextElement(GRAPHIC_TEXT, {60, 60}, {110, 24}, Buffer("MMMMMMM"));
    CCanvas flat(120, 120);
    PaintZoomed(flat, *text);
    const wxRect along = InkBox(flat.Snapshot());
    ASSERT_FALSE(along.IsEmpty());
    EXPECT_GT(along.width, 2 * along.height);

    text->SetRotation(90);
    CCanvas turned(120, 120);
    PaintZoomed(turned, *text);
    const wxRect across = InkBox(turned.Snapshot());
    ASSERT_FALSE(across.IsEmpty());
    EXPECT_GT(across.height, 2 * across.width);
    // Turned clockwise: the first letters stand at the top, right of the centre line.
    EXPECT_GT(across.GetRight(), 60);
    EXPECT_LE(across.y, 10);

    // A turn below a thousandth of a degree is no turn.
    auto almost = TextElement(GRAPHIC_TEXT, {60, 60}, {110, 24}, Buffer("MMMMMMM"));
    CCanvas nearly(120, 120);
    PaintZoomed(nearly, *almost);
    almost->SetRotation(0);
    wxXmlNode node(wxXML_ELEMENT_NODE, "text");
    almost->ToXml(node, nullptr);
    graphics::xml::WriteDouble(node, "rotation", 0.0005);
    auto store = tarn::New<testsupport::CMemoryStore>();
    almost->FromXml(node, *store);
    almost->SetBuffer(Buffer("MMMMMMM"));
    EXPECT_DOUBLE_EQ(almost->GetRotation(), 0.0005);
    CCanvas again(120, 120);
    PaintZoomed(again, *almost);
    EXPECT_EQ(InkBox(again.Snapshot()), along);
}

TEST(TextPaintTest, LayoutIsKeptUntilSizeOrBufferChanges) {
    auto text = TextElement(GRAPHIC_TEXT, {50, 30}, {80, 40}, Buffer("Hello", 10));
    CCanvas canvas(200, 120);
    PaintZoomed(canvas, *text);
    PaintZoomed(canvas, *text);
    EXPECT_EQ(text->GetLayoutCount(), 1);
    EXPECT_FALSE(text->IsOverflow());
    PaintZoomed(canvas, *text, 2);  // another device rectangle
    EXPECT_EQ(text->GetLayoutCount(), 2);
    PaintZoomed(canvas, *text, 2);
    EXPECT_EQ(text->GetLayoutCount(), 2);
    text->SetSize({60, 40});
    PaintZoomed(canvas, *text, 2);
    EXPECT_EQ(text->GetLayoutCount(), 3);
    text->GetBuffer()->Invalidate(wxRICHTEXT_ALL);  // an edit
    PaintZoomed(canvas, *text, 2);
    EXPECT_EQ(text->GetLayoutCount(), 4);
}

TEST(TextPaintTest, CopiesAndClearsTheBuffer) {
    auto text = TextElement(GRAPHIC_TEXT, {50, 30}, {80, 40}, Buffer("Hello copy"));
    auto copy = tarn::Cast<CGraphicText>(text->Clone());
    ASSERT_TRUE(copy->GetBuffer());
    EXPECT_NE(copy->GetBuffer(), text->GetBuffer());
    EXPECT_EQ(copy->GetBuffer()->GetText(), "Hello copy");
    text->ClearContent();
    EXPECT_TRUE(text->IsContentEmpty());
    EXPECT_EQ(copy->GetBuffer()->GetText(), "Hello copy");
    text->SetFlags(CGraphicBase::kFlagEditingHints);
    EXPECT_EQ(text->GetHint(), L"Double click to edit text");

    std::string written;
    auto back = tarn::Cast<CGraphicText>(testsupport::RoundTrip(*copy, &written));
    EXPECT_NE(written.find("attachment-richtextbuffer"), std::string::npos);
    ASSERT_TRUE(back->GetBuffer());
    EXPECT_EQ(back->GetBuffer()->GetText(), "Hello copy");
}

// A rich text as authors write it: the layout's attributes, then the paragraphs.
std::unique_ptr<wxRichTextBuffer> RichText(const std::string& layout,
                                           const std::string& paragraphs) {
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<richtext version=\"1.0.0.0\" xmlns=\"http://www.wxwidgets.org\">"
        "<paragraphlayout textcolor=\"#000000\" fontpointsize=\"14\" fontface=\"DejaVu Sans\" " +
        layout + ">" + paragraphs + "</paragraphlayout></richtext>";
    wxMemoryInputStream in(xml.data(), xml.size());
    return LoadRichTextXml(in);
}

// The ink of each line of text, top to bottom, found as bands of inked rows.
std::vector<wxRect> LineInks(const wxImage& image) {
    std::vector<wxRect> lines;
    const int width = image.GetWidth();
    int top = -1;
    for (int y = 0; y <= image.GetHeight(); ++y) {
        const bool inked =
            y < image.GetHeight() && !InkBox(image, wxRect(0, y, width, 1)).IsEmpty();
        if (inked && top < 0) top = y;
        if (inked || top < 0) continue;
        lines.push_back(InkBox(image, wxRect(0, top, width, y - top)));
        top = -1;
    }
    return lines;
}

// Box from x = 10 to 210; a single word fits it on one line.
wxRect PaintedInk(std::unique_ptr<wxRichTextBuffer> buffer, double width = 200) {
    auto text = TextElement(GRAPHIC_TEXT, {10 + width / 2, 40}, {width, 70}, std::move(buffer));
    CCanvas canvas(int(width) + 20, 80);
    PaintZoomed(canvas, *text);
    return InkBox(canvas.Snapshot());
}

// The templates write the alignment on the paragraph layout, the toolkit's editor on each
// paragraph; a line that fits must stand where the wrapped lines of the same text stand.
TEST(TextAlignmentTest, ALineThatFitsStandsLeftCentredOrRight) {
    for (const int alignment : {1, 2, 3}) {
        const std::string attribute = "alignment=\"" + std::to_string(alignment) + "\"";
        const std::string words = "<text>Welcome</text></paragraph>";
        auto coded = Buffer("Welcome");  // as a buffer made in code has it
        wxRichTextAttr basic = coded->GetBasicStyle();
        basic.SetAlignment(static_cast<wxTextAttrAlignment>(alignment));
        coded->SetBasicStyle(basic);
        const wxRect inks[] = {PaintedInk(RichText(attribute, "<paragraph>" + words)),
                               PaintedInk(RichText("", "<paragraph " + attribute + ">" + words)),
                               PaintedInk(std::move(coded))};
        for (const wxRect& ink : inks) {
            SCOPED_TRACE(testing::Message() << "alignment " << alignment << ", case " << &ink - inks
                                            << ": ink " << ink.x << " to " << ink.GetRight());
            ASSERT_FALSE(ink.IsEmpty());
            EXPECT_LT(ink.width, 120);
            if (alignment == 1) {
                EXPECT_NEAR(ink.x, 11, 3);
            } else if (alignment == 2) {
                EXPECT_NEAR(ink.x + ink.width / 2.0, 110, 3);
            } else {
                EXPECT_NEAR(ink.GetRight(), 208, 3);
            }
        }
    }
    // Without any alignment a line is left.
    EXPECT_NEAR(PaintedInk(RichText("", "<paragraph><text>Welcome</text></paragraph>")).x, 11, 3);
}

TEST(TextAlignmentTest, WrappedLinesKeepTheirPlaces) {
    const std::string words = "<text>Centred words that wrap in the box</text></paragraph>";
    std::vector<wxImage> painted;
    for (const bool onLayout : {true, false}) {
        auto text = TextElement(
            GRAPHIC_TEXT, {70, 40}, {120, 70},
            RichText(onLayout ? "alignment=\"2\"" : "",
                     (onLayout ? "<paragraph>" : "<paragraph alignment=\"2\">") + words));
        CCanvas canvas(140, 80);
        PaintZoomed(canvas, *text);
        painted.push_back(canvas.Snapshot());
        const std::vector<wxRect> lines = LineInks(painted.back());
        ASSERT_GE(lines.size(), 2u) << onLayout;
        for (const wxRect& line : lines) {
            // Each line is centred with the blank it ends in, half a blank left of the middle.
            EXPECT_NEAR(line.x + line.width / 2.0, 70, 5)
                << onLayout << ": " << line.x << " to " << line.GetRight();
            EXPECT_GE(line.x, 10);
        }
    }
    // Written on the layout or on the paragraph, the same lines in the same places.
    EXPECT_EQ(0, memcmp(painted[0].GetData(), painted[1].GetData(), 140 * 80 * 3));
}

int g_assertions = 0;

void CountAssertion(const wxString&, int, const wxString&, const wxString&, const wxString&) {
    ++g_assertions;
}

// Found by fuzzing: a colour that is not hexadecimal fails a toolkit check, whose dialog hung
// the loading.
TEST(TextPaintTest, MalformedColoursInRichTextRaiseNoAssertion) {
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<richtext version=\"1.0.0.0\" xmlns=\"http://www.wxwidgets.org\">"
        "<paragraphlayout textcolor=\"#GG0000\"><paragraph>"
        "<text textcolor=\"#12345Z\">Hello</text></paragraph></paragraphlayout></richtext>";
    g_assertions = 0;
    const wxAssertHandler_t previous = wxSetAssertHandler(&CountAssertion);
    wxMemoryInputStream in(xml.data(), xml.size());
    const auto buffer = LoadRichTextXml(in);
    const wxAssertHandler_t after = wxSetAssertHandler(previous);
    EXPECT_EQ(g_assertions, 0);
    EXPECT_EQ(after, &CountAssertion);  // the handler in place before is back
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->GetText(), "Hello");
}

TEST(CircleTextTest, SpiralMovesInwardAfterOneTurn) {
    if (testsupport::RunsUnderWine()) GTEST_SKIP() << "Wine's text measures are a pixel off here";
    CCanvas canvas(200, 200);
    TEffectDC<wxMemoryDC> effect(canvas.GetDC());
    ASSERT_TRUE(effect.IsOk());
    effect.SetFont(wxFontInfo(10).FaceName("DejaVu Sans"));
    const int h = effect.GetTextExtent("M").y;
    effect.SetCircleMode({100, 100}, -M_PI / 2, 30);
    effect.DrawText("MM", 0, 0);
    EXPECT_EQ(effect.GetCircleText().radius, 30);
    EXPECT_GT(effect.GetCircleText().angle, -M_PI / 2);
    // Angle and radius carry over from run to run: far more than one turn in total.
    for (int run = 0; run < 4; ++run) effect.DrawText("MMMMMMMMMM", 0, 0);
    // One inner ring, smaller by the letter height; below 15 the spiral stops there.
    EXPECT_EQ(effect.GetCircleText().radius, 30 - h);
    EXPECT_LT(effect.GetCircleText().travelled, 2 * M_PI - M_PI / 20);
    EXPECT_GE(effect.GetCircleText().angle, 0);
    EXPECT_LT(effect.GetCircleText().angle, 2 * M_PI);

    // Below radius 15 nothing is drawn and nothing moves.
    CCanvas small(100, 100);
    {
        TEffectDC<wxMemoryDC> tiny(small.GetDC());
        tiny.SetFont(wxFontInfo(10).FaceName("DejaVu Sans"));
        tiny.SetCircleMode({50, 50}, 0, 14);
        tiny.DrawText("MMMM", 0, 0);
        EXPECT_DOUBLE_EQ(tiny.GetCircleText().angle, 0);
    }
    EXPECT_TRUE(InkBox(small.Snapshot()).IsEmpty());
}

TEST(CircleTextTest, ElementStartsAtTheTopOfItsCircle) {
    auto circle = TextElement(GRAPHIC_TEXT_CIRCLE, {80, 50}, {100, 60}, Buffer("MMM", 8));
    CCanvas canvas(160, 100);
    PaintZoomed(canvas, *circle);
    const wxRect ink = InkBox(canvas.Snapshot());
    ASSERT_FALSE(ink.IsEmpty());
    // Radius 30 (the smaller side): the first letter stands on y = 50 - 30, from x = 80.
    EXPECT_NEAR(ink.y, 20, 2);
    EXPECT_GE(ink.x, 78);
    EXPECT_LE(ink.GetBottom(), 50);

    auto small = TextElement(GRAPHIC_TEXT_CIRCLE, {80, 50}, {29, 29}, Buffer("MMM", 8));
    CCanvas empty(160, 100);
    PaintZoomed(empty, *small);
    EXPECT_TRUE(InkBox(empty.Snapshot()).IsEmpty());
    EXPECT_EQ(small->GetRotatedSize().width, 29);
}

tarn::P<CGraphicLabel> Label(const std::wstring& text, int points, CDSize size) {
    auto label = tarn::Cast<CGraphicLabel>(NewInstance(GRAPHIC_LABEL));
    label->SetText(text);
    label->SetFont(wxFontInfo(points).FaceName("DejaVu Sans"));
    label->SetCenter({60, 40});
    label->SetSize(size);
    return label;
}

TEST(LabelTest, ShrinksToFourPointsAndKeepsTheSize) {
    auto label = Label(L"A label far too long for its little box", 5, {30, 20});
    CCanvas canvas(120, 80);
    PaintZoomed(canvas, *label);
    EXPECT_EQ(label->GetFont().GetPointSize(), 4);
    const wxRect ink = InkBox(canvas.Snapshot());
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR(ink.x, 45, 2);  // top-left of (45,30)-(75,50), not centred
    EXPECT_NEAR(ink.y, 30, 4);

    label->SetSize({110, 70});
    CCanvas wide(120, 80);
    PaintZoomed(wide, *label);
    EXPECT_EQ(label->GetFont().GetPointSize(), 4);

    // A fitting text is centred and keeps its size.
    auto fits = Label(L"Hi", 12, {100, 60});
    CCanvas centred(120, 80);
    PaintZoomed(centred, *fits);
    EXPECT_EQ(fits->GetFont().GetPointSize(), 12);
    const wxRect middle = InkBox(centred.Snapshot());
    EXPECT_NEAR(middle.x + middle.width / 2.0, 60, 3);
    EXPECT_NEAR(middle.y + middle.height / 2.0, 40, 4);
}

TEST(LabelTest, XmlFormAndName) {
    auto label = Label(L"Caption", 11, {50, 20});
    wxFont font = label->GetFont();
    font.SetWeight(wxFONTWEIGHT_BOLD);
    font.SetUnderlined(true);
    label->SetFont(font);
    label->SetColour(wxColour(10, 20, 30));
    EXPECT_EQ(label->GetName(), L"Caption");
    std::string written;
    auto back = tarn::Cast<CGraphicLabel>(testsupport::RoundTrip(*label, &written));
    EXPECT_NE(written.find("weight=\"92\""), std::string::npos) << written;
    EXPECT_EQ(back->GetText(), L"Caption");
    EXPECT_EQ(back->GetFont().GetPointSize(), 11);
    EXPECT_EQ(back->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_TRUE(back->GetFont().GetUnderlined());
    EXPECT_EQ(back->GetColour(), wxColour(10, 20, 30));
    back->ClearContent();
    EXPECT_TRUE(back->IsContentEmpty());
}

TEST(TextWrapperTest, BreaksBetweenTokensOnly) {
    CTextWrapper wrapper(wxFontInfo(10).FaceName("DejaVu Sans"));
    EXPECT_EQ(wrapper.Wrap(L"", 50), L"");
    EXPECT_EQ(wrapper.Wrap(L"Supercalifragilistic", 10), L"\nSupercalifragilistic");
    EXPECT_EQ(wrapper.Wrap(L"one two", 1000), L"one two");
    const std::wstring wrapped = wrapper.Wrap(L"one two three four", 60);
    EXPECT_NE(wrapped.find(L'\n'), std::wstring::npos);
    std::wstring joined = wrapped;
    std::erase(joined, L'\n');
    EXPECT_EQ(joined, L"one two three four");  // nothing cut or lost
    // A line feed starts a new line with room again.
    EXPECT_EQ(wrapper.Wrap(L"ab\ncd", 1000), L"ab\ncd");
}

}  // namespace
