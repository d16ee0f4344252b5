// The plain-text form of a workbook's cell tables, from which the build
// generates read_only.xls. The format is described at the top of
// data/read_only.tsv.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>

#include "platform/xls/book.h"

namespace mkreadonly {

// A source that cannot be turned into a workbook; what() names the source
// and line ("read_only.tsv:12: ...").
class SheetTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Column letters ("A", "BH", "IV") to the 1-based column number; 0 when the
// text is no column of a sheet.
int ColumnNumber(const std::string& letters);

// Reads the whole source. `sourceName` only labels error messages.
xl::internal::Book ParseSheetText(std::istream& in, const std::string& sourceName);

}  // namespace mkreadonly
