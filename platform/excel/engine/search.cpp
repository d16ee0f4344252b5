// Find: the cells of a rectangle in search order, starting after one cell and
// coming round to it last, compared by their displayed text.
#include <algorithm>

#include "platform/excel/engine/engine.h"

namespace xl::engine {

namespace {

// Rebuilds, in one pass over the sheet, the text of the columns in c1..c2
// that changed since they were last searched.
void EnsureIndex(SheetData& sh, int c1, int c2) {
    bool stale = false;
    for (int c = c1; c <= c2; ++c) {
        ColumnIndex& ix = sh.index[static_cast<std::size_t>(c)];
        if (!ix.valid) {
            stale = true;
            ix.rows.clear();
            ix.shown.clear();
            ix.folded.clear();
        }
    }
    if (!stale) return;
    for (const auto& [at, cell] : sh.s.cells) {
        if (at.col < c1 || at.col > c2) continue;
        ColumnIndex& ix = sh.index[static_cast<std::size_t>(at.col)];
        if (ix.valid) continue;
        std::string text = DisplayText(cell);
        if (text.empty()) continue;
        ix.rows.push_back(at.row);
        ix.folded.push_back(Fold(text));
        ix.shown.push_back(std::move(text));
    }
    for (int c = c1; c <= c2; ++c) sh.index[static_cast<std::size_t>(c)].valid = true;
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
    EnsureIndex(sh, o.area.first.col, o.area.last.col);
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

    EnsureIndex(sh, area.first.col, area.last.col);
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
