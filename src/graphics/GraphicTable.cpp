#include "graphics/GraphicTable.h"

#include <wx/graphics.h>

#include <algorithm>
#include <cmath>

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/RichText.h"
#include "graphics/XmlValues.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "tarn/win32/DrawingSettings.h"
#include "wxutil/WXError.h"

namespace graphics {

namespace {

constexpr const wchar_t* kAttachmentTag = L"attachment-richtextbuffer";
constexpr double kLowestRow = 4;

// Lays the buffer out at the given width from the origin; returns its height.
double LayoutBuffer(wxRichTextBuffer& buffer, wxDC& dc, double width) {
    LayoutRichText(buffer, dc, wxRect(0, 0, std::max(1, draw::Whole(width)), 100000));
    return buffer.GetCachedSize().y;
}

}  // namespace

std::wstring VerticalAlignToXml(int align) {
    switch (align) {
        case VERTICAL_ALIGN_TOP:
            return L"top";
        case VERTICAL_ALIGN_CENTER:
            return L"center";
        case VERTICAL_ALIGN_BOTTOM:
            return L"bottom";
        default:
            return L"unknown";
    }
}

VerticalAlign VerticalAlignFromXml(const std::wstring& text) {
    const wxString lower = wxString(text).Lower();
    if (lower == "top") return VERTICAL_ALIGN_TOP;
    if (lower == "center") return VERTICAL_ALIGN_CENTER;
    if (lower == "bottom") return VERTICAL_ALIGN_BOTTOM;
    throw wxutil::CWXError("VerticalAlignFromXml. Unknown Align String");
}

CDSize CGraphicTable::GetSize() const {
    double width = 0;
    for (const auto& col : m_cols) {
        if (col->visible) width += col->width;
    }
    return {width, CGraphicElement::GetSize().height};
}

void CGraphicTable::SetSize(CDSize size) {
    CGraphicElement::SetSize(size);
    m_layoutDirty = true;
}

bool CGraphicTable::IsContentEmpty() const {
    for (const auto& row : m_cells) {
        for (const auto& cell : row) {
            if (cell->GetBuffer()) return false;
        }
    }
    return true;
}

void CGraphicTable::ClearContent() {
    m_rows.clear();
    m_cols.clear();
    m_cells.clear();
    m_layoutDirty = true;
}

std::wstring CGraphicTable::GetHint() const {
    if (GetHintText().empty() && HasFlag(kFlagEditingHints)) {
        return tarn::Localize(L"graphics.CGraphicElement.ClickToEditTable",
                              L"Double click to edit table");
    }
    return GetHintText();
}

tarn::P<CGraphicTable::CRow> CGraphicTable::GetRow(int index) const {
    if (index < 0 || index >= GetRowCount()) return nullptr;
    return m_rows[index];
}

tarn::P<CGraphicTable::CCol> CGraphicTable::GetCol(int index) const {
    if (index < 0 || index >= GetColCount()) return nullptr;
    return m_cols[index];
}

tarn::P<CGraphicTable::CCell> CGraphicTable::GetCell(int col, int row) const {
    if (row < 0 || row >= static_cast<int>(m_cells.size())) return nullptr;
    const auto& cells = m_cells[row];
    if (col < 0 || col >= static_cast<int>(cells.size())) return nullptr;
    return cells[col];
}

tarn::P<CGraphicTable::CRow> CGraphicTable::AddRow(double height) {
    auto row = tarn::New<CRow>(this);
    row->height = height;
    m_rows.push_back(row);
    m_cells.emplace_back();
    Renumber();
    return row;
}

tarn::P<CGraphicTable::CCol> CGraphicTable::AddCol(double width, bool visible) {
    auto col = tarn::New<CCol>(this);
    col->width = width;
    col->visible = visible;
    m_cols.push_back(col);
    Renumber();
    return col;
}

void CGraphicTable::FillCells() {
    m_cells.resize(m_rows.size());
    for (auto& cells : m_cells) {
        while (cells.size() < m_cols.size()) cells.push_back(tarn::New<CCell>(this));
    }
    Renumber();
}

void CGraphicTable::Renumber() {
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i]->SetIndex(static_cast<int>(i));
    for (std::size_t i = 0; i < m_cols.size(); ++i) m_cols[i]->SetIndex(static_cast<int>(i));
    for (std::size_t r = 0; r < m_cells.size(); ++r) {
        for (std::size_t c = 0; c < m_cells[r].size(); ++c) {
            m_cells[r][c]->SetIndex(static_cast<int>(r * m_cols.size() + c));
            m_cells[r][c]->SetPosition(static_cast<int>(r), static_cast<int>(c));
        }
    }
    m_layoutDirty = true;
}

