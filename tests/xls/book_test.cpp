// The cells of a sheet as a map from address to cell, kept row by row, and
// the texts the cells share.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "test_support.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

std::vector<CellRef> Order(const CellStore& cells) {
    std::vector<CellRef> refs;
    for (const auto& [ref, cell] : cells) refs.push_back(ref);
    return refs;
}

TEST(CellStore, CellsComeInRowOrderWhateverTheOrderTheyWereAddedIn) {
    CellStore cells;
    const std::vector<CellRef> added = {{5, 2}, {1, 3}, {5, 1}, {1, 1}, {70, 256}, {3, 9}, {1, 2}, {5, 3}};
    for (const CellRef& ref : added) cells[ref] = Number(ref.row * 1000 + ref.col);
    EXPECT_EQ(Order(cells), (std::vector<CellRef>{{1, 1}, {1, 2}, {1, 3}, {3, 9}, {5, 1}, {5, 2}, {5, 3}, {70, 256}}));
    EXPECT_EQ(cells.size(), added.size());
    for (const CellRef& ref : added) {
        ASSERT_NE(cells.Find(ref), nullptr);
        EXPECT_EQ(cells.at(ref).number, ref.row * 1000 + ref.col);
        EXPECT_EQ(cells.count(ref), 1u);
        EXPECT_EQ(cells.find(ref)->first, ref);
    }
    // Addresses between the cells hold nothing.
    for (const CellRef ref : {CellRef{1, 4}, CellRef{2, 1}, CellRef{5, 4}, CellRef{69, 256}, CellRef{71, 1}}) {
        EXPECT_EQ(cells.Find(ref), nullptr);
        EXPECT_EQ(cells.find(ref), cells.end());
        EXPECT_EQ(cells.count(ref), 0u);
        EXPECT_THROW(cells.at(ref), std::out_of_range);
    }
}

TEST(CellStore, WritingACellAgainReplacesItAndErasingLeavesTheRest) {
    CellStore cells;
    cells[{2, 2}] = Text("a");
    cells[{2, 2}] = Text("b");
    cells[{2, 3}] = Text("c");
    cells[{4, 1}] = Text("d");
    EXPECT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells.at({2, 2}).text, "b");

    EXPECT_EQ(cells.erase(CellRef{2, 2}), 1u);
    EXPECT_EQ(cells.erase(CellRef{2, 2}), 0u);
    EXPECT_EQ(Order(cells), (std::vector<CellRef>{{2, 3}, {4, 1}}));
    // Erasing the last cell of a row moves on to the next row.
    auto next = cells.erase(cells.find({2, 3}));
    ASSERT_NE(next, cells.end());
    EXPECT_EQ(next->first, (CellRef{4, 1}));
    const auto after = cells.erase(next);
    EXPECT_EQ(after, cells.end());
    EXPECT_TRUE(cells.empty());
    EXPECT_EQ(cells.begin(), cells.end());
}

