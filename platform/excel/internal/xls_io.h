// Reading and writing Excel 97 (BIFF8) workbook files.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/excel/internal/book.h"

namespace xl::internal {

// A file that cannot be read or written; what() is a description a user can read (Czech).
class XlsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the whole workbook: sheets in order with names, cell values (text,
// numbers, dates and times, cached results of formulas), font colour index of
// each cell, the active sheet, each sheet's active cell and selection.
Book ReadXlsFile(const std::string& path);
// The same from bytes in memory (the fuzz target feeds this).
Book ReadXlsBytes(const std::string& bytes);

// Writes the workbook as BIFF8 into a temporary file beside `path` and renames
// it over `path`, so that a failed save never destroys the previous file.
void WriteXlsFile(const Book& book, const std::string& path);
// The same workbook as the bytes of a file, in memory.
std::string WriteXlsBytes(const Book& book);

}  // namespace xl::internal
