#include <gtest/gtest.h>

#include <wx/dcgraph.h>

#include <algorithm>

#include "TestSupport.h"
#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicTable.h"
#include "graphics/RichText.h"
#include "wxutil/WXError.h"

namespace {

using namespace graphics;
using testsupport::CCanvas;

std::unique_ptr<wxRichTextBuffer> Buffer(const wxString& text, int points = 12) {
    auto buffer = NewRichTextBuffer();
    wxRichTextAttr attr = GetDefaultTextAttr();
    attr.SetFontFaceName("DejaVu Sans");
    attr.SetFontSize(points);
    buffer->SetBasicStyle(attr);
    buffer->AddParagraph(text);
    return buffer;
}

tarn::P<CGraphicTable> Grid(int rows, int cols) {
    auto table = tarn::Cast<CGraphicTable>(NewInstance(GRAPHIC_TABLE));
    for (int r = 0; r < rows; ++r) table->AddRow(10);
    for (int c = 0; c < cols; ++c) table->AddCol(30);
    table->FillCells();
    return table;
}

std::wstring CellText(const CGraphicTable& table, int col, int row) {
    const auto cell = table.GetCell(col, row);
    if (!cell || !cell->GetBuffer()) return L"-";
    return cell->GetBuffer()->GetText().ToStdWstring();
}

TEST(TableTest, RoundTripKeepsEveryCellInPlace) {
    auto table = Grid(2, 3);
    table->GetCol(1)->name = L"middle";
    table->GetCol(2)->hiddenByTheme = true;
    table->GetRow(1)->contentId = L"row-b";
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto cell = table->GetCell(c, r);
            cell->SetBuffer(Buffer(wxString::Format("r%dc%d", r, c)));
            cell->contentId = L"id" + std::to_wstring(r * 3 + c);
            cell->margin = r + c * 0.5;
            cell->align = static_cast<VerticalAlign>(c);
        }
    }
    std::string written;
    auto back = tarn::Cast<CGraphicTable>(testsupport::RoundTrip(*table, &written));
    ASSERT_EQ(back->GetRowCount(), 2);
    ASSERT_EQ(back->GetColCount(), 3);
    EXPECT_EQ(back->GetCol(1)->name, L"middle");
    EXPECT_TRUE(back->GetCol(2)->hiddenByTheme);
    EXPECT_FALSE(back->GetCol(1)->hiddenByTheme);
    EXPECT_EQ(back->GetRow(1)->contentId, L"row-b");
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            const auto cell = back->GetCell(c, r);
            ASSERT_TRUE(cell);
            EXPECT_EQ(CellText(*back, c, r), wxString::Format("r%dc%d", r, c).ToStdWstring());
            EXPECT_EQ(cell->contentId, L"id" + std::to_wstring(r * 3 + c));
            EXPECT_DOUBLE_EQ(cell->margin, r + c * 0.5);
            EXPECT_EQ(cell->align, c);
            EXPECT_EQ(cell->GetRowIndex(), r);
            EXPECT_EQ(cell->GetColIndex(), c);
        }
    }
    EXPECT_FALSE(back->GetCell(3, 0));
    EXPECT_FALSE(back->GetCell(0, 2));
    EXPECT_EQ(written.find("hidden-by-theme=\"false\""), std::string::npos);
}

TEST(TableTest, ReadingRules) {
    auto store = tarn::New<testsupport::CMemoryStore>();
    std::string xml =
        "<table><rows><row height=\"5\"/><anything height=\"6\"/></rows>"
        "<cols><col width=\"10\" visible=\"true\"/><col width=\"20\" "
        "visible=\"false\"/></cols><cells>";
    for (int i = 0; i < 7; ++i) {
        xml += "<cell margin=\"" + std::to_string(i) + "\" vertical-align=\"" +
               (i == 1 ? "CeNtEr" : "bottom") + "\"/>";
    }
    auto document = testsupport::ParseXml(xml + "</cells></table>");
    auto table = tarn::Cast<CGraphicTable>(NewInstance(GRAPHIC_TABLE));
    table->FromXml(*document->GetRoot(), *store);
    ASSERT_EQ(table->GetRowCount(), 2);
    EXPECT_DOUBLE_EQ(table->GetRow(1)->height, 6);
    EXPECT_DOUBLE_EQ(table->GetCell(1, 1)->margin, 3);  // cells 4 to 6 are extra
    EXPECT_EQ(table->GetCell(1, 0)->align, VERTICAL_ALIGN_CENTER);
    EXPECT_FALSE(table->GetCell(2, 1));
    EXPECT_DOUBLE_EQ(table->GetSize().width, 10);  // the hidden column adds nothing

    for (const char* align : {"middle", ""}) {
        auto bad = testsupport::ParseXml(
            std::string("<table><rows><row height=\"5\"/></rows><cols><col width=\"10\"/></cols>"
                        "<cells><cell ") +
            (*align ? std::string("vertical-align=\"") + align + "\"" : "") + "/></cells></table>");
        try {
            table->FromXml(*bad->GetRoot(), *store);
            FAIL() << align;
        } catch (const wxutil::CWXError& error) {
            EXPECT_EQ(error.GetDescription(), L"VerticalAlignFromXml. Unknown Align String");
        }
    }
    EXPECT_EQ(VerticalAlignToXml(7), L"unknown");
}

