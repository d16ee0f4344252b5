// Records of a worksheet substream. Rows and columns arrive 1-based and are
// stored 0-based.
#include <algorithm>

#include "platform/xls/internal/xls_records.h"

namespace xl::internal {

namespace {
void CellHeader(RecordWriter& w, int row, int col, std::uint16_t xf) {
    w.u16(static_cast<std::uint16_t>(row - 1));
    w.u16(static_cast<std::uint16_t>(col - 1));
    w.u16(xf);
}
}  // namespace

UsedRange UsedRangeOf(const CellStore& cells) {
    UsedRange used;
    const auto& rows = cells.Rows();
    if (rows.empty()) return used;
    used.firstRow = static_cast<std::uint32_t>(rows.front().row - 1);
    used.endRow = static_cast<std::uint32_t>(rows.back().row);
    used.firstCol = 0xFFFF;
    for (const CellStore::Row& row : rows) {
        used.firstCol = std::min<std::uint16_t>(used.firstCol, static_cast<std::uint16_t>(row.cells.front().first.col - 1));
        used.endCol = std::max<std::uint16_t>(used.endCol, static_cast<std::uint16_t>(row.cells.back().first.col));
    }
    return used;
}

// DIMENSIONS: the used range of the sheet (first row/column, last + 1).
void WriteDimensions(RecordWriter& w, const UsedRange& used) {
    w.begin(rec::DIMENSIONS);
    w.u32(used.firstRow);
    w.u32(used.endRow);
    w.u16(used.firstCol);
    w.u16(used.endCol);
    w.u16(0);
    w.end();
}

// LABELSST: a text cell, its text in the shared string table.
void WriteLabelSst(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint32_t sstIndex) {
    w.begin(rec::LABELSST);
    CellHeader(w, row, col, xf);
    w.u32(sstIndex);
    w.end();
}

// NUMBER: a number cell (also dates and times, as serial days).
void WriteNumber(RecordWriter& w, int row, int col, std::uint16_t xf, double value) {
    w.begin(rec::NUMBER);
    CellHeader(w, row, col, xf);
    w.f64(value);
    w.end();
}

// BOOLERR: a logical value or an error code.
void WriteBoolErr(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint8_t value, bool isError) {
    w.begin(rec::BOOLERR);
    CellHeader(w, row, col, xf);
    w.u8(value);
    w.u8(isError ? 1 : 0);
    w.end();
}

// BLANK: an empty cell that carries a format (a font colour).
void WriteBlank(RecordWriter& w, int row, int col, std::uint16_t xf) {
    w.begin(rec::BLANK);
    CellHeader(w, row, col, xf);
    w.end();
}

// WINDOW2: the sheet's window: grid, headers, first visible cell, and whether
// its tab is selected and shown.
void WriteWindow2(RecordWriter& w, const Sheet& sheet, bool active) {
    // Grid lines, row/column headings, zeros, automatic grid colour, outline symbols.
    std::uint16_t flags = 0x00B6;
    if (active) flags |= 0x0600;  // selected tab, shown in the window
    w.begin(rec::WINDOW2);
    w.u16(flags);
    w.u16(static_cast<std::uint16_t>(sheet.topLeft.row - 1));
    w.u16(static_cast<std::uint16_t>(sheet.topLeft.col - 1));
    w.u16(64);  // grid colour: the default
    w.u16(0);
    w.u16(0);   // zoom of the page break preview: default
    w.u16(0);   // zoom of the normal view: default
    w.u32(0);
    w.end();
}

// SELECTION: the active cell and the selected range of the (only) pane.
void WriteSelection(RecordWriter& w, const Sheet& sheet) {
    const Rect& s = sheet.selection;
    w.begin(rec::SELECTION);
    w.u8(3);  // the top-left pane, the only one of an unsplit window
    w.u16(static_cast<std::uint16_t>(sheet.activeCell.row - 1));
    w.u16(static_cast<std::uint16_t>(sheet.activeCell.col - 1));
    w.u16(0);  // the active cell lies in the first range
    w.u16(1);  // one range
    w.u16(static_cast<std::uint16_t>(s.first.row - 1));
    w.u16(static_cast<std::uint16_t>(s.last.row - 1));
    w.u8(static_cast<std::uint8_t>(s.first.col - 1));
    w.u8(static_cast<std::uint8_t>(s.last.col - 1));
    w.end();
}

}  // namespace xl::internal
