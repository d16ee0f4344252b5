// One function per BIFF8 record the writer emits, each appending its record
// to a record stream.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/xls/internal/biff_stream.h"
#include "platform/xls/book.h"

namespace xl::internal {

// --- workbook globals (xls_workbook_records.cpp) ---
enum class BofKind : std::uint16_t { Globals = 0x0005, Worksheet = 0x0010 };
void WriteBof(RecordWriter& w, BofKind kind);
void WriteEof(RecordWriter& w);
void WriteCodepage(RecordWriter& w);
void WriteWindow1(RecordWriter& w, int activeSheet);
void WriteDatemode(RecordWriter& w);
void WriteFont(RecordWriter& w, std::uint16_t colorPaletteIndex);
void WriteFormat(RecordWriter& w, std::uint16_t id, const std::string& formatString);
void WriteStyleXf(RecordWriter& w);
void WriteCellXf(RecordWriter& w, std::uint16_t fontIndex, std::uint16_t formatId);
void WriteStyle(RecordWriter& w);
// Returns the stream offset of the sheet position field, filled in once the sheet is written.
std::size_t WriteBoundsheet(RecordWriter& w, const std::u16string& name);

// The shared string table: unique strings in order of first use.
struct SharedStrings {
    std::vector<std::u16string> strings;
    std::uint32_t total = 0;  // number of cells that refer to the table
};
void WriteSstAndExtsst(RecordWriter& w, const SharedStrings& sst);

// The Workbook stream, given in pieces, wrapped in an OLE2 compound file
// (xls_writer.cpp); the file's bytes go to `out` (false there fails the whole).
// False when the file could not be made.
bool CompoundFile(std::span<const std::span<const std::uint8_t>> stream,
                  const std::function<bool(std::span<const std::uint8_t>)>& out);

// --- worksheet (xls_worksheet_records.cpp) ---
// The used range of a sheet: first row and column, last row and column + 1 (0-based; all 0 when empty).
struct UsedRange {
    std::uint32_t firstRow = 0, endRow = 0;
    std::uint16_t firstCol = 0, endCol = 0;
};
UsedRange UsedRangeOf(const CellStore& cells);
void WriteDimensions(RecordWriter& w, const UsedRange& used);
void WriteLabelSst(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint32_t sstIndex);
void WriteNumber(RecordWriter& w, int row, int col, std::uint16_t xf, double value);
void WriteBoolErr(RecordWriter& w, int row, int col, std::uint16_t xf, std::uint8_t value, bool isError);
void WriteBlank(RecordWriter& w, int row, int col, std::uint16_t xf);
void WriteWindow2(RecordWriter& w, const Sheet& sheet, bool active);
void WriteSelection(RecordWriter& w, const Sheet& sheet);

}  // namespace xl::internal
