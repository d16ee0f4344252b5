// Reading and writing Excel 97 (BIFF8) workbook files.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/xls/book.h"
#include "platform/safe_file/safe_file.h"

namespace xl::internal {

// A file that cannot be read or written; what() is a description a user can read (Czech).
class XlsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file's path as the messages show it: quoted, and in the form the user
// knows it from the program ("C:\Dokumenty\..." for a file of drive C).
std::string ShownPath(const std::string& path);

// The largest file the reader takes: far more than any song, and a bound on
// what a file can make the reader spend.
inline constexpr std::uint64_t kMaxFileSize = 64u * 1024 * 1024;

// Reads the whole workbook: sheets in order with names, cell values (text,
// numbers, dates and times, cached results of formulas), font colour index of
// each cell, the active sheet, each sheet's active cell and selection.
Book ReadXlsFile(const std::string& path);
// The same from bytes in memory (the fuzz target feeds this).
Book ReadXlsBytes(const std::string& bytes);

// Writes the workbook as BIFF8 into a temporary file beside `path` and renames
// it over `path`, so that a failed save never destroys the previous file (see
// sys::SaveFileSafely for links, write-protected files and leftovers).
// `written`, when given, gets the new file's descriptor once the workbook is
// in it, before it takes the old file's place (a lock on the file moves onto
// the new one there).
void WriteXlsFile(const Book& book, const std::string& path, const std::function<void(int fd)>& written = {});
// Why the workbook file `path` (a system path) could not be saved, as the
// errors of WriteXlsFile say it.
std::string SaveFailureText(sys::SaveFailure failure, const std::string& path);
// The same workbook as the bytes of a file, in memory.
std::string WriteXlsBytes(const Book& book);

}  // namespace xl::internal
