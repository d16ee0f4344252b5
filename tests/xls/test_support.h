// Helpers shared by the .xls test suites: temporary folders and building books.
#pragma once

#include <string>

#include "platform/xls/book.h"
#include "tests/support/temp_env.h"

namespace xlstest {

using xl::internal::Book;
using xl::internal::Cell;
using xl::internal::CellRef;
using xl::internal::Sheet;

using testsupport::ReadFile;
using testsupport::SourceDir;
using testsupport::TempDir;

inline Cell Text(const std::string& s, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Text;
    c.text = s;
    c.colorIndex = color;
    return c;
}

inline Cell Number(double v, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Number;
    c.number = v;
    c.colorIndex = color;
    return c;
}

inline Cell Date(double serial, bool hasDay, bool hasTime, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Date;
    c.number = serial;
    c.dateHasDay = hasDay;
    c.dateHasTime = hasTime;
    c.colorIndex = color;
    return c;
}

}  // namespace xlstest