void CGraphicTable::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    const auto* table = dynamic_cast<const CGraphicTable*>(&other);
    if (!table) return;
    ClearContent();
    for (const auto& source : table->m_rows) {
        auto row = AddRow(source->height);
        row->contentId = source->contentId;
    }
    for (const auto& source : table->m_cols) {
        auto col = AddCol(source->width, source->visible);
        col->hiddenByTheme = source->hiddenByTheme;
        col->contentId = source->contentId;
        col->name = source->name;
    }
    for (std::size_t r = 0; r < table->m_cells.size(); ++r) {
        for (const auto& source : table->m_cells[r]) {
            auto cell = tarn::New<CCell>(this);
            cell->margin = source->margin;
            cell->align = source->align;
            cell->contentId = source->contentId;
            if (source->GetBuffer()) cell->SetBuffer(CopyRichTextBuffer(*source->GetBuffer()));
            m_cells[r].push_back(cell);
        }
    }
    Renumber();
}

void CGraphicTable::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    if (!m_rows.empty()) {
        wxXmlNode* rows = xml::AddChild(node, "rows");
        for (const auto& row : m_rows) {
            wxXmlNode* child = xml::AddChild(*rows, "row");
            xml::WriteDouble(*child, "height", row->height);
            if (!row->contentId.empty()) xml::WriteString(*child, "content-id", row->contentId);
        }
    }
    if (!m_cols.empty()) {
        wxXmlNode* cols = xml::AddChild(node, "cols");
        for (const auto& col : m_cols) {
            wxXmlNode* child = xml::AddChild(*cols, "col");
            xml::WriteDouble(*child, "width", col->width);
            xml::WriteBool(*child, "visible", col->visible);
            if (!col->contentId.empty()) xml::WriteString(*child, "content-id", col->contentId);
            xml::WriteString(*child, "name", col->name);
            if (col->hiddenByTheme) xml::WriteBool(*child, "hidden-by-theme", true);
        }
    }
    if (m_rows.empty() || m_cols.empty()) return;
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    wxXmlNode* cells = xml::AddChild(node, "cells");
    for (const auto& row : m_cells) {
        for (const auto& cell : row) {
            wxXmlNode* child = xml::AddChild(*cells, "cell");
            xml::WriteDouble(*child, "margin", cell->margin);
            if (!cell->contentId.empty()) xml::WriteString(*child, "content-id", cell->contentId);
            xml::WriteString(*child, "vertical-align", VerticalAlignToXml(cell->align));
            if (cell->GetBuffer() && output) {
                output->StoreRichTextBuffer(*child, kAttachmentTag, *cell->GetBuffer());
            }
        }
    }
}

namespace {

// A menu's table is a few dozen cells; a damaged or hostile file must not make the grid (and
// its layout, which has a slot for every row and column pair) grow without bound.
constexpr std::size_t kMaxRows = 1000;
constexpr std::size_t kMaxCols = 100;

}  // namespace

void CGraphicTable::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    const wxXmlNode* rows = xml::FindChild(node, "rows");
    const wxXmlNode* cols = xml::FindChild(node, "cols");
    const wxXmlNode* cells = xml::FindChild(node, "cells");
    ClearContent();
    for (const wxXmlNode* child = rows ? rows->GetChildren() : nullptr; child;
         child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        if (m_rows.size() == kMaxRows) break;
        auto row = AddRow(0);
        xml::ReadDouble(*child, "height", row->height);
        xml::ReadString(*child, "content-id", row->contentId);
    }
    for (const wxXmlNode* child = cols ? cols->GetChildren() : nullptr; child;
         child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        if (m_cols.size() == kMaxCols) break;
        auto col = AddCol(0);
        xml::ReadDouble(*child, "width", col->width);
        xml::ReadBool(*child, "visible", col->visible);
        xml::ReadString(*child, "content-id", col->contentId);
        xml::ReadString(*child, "name", col->name);
        xml::ReadBool(*child, "hidden-by-theme", col->hiddenByTheme);
    }
    if (cells) ReadCells(*cells, store);
    Renumber();
}

void CGraphicTable::ReadCells(const wxXmlNode& cells, IResourceInputStore& store) {
    if (m_cols.empty()) return;
    std::size_t row = 0;
    for (const wxXmlNode* child = cells.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        if (row < m_cells.size() && m_cells[row].size() >= m_cols.size()) ++row;
        if (row >= m_cells.size()) break;  // more cells than the grid holds
        auto cell = tarn::New<CCell>(this);
        cell->SetBuffer(store.LoadRichTextBuffer(*child, kAttachmentTag));
        xml::ReadDouble(*child, "margin", cell->margin);
        xml::ReadString(*child, "content-id", cell->contentId);
        std::wstring align;
        xml::ReadString(*child, "vertical-align", align);
        cell->align = VerticalAlignFromXml(align);
        m_cells[row].push_back(cell);
    }
}

bool CGraphicTable::NeedsLayout() const {
    if (m_layoutDirty) return true;
    // A buffer whose text changed (replacement, translation) is measured again.
    for (const auto& row : m_cells) {
        for (const auto& cell : row) {
            if (cell->GetBuffer() && cell->GetBuffer()->IsDirty()) return true;
        }
    }
    return false;
}

double CGraphicTable::GetRowHeight(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rowHeights.size())) return 0;
    return m_rowHeights[row];
}

