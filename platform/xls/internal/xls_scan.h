// A record scan of the Workbook stream: sheets, cell values (shared strings,
// numbers, formula results), each cell's format (font colour, date formats),
// the active sheet and each sheet's window (active cell, selection).
// Every read is bounds-checked; damaged records are skipped or end the scan.
// What the scan keeps is bounded by the bytes it reads, not by what they
// claim: cells share the strings of the shared-string table, and no byte of
// the stream is read for two sheets.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/xls/book.h"

namespace xl::internal {

struct ScannedSheet {
    Sheet sheet;               // name, cells and window
    std::uint32_t offset = 0;  // stream offset of its BOF
    bool isWorksheet = true;
    bool shown = false;  // WINDOW2 says this tab is the one shown
};

struct ScannedBook {
    int activeTab = -1;  // WINDOW1, or -1 when absent
    std::vector<ScannedSheet> sheets;
};

// What makes a stream unreadable; each gets its own message.
enum class ScanFailure { None, NotBiff8, Encrypted, Damaged };

// Scans a Workbook stream; on failure returns the reason and leaves `book` partly filled.
ScanFailure ScanWorkbookStream(std::span<const std::uint8_t> stream, ScannedBook& book);

}  // namespace xl::internal
