#pragma once
// A grid of rich-text cells: rows with heights, columns with widths and visibility, and one
// cell per row and column with a margin and a vertical alignment.

#include <wx/dc.h>
#include <wx/richtext/richtextbuffer.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicElement.h"
#include "graphics/GraphicElementType.h"

namespace graphics {

enum VerticalAlign : int {
    VERTICAL_ALIGN_TOP = 0,
    VERTICAL_ALIGN_CENTER = 1,
    VERTICAL_ALIGN_BOTTOM = 2,
};

// "top", "center", "bottom"; "unknown" for any other value.
std::wstring VerticalAlignToXml(int align);
// Compared without case; raises CWXError for anything else, an empty text included.
VerticalAlign VerticalAlignFromXml(const std::wstring& text);

class CGraphicTable : public CGraphicElement {
public:
    class CTableObject : public tarn::CObject {
    public:
        explicit CTableObject(CGraphicTable* table) : m_table(table) {}
        CGraphicTable* GetTable() const { return m_table; }
        int GetIndex() const { return m_index; }
        void SetIndex(int index) { m_index = index; }

    private:
        CGraphicTable* m_table;  // the owner
        int m_index = 0;
    };

    class CRow : public CTableObject {
    public:
        using CTableObject::CTableObject;
        double height = 0;
        std::wstring contentId;
    };

    class CCol : public CTableObject {
    public:
        using CTableObject::CTableObject;
        double width = 0;
        bool visible = true;
        bool hiddenByTheme = false;
        std::wstring contentId;
        std::wstring name;
    };

    class CCell : public CTableObject {
    public:
        using CTableObject::CTableObject;
        wxRichTextBuffer* GetBuffer() const { return m_buffer.get(); }
        void SetBuffer(std::unique_ptr<wxRichTextBuffer> buffer) { m_buffer = std::move(buffer); }
        int GetRowIndex() const { return m_row; }
        int GetColIndex() const { return m_col; }
        void SetPosition(int row, int col) {
            m_row = row;
            m_col = col;
        }

        double margin = 0;
        VerticalAlign align = VERTICAL_ALIGN_TOP;
        std::wstring contentId;

    private:
        std::unique_ptr<wxRichTextBuffer> m_buffer;
        int m_row = 0;
        int m_col = 0;
    };

    // The laid-out place of a cell, in document units from the table's top-left.
    struct CellLayout {
        CDRect rect;
        CDRect textArea;
        double textHeight = 0;
    };

    int GetType() const override { return GRAPHIC_TABLE; }
    // Width: the visible columns; height: the element's.
    CDSize GetSize() const override;
    void SetSize(CDSize size) override;
    void Paint(CPaintMatrixDC& dc) override;
    bool IsContentEmpty() const override;
    void ClearContent() override;
    std::wstring GetHint() const override;
    void CopyFrom(const CGraphicElement& other) override;

    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColCount() const { return static_cast<int>(m_cols.size()); }
    tarn::P<CRow> GetRow(int index) const;
    tarn::P<CCol> GetCol(int index) const;
    // None when the row or the column does not exist.
    tarn::P<CCell> GetCell(int col, int row) const;

    tarn::P<CRow> AddRow(double height);
    tarn::P<CCol> AddCol(double width, bool visible = true);
    // Gives every row a cell for every column, keeping the cells there are.
    void FillCells();
    void MarkLayoutDirty() { m_layoutDirty = true; }
    bool IsLayoutDirty() const { return m_layoutDirty; }

    // Places columns and rows and lays the cell buffers out, measuring with dc.
    void Layout(wxDC& dc);
    double GetLayoutWidth() const { return m_layoutWidth; }
    double GetLayoutHeight() const { return m_layoutHeight; }
    // The row's laid-out height (after Layout).
    double GetRowHeight(int row) const;
    const CellLayout* GetCellLayout(int col, int row) const;

private:
    void Renumber();
    bool NeedsLayout() const;
    void ReadCells(const wxXmlNode& cells, IResourceInputStore& store);
    void PaintCells(CPaintMatrixDC& dc);

    std::vector<tarn::P<CRow>> m_rows;
    std::vector<tarn::P<CCol>> m_cols;
    std::vector<std::vector<tarn::P<CCell>>> m_cells;
    bool m_layoutDirty = true;
    double m_layoutWidth = 0;
    double m_layoutHeight = 0;
    std::vector<double> m_rowHeights;
    std::vector<std::vector<CellLayout>> m_cellLayouts;
};

}  // namespace graphics