const CGraphicTable::CellLayout* CGraphicTable::GetCellLayout(int col, int row) const {
    if (row < 0 || row >= static_cast<int>(m_cellLayouts.size())) return nullptr;
    const auto& cells = m_cellLayouts[row];
    if (col < 0 || col >= static_cast<int>(cells.size())) return nullptr;
    return &cells[col];
}

void CGraphicTable::Layout(wxDC& dc) {
    std::vector<double> lefts;
    double x = 0;
    for (const auto& col : m_cols) {
        lefts.push_back(x);
        if (col->visible) x += col->width;
    }
    m_rowHeights.assign(m_rows.size(), 0);
    m_cellLayouts.assign(m_rows.size(), std::vector<CellLayout>(m_cols.size()));
    double y = 0;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        double height = m_rows[r]->height;
        for (std::size_t c = 0; c < m_cols.size(); ++c) {
            const auto cell = GetCell(static_cast<int>(c), static_cast<int>(r));
            if (!m_cols[c]->visible || !cell || !cell->GetBuffer()) continue;
            const double text =
                LayoutBuffer(*cell->GetBuffer(), dc, m_cols[c]->width - 2 * cell->margin);
            m_cellLayouts[r][c].textHeight = text;
            if (height < text) height = text + 2 * cell->margin;
        }
        height = std::max(height, kLowestRow);
        m_rowHeights[r] = height;
        for (std::size_t c = 0; c < m_cols.size(); ++c) {
            CellLayout& place = m_cellLayouts[r][c];
            const double width = m_cols[c]->visible ? m_cols[c]->width : 0;
            place.rect = {lefts[c], y, width, height};
            const auto cell = GetCell(static_cast<int>(c), static_cast<int>(r));
            const double margin = cell ? cell->margin : 0;
            place.textArea = {lefts[c] + margin, y + margin, width - 2 * margin,
                              height - 2 * margin};
        }
        y += height;
    }
    m_layoutWidth = x;
    m_layoutHeight = y;
    m_layoutDirty = false;
}

void CGraphicTable::Paint(CPaintMatrixDC& dc) {
    if (m_rows.empty() || m_cols.empty()) {
        if (!dc.IsEditing()) return;
        const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
        wxDC& target = dc.GetDC();
        target.SetFont(wxFontInfo(10).FaceName("Arial"));
        target.SetTextForeground(*wxBLACK);
        target.DrawLabel(wxString(tarn::Localize(L"graphics.GraphicTable.ClickToEdit",
                                                 L"Double click to edit!")),
                         wxRect(draw::Whole(mapped.x), draw::Whole(mapped.y),
                                draw::Whole(mapped.width), draw::Whole(mapped.height)),
                         wxALIGN_CENTER);
        return;
    }
    PaintCells(dc);
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
}

void CGraphicTable::PaintCells(CPaintMatrixDC& dc) {
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    effect.SetGreyscale(!IsColoured());
    tarn::win32::drawing::SetTextRenderingHint(*context, 4);
    if (!dc.IsEditing()) tarn::win32::drawing::SetSmoothingMode(*context, 1);

    // Document units, turned and mirrored about the centre as a text element is.
    const CDPoint centre = GetCenter();
    wxAffineMatrix2D transform = dc.GetTransform();
    transform.Translate(centre.x, centre.y);
    transform.Scale(IsMirrored(0) ? -1 : 1, IsMirrored(1) ? -1 : 1);
    if (std::abs(GetRotation()) > 0.001) transform.Rotate(GetRotation() * kDegreesToRadians);
    transform.Translate(-centre.x, -centre.y);
    context->ConcatTransform(draw::ToGraphics(*context, transform));

    if (NeedsLayout()) Layout(effect);
    const CDPoint origin = CDRect::FromCenter(centre, GetSize()).GetTopLeft();
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        for (std::size_t c = 0; c < m_cols.size(); ++c) {
            const auto cell = GetCell(static_cast<int>(c), static_cast<int>(r));
            const CellLayout* place = GetCellLayout(static_cast<int>(c), static_cast<int>(r));
            if (!m_cols[c]->visible || !cell || !cell->GetBuffer() || !place) continue;
            const CDRect& area = place->textArea;
            double top = area.y;
            if (cell->align == VERTICAL_ALIGN_CENTER) {
                top += (area.height - place->textHeight) / 2;
            } else if (cell->align == VERTICAL_ALIGN_BOTTOM) {
                top += area.height - place->textHeight;
            }
            context->PushState();
            context->Clip(origin.x + place->rect.x, origin.y + place->rect.y, place->rect.width,
                          place->rect.height);
            context->Translate(origin.x + area.x, origin.y + top);
            wxRichTextBuffer& buffer = *cell->GetBuffer();
            const wxRect drawArea(0, 0, std::max(1, draw::Whole(area.width)),
                                  std::max(1, draw::Whole(place->textHeight) + 1));
            wxRichTextDrawingContext drawing(&buffer);
            buffer.Draw(effect, drawing, buffer.GetOwnRange(), wxRichTextSelection(), drawArea, 0,
                        0);
            context->PopState();
        }
    }
    effect.Flush();
}

}  // namespace graphics