TEST(TableTest, HugeGridsAreCutToABoundedSize) {
    // A few kilobytes of XML must not ask for billions of layout slots.
    std::string xml = "<table><rows>";
    for (int i = 0; i < 50000; ++i) xml += "<row/>";
    xml += "</rows><cols>";
    for (int i = 0; i < 50000; ++i) xml += "<col width=\"1\"/>";
    auto document = testsupport::ParseXml(xml + "</cols><cells/></table>");
    auto store = tarn::New<testsupport::CMemoryStore>();
    auto table = tarn::Cast<CGraphicTable>(NewInstance(GRAPHIC_TABLE));
    table->FromXml(*document->GetRoot(), *store);
    EXPECT_EQ(table->GetRowCount(), 1000);
    EXPECT_EQ(table->GetColCount(), 100);
}

TEST(TableTest, LayoutGrowsRowsToTheirTextAndKeepsAMinimum) {
    auto table = Grid(2, 2);
    table->GetRow(0)->height = 1;
    table->GetCol(1)->visible = false;
    auto cell = table->GetCell(0, 1);
    cell->SetBuffer(Buffer("A text that needs several lines in its narrow column"));
    cell->margin = 2;
    wxBitmap bitmap(10, 10);
    wxMemoryDC memory(bitmap);
    wxGCDC dc(memory);
    table->Layout(dc);
    EXPECT_DOUBLE_EQ(table->GetRowHeight(0), 4);
    const auto* place = table->GetCellLayout(0, 1);
    ASSERT_TRUE(place);
    EXPECT_GT(place->textHeight, 20);
    EXPECT_DOUBLE_EQ(table->GetRowHeight(1), place->textHeight + 4);
    EXPECT_DOUBLE_EQ(place->rect.y, 4);
    EXPECT_DOUBLE_EQ(place->textArea.x, 2);
    EXPECT_DOUBLE_EQ(place->textArea.width, 26);
    EXPECT_DOUBLE_EQ(table->GetLayoutWidth(), 30);
    EXPECT_DOUBLE_EQ(table->GetCellLayout(1, 0)->rect.width, 0);
    EXPECT_FALSE(table->IsLayoutDirty());
    table->SetSize({30, 50});
    EXPECT_TRUE(table->IsLayoutDirty());
}

int InkMiddleRow(CCanvas& canvas) {
    const wxImage image = canvas.Snapshot();
    int top = -1, bottom = -1;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetRed(x, y) > 128) continue;
            if (top < 0) top = y;
            bottom = y;
        }
    }
    return top < 0 ? -1 : (top + bottom) / 2;
}

TEST(TableTest, VerticalAlignmentPlacesTheText) {
    int middles[3] = {};
    for (int align = 0; align < 3; ++align) {
        auto table = Grid(1, 1);
        table->GetCol(0)->width = 100;
        table->GetRow(0)->height = 90;
        table->SetCenter({50, 50});
        table->SetSize({100, 90});  // (0,5)-(100,95)
        auto cell = table->GetCell(0, 0);
        cell->SetBuffer(Buffer("X", 12));
        cell->margin = 5;
        cell->align = static_cast<VerticalAlign>(align);
        CCanvas canvas(100, 100);
        canvas.Paint(*table);
        middles[align] = InkMiddleRow(canvas);
        ASSERT_GE(middles[align], 0) << align;
    }
    EXPECT_LT(middles[0], 30);
    EXPECT_NEAR(middles[1], 50, 6);
    EXPECT_GT(middles[2], 70);
    EXPECT_LT(middles[2], 90);  // still inside the margin
}

// A cell's text is laid out as a text element's: a short centred or right-aligned line
// stands there, not at the left.
TEST(TableTest, ACellsLineStandsWhereItsAlignmentSays) {
    for (const auto alignment : {wxTEXT_ALIGNMENT_CENTRE, wxTEXT_ALIGNMENT_RIGHT}) {
        auto table = Grid(1, 1);
        table->GetCol(0)->width = 100;
        table->GetRow(0)->height = 40;
        table->SetCenter({50, 20});
        table->SetSize({100, 40});
        auto buffer = Buffer("XX");
        wxRichTextAttr attr = buffer->GetBasicStyle();
        attr.SetAlignment(alignment);
        buffer->SetBasicStyle(attr);
        table->GetCell(0, 0)->SetBuffer(std::move(buffer));
        CCanvas canvas(100, 40);
        canvas.Paint(*table);
        const wxImage image = canvas.Snapshot();
        int left = 100, right = -1;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (image.GetRed(x, y) > 128) continue;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        ASSERT_GE(right, 0) << alignment;
        if (alignment == wxTEXT_ALIGNMENT_CENTRE) {
            EXPECT_NEAR((left + right) / 2.0, 50, 4) << left << " to " << right;
        } else {
            EXPECT_GT(left, 70) << left << " to " << right;
        }
    }
}

TEST(TableTest, EmptyTableAndHints) {
    auto table = tarn::Cast<CGraphicTable>(NewInstance(GRAPHIC_TABLE));
    EXPECT_TRUE(table->IsContentEmpty());
    CCanvas canvas(50, 50);
    canvas.Paint(*table);  // nothing to draw, no failure
    auto grid = Grid(1, 1);
    grid->GetCell(0, 0)->SetBuffer(Buffer("x"));
    EXPECT_FALSE(grid->IsContentEmpty());
    auto copy = tarn::Cast<CGraphicTable>(grid->Clone());
    EXPECT_EQ(CellText(*copy, 0, 0), L"x");
    EXPECT_NE(copy->GetCell(0, 0)->GetBuffer(), grid->GetCell(0, 0)->GetBuffer());
    grid->ClearContent();
    EXPECT_EQ(grid->GetRowCount(), 0);
    EXPECT_EQ(CellText(*copy, 0, 0), L"x");
}

}  // namespace
