// Test helpers for the lookup workbook: its cells as read back from the
// file, and Czech note names read back into pitches.
#pragma once

#include <optional>
#include <string>

#include "platform/xls/book.h"

namespace lookup_test {

using xl::internal::Book;
using xl::internal::Cell;
using xl::internal::CellRef;
using xl::internal::Sheet;

const Sheet* FindSheet(const Book& book, const std::string& name);
// The cell's text as the spreadsheet shows it ("" for an empty cell).
std::string Shown(const Sheet& sheet, CellRef ref);

// Semitones of a Czech note root above c ("c" 0, "cis" 1, "es" 3, "b" 10,
// "ces" -1, "his" 12, "heses" 9, "fisis" 7); letter case is ignored.
std::optional<int> RootSemitones(const std::string& root);
// Treble tone number of a note name such as "e," (1), "c1," (9), "ces1," (8),
// "fes," (1); nullopt when the text is no note name.
std::optional<int> ToneOf(const std::string& name);

}  // namespace lookup_test
