// A record scan of the Workbook stream: sheets, cell values (shared strings,
// numbers, formula results), each cell's format (font colour, date formats),
// the active sheet and each sheet's window (active cell, selection).
// Every read is bounds-checked; damaged records are skipped or end the scan.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/excel/internal/book.h"

namespace xl::internal {

struct ScannedCell {
    enum class Source { Shared, Label, Number, Boolean, Error, Blank, FormulaNumber, FormulaText, FormulaBoolean, FormulaError };
    Source source = Source::Blank;
    CellRef ref;
    std::uint16_t xf = 0;
    double number = 0;  // Number, FormulaNumber; Boolean/Error: the value or code
    std::string text;   // Shared, Label, FormulaText (UTF-8)
    std::uint32_t sharedIndex = 0;  // Shared: number in the shared string table
};

struct ScannedSheet {
    std::string name;
    std::uint32_t offset = 0;  // stream offset of its BOF
    bool isWorksheet = true;
    bool shown = false;  // WINDOW2 says this tab is the one shown
    CellRef activeCell{1, 1};
    Rect selection{{1, 1}, {1, 1}};
    CellRef topLeft{1, 1};
    std::vector<ScannedCell> cells;
};

struct ScannedBook {
    int activeTab = -1;  // WINDOW1, or -1 when absent
    bool date1904 = false;
    std::vector<std::uint16_t> fontColors;           // palette index per font, in font index order (4 skipped)
    std::map<std::uint16_t, std::string> formats;   // custom number formats
    struct Xf {
        std::uint16_t font = 0;
        std::uint16_t format = 0;
    };
    std::vector<Xf> xfs;
    std::vector<std::string> sharedStrings;
    std::vector<ScannedSheet> sheets;
};

// What makes a stream unreadable; each gets its own message.
enum class ScanFailure { None, NotBiff8, Encrypted, Damaged };

// Scans a Workbook stream; on failure returns the reason and leaves `book` partly filled.
ScanFailure ScanWorkbookStream(const std::vector<std::uint8_t>& stream, ScannedBook& book);

}  // namespace xl::internal
