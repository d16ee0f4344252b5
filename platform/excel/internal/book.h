// The in-memory contents of a workbook: what the .xls reader fills, the
// writer stores, and the automation object model and the window work on.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace xl::internal {

// Sheet limits of the Excel 97 format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxCols = 256;

struct Cell {
    enum class Kind { Empty, Text, Number, Date, Boolean, Error };
    Kind kind = Kind::Empty;
    std::string text;    // Text: UTF-8
    double number = 0;   // Number; Date: serial days since 30 Dec 1899 (fraction = time of day); Boolean: 0/1
    bool dateHasDay = true;   // Date: false for a pure time of day (shown with a time format)
    bool dateHasTime = false; // Date: true when the format shows the time
    int colorIndex = 0;  // font colour index; 0 = automatic
    bool operator==(const Cell&) const = default;
};

// Cell address, 1-based as the object model counts.
struct CellRef {
    int row = 1;
    int col = 1;
    auto operator<=>(const CellRef&) const = default;
};

struct Rect {
    CellRef first;  // top-left
    CellRef last;   // bottom-right
    bool operator==(const Rect&) const = default;
};

struct Sheet {
    std::string name;
    std::map<CellRef, Cell> cells;  // only non-default cells (a value or a colour)
    CellRef activeCell{1, 1};
    Rect selection{{1, 1}, {1, 1}};
    CellRef topLeft{1, 1};  // first visible cell of the window pane
};

struct Book {
    std::vector<Sheet> sheets;
    int activeSheet = 0;  // index into sheets
};

}  // namespace xl::internal
