// Find: the cells of a rectangle in search order, starting after one cell and
// coming round to it last, compared by their displayed text.
#include <algorithm>

#include "platform/excel/internal/engine.h"

namespace xl::engine {

namespace {

// Makes the index of the columns c1..c2 cover the rows of `area`: a column
// that changed, or covers other rows, is read again from the cells of the area
// alone, whatever else the sheet holds.
void EnsureIndex(SheetData& sh, const Rect& area) {
    const int c1 = area.first.col, c2 = area.last.col;
    bool stale = false;
    for (int c = c1; c <= c2; ++c) {
        ColumnIndex& ix = sh.index[static_cast<std::size_t>(c)];
        if (ix.valid && ix.firstRow <= area.first.row && ix.lastRow >= area.last.row) continue;
        stale = true;
        ix.valid = false;
        ix.rows.clear();
        ix.shown.clear();
        ix.folded.clear();
    }
    if (!stale) return;
    const auto& rows = sh.s.cells.Rows();
    auto row = std::lower_bound(rows.begin(), rows.end(), area.first.row,
                                [](const internal::CellStore::Row& r, int n) { return r.row < n; });
    for (; row != rows.end() && row->row <= area.last.row; ++row) {
        auto entry = std::lower_bound(row->cells.begin(), row->cells.end(), c1,
                                      [](const internal::CellStore::Entry& e, int col) { return e.first.col < col; });
        for (; entry != row->cells.end() && entry->first.col <= c2; ++entry) {
            const auto& [at, cell] = *entry;
            ColumnIndex& ix = sh.index[static_cast<std::size_t>(at.col)];
            if (ix.valid) continue;
            std::string text = DisplayText(cell);
            if (text.empty()) continue;
            ix.rows.push_back(at.row);
            ix.folded.push_back(Fold(text));
            ix.shown.push_back(std::move(text));
        }
    }
    for (int c = c1; c <= c2; ++c) {
        ColumnIndex& ix = sh.index[static_cast<std::size_t>(c)];
        if (ix.valid) continue;
        ix.valid = true;
        ix.firstRow = area.first.row;
        ix.lastRow = area.last.row;
    }
}

struct Order {
    Rect area;
    bool byColumns;
    long height, width, count;
    long Linear(int row, int col) const {
        return byColumns ? (col - area.first.col) * height + (row - area.first.row)
                         : (row - area.first.row) * width + (col - area.first.col);
    }
    CellRef At(long linear) const {
        if (byColumns)
            return {area.first.row + static_cast<int>(linear % height), area.first.col + static_cast<int>(linear / height)};
        return {area.first.row + static_cast<int>(linear / width), area.first.col + static_cast<int>(linear % width)};
    }
};

std::string WhatText(const vb::Variant& what) {
    const vb::Variant v = what.Deref();
    if (v.IsString()) return v.AsString();
    return DisplayText(FromVariant(v));
}

// The next empty cell in search order.
std::optional<CellRef> FindEmpty(SheetData& sh, const Order& o, long start, bool previous) {
    EnsureIndex(sh, o.area);
    for (long step = 1; step <= o.count; ++step) {
        const long linear = previous ? ((start - step) % o.count + o.count) % o.count : (start + step) % o.count;
        const CellRef at = o.At(linear);
        const auto& rows = sh.index[static_cast<std::size_t>(at.col)].rows;
        if (!std::binary_search(rows.begin(), rows.end(), at.row)) return at;
    }
    return std::nullopt;
}

}  // namespace

std::optional<CellRef> Find(SheetData& sh, const Rect& area, const FindSpec& spec) {
    Order o{area, spec.byColumns, area.last.row - area.first.row + 1L, area.last.col - area.first.col + 1L, 0};
    o.count = o.height * o.width;
    const CellRef after = spec.after.value_or(area.first);
    if (!Contains(area, after)) Fail1004("Buňka, za kterou se má hledat, neleží v prohledávané oblasti.");
    const long k = o.Linear(after.row, after.col);

    std::string what = WhatText(spec.what);
    if (what.empty()) return FindEmpty(sh, o, k, spec.previous);
    if (!spec.matchCase) what = Fold(what);

    EnsureIndex(sh, area);
    auto matches = [&](const std::string& text) {
        return spec.whole ? text == what : text.find(what) != std::string::npos;
    };
    // Distance in search order from `after`; `after` itself is the farthest.
    auto distance = [&](long linear) {
        return spec.previous ? ((k - linear - 1) % o.count + o.count) % o.count
                             : ((linear - k - 1) % o.count + o.count) % o.count;
    };

    std::optional<CellRef> best;
    long bestDistance = o.count;
    for (int c = area.first.col; c <= area.last.col; ++c) {
        const ColumnIndex& ix = sh.index[static_cast<std::size_t>(c)];
        const auto& texts = spec.matchCase ? ix.shown : ix.folded;
        const auto lo = static_cast<long>(std::lower_bound(ix.rows.begin(), ix.rows.end(), area.first.row) - ix.rows.begin());
        const auto hi = static_cast<long>(std::upper_bound(ix.rows.begin(), ix.rows.end(), area.last.row) - ix.rows.begin());
        if (lo >= hi) continue;
        // Within one column the search order follows the rows; split the
        // column where the cells after `after` begin.
        auto firstBeyond = [&](bool orEqual) {
            const auto it = std::partition_point(ix.rows.begin() + lo, ix.rows.begin() + hi, [&](int row) {
                const long lin = o.Linear(row, c);
                return orEqual ? lin < k : lin <= k;
            });
            return static_cast<long>(it - ix.rows.begin());
        };
        auto test = [&](long i) {
            if (!matches(texts[static_cast<std::size_t>(i)])) return false;
            const int row = ix.rows[static_cast<std::size_t>(i)];
            const long d = distance(o.Linear(row, c));
            if (d < bestDistance) {
                bestDistance = d;
                best = CellRef{row, c};
            }
            return true;
        };
        if (!spec.previous) {
            const long split = firstBeyond(false);
            bool found = false;
            for (long i = split; i < hi && !found; ++i) found = test(i);
            for (long i = lo; i < split && !found; ++i) found = test(i);
        } else {
            const long split = firstBeyond(true);
            bool found = false;
            for (long i = split - 1; i >= lo && !found; --i) found = test(i);
            for (long i = hi - 1; i >= split && !found; --i) found = test(i);
        }
        if (bestDistance == 0) break;
    }
    return best;
}

}  // namespace xl::engine