TEST(CellStore, LowerBoundFindsTheFirstCellAtOrAfterAnAddress) {
    CellStore cells;
    for (const CellRef ref : {CellRef{1, 2}, CellRef{1, 5}, CellRef{3, 1}}) cells[ref] = Number(1);
    struct Case {
        CellRef at;
        std::optional<CellRef> expected;
    } cases[] = {
        {{1, 1}, CellRef{1, 2}}, {{1, 2}, CellRef{1, 2}}, {{1, 3}, CellRef{1, 5}}, {{1, 6}, CellRef{3, 1}},
        {{2, 9}, CellRef{3, 1}}, {{3, 1}, CellRef{3, 1}}, {{3, 2}, std::nullopt},  {{9, 1}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto it = cells.lower_bound(c.at);
        if (!c.expected) {
            EXPECT_EQ(it, cells.end()) << c.at.row << "," << c.at.col;
        } else {
            ASSERT_NE(it, cells.end()) << c.at.row << "," << c.at.col;
            EXPECT_EQ(it->first, *c.expected) << c.at.row << "," << c.at.col;
        }
    }
}

TEST(CellStore, RowCellsGivesTheCellsOfAColumnSpan) {
    CellStore cells;
    for (int col : {2, 4, 6, 8}) cells[{7, col}] = Number(col);
    auto cols = [&](int first, int last) {
        std::vector<int> out;
        auto [from, to] = cells.RowCells(7, first, last);
        for (auto* e = from; e != to; ++e) out.push_back(e->first.col);
        return out;
    };
    EXPECT_EQ(cols(1, 256), (std::vector<int>{2, 4, 6, 8}));
    EXPECT_EQ(cols(3, 6), (std::vector<int>{4, 6}));
    EXPECT_EQ(cols(9, 20), std::vector<int>{});
    auto [from, to] = cells.RowCells(8, 1, 256);
    EXPECT_EQ(from, to);
}

TEST(CellStore, StoresCompareByTheirCells) {
    CellStore a, b;
    a[{1, 1}] = Text("x");
    a[{2, 1}] = Number(2);
    b[{2, 1}] = Number(2);
    b[{1, 1}] = Text("x");
    EXPECT_EQ(a, b);
    b[{2, 1}].colorIndex = 3;
    EXPECT_NE(a, b);
    CellStore copy = a;
    copy.clear();
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(a.size(), 2u);
}

// A copy, an assignment or a move leaves each store with cells of its own
// that outlive the other store and can still be written, erased and added
// to; a moved-from store is an empty one.
TEST(CellStore, CopiesMovesAndAssignmentsKeepTheirCellsWhenTheOtherGoes) {
    auto filled = [](int rows) {
        CellStore s;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= 10; ++c) s[{r, c}] = Number(r * 100 + c);
        return s;
    };
    auto check = [](const CellStore& s, int rows, const char* what) {
        ASSERT_EQ(s.size(), static_cast<std::size_t>(rows) * 10) << what;
        for (int r = 1; r <= rows; r += 97) EXPECT_EQ(s.at({r, 7}).number, r * 100 + 7) << what;
    };
    const int rows = 2000;  // more cells than the first block holds
    CellStore copied;
    CellStore assigned;
    assigned[{1, 1}] = Text("before");
    CellStore moved;
    CellStore moveAssigned;
    moveAssigned[{9, 9}] = Text("before");
    {
        CellStore source = filled(rows);
        copied = CellStore(source);
        assigned = source;
        CellStore other = filled(rows);
        moveAssigned = std::move(other);
        EXPECT_TRUE(other.empty());
        other[{3, 3}] = Number(3);  // a moved-from store is an empty one
        EXPECT_EQ(other.size(), 1u);
        moved = std::move(source);
        EXPECT_TRUE(source.empty());
        EXPECT_EQ(source.begin(), source.end());
    }
    for (CellStore* s : {&copied, &assigned, &moved, &moveAssigned}) {
        check(*s, rows, "kept");
        (*s)[{rows / 2, 11}] = Number(1);  // a row grows
        (*s)[{rows + 1, 1}] = Number(2);   // a row is added
        EXPECT_EQ(s->erase(CellRef{1, 1}), 1u);
        EXPECT_EQ(s->size(), static_cast<std::size_t>(rows) * 10 + 1);
        EXPECT_EQ(s->at({rows / 2, 11}).number, 1);
    }
    EXPECT_EQ(copied, assigned);
    EXPECT_EQ(moved, moveAssigned);
    const CellStore& itself = copied;
    copied = itself;  // assigned to itself
    EXPECT_EQ(copied, assigned);
}

TEST(SharedText, CopiesShareOneBufferAndCompareByContents) {
    const SharedText a(std::string(100, 'x'));
    const SharedText b = a;
    SharedText c(std::string(100, 'x'));
    EXPECT_TRUE(a.SharesWith(b));
    EXPECT_FALSE(a.SharesWith(c));
    EXPECT_EQ(&a.str(), &b.str());
    EXPECT_EQ(a, c);
    EXPECT_EQ(a, std::string(100, 'x'));
    EXPECT_NE(a, "x");
    c = SharedText("y");
    EXPECT_EQ(c, "y");
    EXPECT_EQ(b.size(), 100u);  // a copy outlives a change of the other
    std::ostringstream out;
    out << c;
    EXPECT_EQ(out.str(), "y");
    // The empty text holds no buffer.
    EXPECT_TRUE(SharedText("").empty());
    EXPECT_TRUE(SharedText().empty());
    EXPECT_FALSE(SharedText().SharesWith(SharedText()));
    EXPECT_EQ(SharedText(), "");
}

}  // namespace
