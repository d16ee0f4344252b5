// Records of a worksheet substream. Rows and columns arrive 1-based and are
// stored 0-based.
#include <algorithm>

#include "platform/excel/internal/xls_records.h"

namespace xl::internal {

namespace {
void CellHeader(ByteWriter& b, int row, int col, std::uint16_t xf) {
    b.u16(static_cast<std::uint16_t>(row - 1));
    b.u16(static_cast<std::uint16_t>(col - 1));
    b.u16(xf);
}
}  // namespace

// DIMENSIONS: the used range of the sheet (first row/column, last + 1).
void WriteDimensions(RecordWriter& w, const Sheet& sheet) {
    std::uint32_t firstRow = 0, lastRow = 0;
    std::uint16_t firstCol = 0, lastCol = 0;
    if (!sheet.cells.empty()) {
        firstRow = 0xFFFFFFFF;
        firstCol = 0xFFFF;
        for (const auto& [ref, cell] : sheet.cells) {
            firstRow = std::min<std::uint32_t>(firstRow, static_cast<std::uint32_t>(ref.row - 1));
            lastRow = std::max<std::uint32_t>(lastRow, static_cast<std::uint32_t>(ref.row));
            firstCol = std::min<std::uint16_t>(firstCol, static_cast<std::uint16_t>(ref.col - 1));
            lastCol = std::max<std::uint16_t>(lastCol, static_cast<std::uint16_t>(ref.col));
        }
    }
    ByteWriter b;
    b.u32(firstRow);
    b.u32(lastRow);
    b.u16(firstCol);
    b.u16(lastCol);
    b.u16(0);
    w.record(rec::DIMENSIONS, b);
}

// LABELSST: a text cell, its text in the shared string table.
void WriteLabelSst(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint32_t sstIndex) {
    ByteWriter b;
    CellHeader(b, row, col, xf);
    b.u32(sstIndex);
    w.record(rec::LABELSST, b);
}

// NUMBER: a number cell (also dates and times, as serial days).
void WriteNumber(RecordWriter& w, int row, int col, std::uint16_t xf, double value) {
    ByteWriter b;
    CellHeader(b, row, col, xf);
    b.f64(value);
    w.record(rec::NUMBER, b);
}

// BOOLERR: a logical value or an error code.
void WriteBoolErr(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint8_t value, bool isError) {
    ByteWriter b;
    CellHeader(b, row, col, xf);
    b.u8(value);
    b.u8(isError ? 1 : 0);
    w.record(rec::BOOLERR, b);
}

// BLANK: an empty cell that carries a format (a font colour).
void WriteBlank(RecordWriter& w, int row, int col, std::uint16_t xf) {
    ByteWriter b;
    CellHeader(b, row, col, xf);
    w.record(rec::BLANK, b);
}

// WINDOW2: the sheet's window: grid, headers, first visible cell, and whether
// its tab is selected and shown.
void WriteWindow2(RecordWriter& w, const Sheet& sheet, bool active) {
    // Grid lines, row/column headings, zeros, automatic grid colour, outline symbols.
    std::uint16_t flags = 0x00B6;
    if (active) flags |= 0x0600;  // selected tab, shown in the window
    ByteWriter b;
    b.u16(flags);
    b.u16(static_cast<std::uint16_t>(sheet.topLeft.row - 1));
    b.u16(static_cast<std::uint16_t>(sheet.topLeft.col - 1));
    b.u16(64);  // grid colour: the default
    b.u16(0);
    b.u16(0);   // zoom of the page break preview: default
    b.u16(0);   // zoom of the normal view: default
    b.u32(0);
    w.record(rec::WINDOW2, b);
}

// SELECTION: the active cell and the selected range of the (only) pane.
void WriteSelection(RecordWriter& w, const Sheet& sheet) {
    const Rect& s = sheet.selection;
    ByteWriter b;
    b.u8(3);  // the top-left pane, the only one of an unsplit window
    b.u16(static_cast<std::uint16_t>(sheet.activeCell.row - 1));
    b.u16(static_cast<std::uint16_t>(sheet.activeCell.col - 1));
    b.u16(0);  // the active cell lies in the first range
    b.u16(1);  // one range
    b.u16(static_cast<std::uint16_t>(s.first.row - 1));
    b.u16(static_cast<std::uint16_t>(s.last.row - 1));
    b.u8(static_cast<std::uint8_t>(s.first.col - 1));
    b.u8(static_cast<std::uint8_t>(s.last.col - 1));
    w.record(rec::SELECTION, b);
}

}  // namespace xl::internal
