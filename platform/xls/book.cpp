#include "platform/xls/book.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

namespace xl::internal {

// ---- SharedText -------------------------------------------------------------

SharedText::SharedText(std::string_view s) {
    if (!s.empty()) p_ = new Block{1, 0, std::string(s)};
}

SharedText::SharedText(std::string&& s) {
    if (!s.empty()) p_ = new Block{1, 0, std::move(s)};
}

const std::string& SharedText::EmptyString() noexcept {
    static const std::string empty;
    return empty;
}

void SharedText::Release() noexcept {
    if (p_ && --p_->refs == 0) delete p_;
    p_ = nullptr;
}

std::ostream& operator<<(std::ostream& out, const SharedText& t) { return out << t.str(); }

// ---- CellStore --------------------------------------------------------------

namespace {

bool RowBefore(const CellStore::Row& r, int row) { return r.row < row; }
bool ColBefore(const CellStore::Entry& e, int col) { return e.first.col < col; }

}  // namespace

void CellStore::clear() {
    rows_.clear();
    size_ = 0;
}

std::vector<CellStore::Row>::iterator CellStore::RowAt(int row) {
    return std::lower_bound(rows_.begin(), rows_.end(), row, RowBefore);
}

const Cell* CellStore::Find(CellRef at) const {
    const auto r = std::lower_bound(rows_.begin(), rows_.end(), at.row, RowBefore);
    if (r == rows_.end() || r->row != at.row) return nullptr;
    const auto c = std::lower_bound(r->cells.begin(), r->cells.end(), at.col, ColBefore);
    if (c == r->cells.end() || c->first.col != at.col) return nullptr;
    return &c->second;
}

CellStore::iterator CellStore::find(CellRef at) {
    const auto r = RowAt(at.row);
    if (r == rows_.end() || r->row != at.row) return end();
    const auto c = std::lower_bound(r->cells.begin(), r->cells.end(), at.col, ColBefore);
    if (c == r->cells.end() || c->first.col != at.col) return end();
    return {&rows_, static_cast<std::size_t>(r - rows_.begin()), static_cast<std::size_t>(c - r->cells.begin())};
}

CellStore::const_iterator CellStore::find(CellRef at) const { return const_cast<CellStore&>(*this).find(at); }

Cell& CellStore::at(CellRef at) {
    if (Cell* c = Find(at)) return *c;
    throw std::out_of_range("no cell at row " + std::to_string(at.row) + ", column " + std::to_string(at.col));
}

const Cell& CellStore::at(CellRef at) const { return const_cast<CellStore&>(*this).at(at); }

Cell& CellStore::operator[](CellRef at) {
    // After the last cell: the next cell of the last row, or a new last row.
    if (!rows_.empty() && rows_.back().row == at.row && rows_.back().cells.back().first.col < at.col) {
        ++size_;
        return rows_.back().cells.emplace_back(Entry{at, Cell{}}).second;
    }
    if (rows_.empty() || rows_.back().row < at.row) {
        // The row left behind gives back its spare room; the new one expects as many cells.
        std::size_t expected = 4;
        if (!rows_.empty()) {
            rows_.back().cells.shrink_to_fit();
            expected = rows_.back().cells.size();
        }
        Row& row = rows_.emplace_back();
        row.row = at.row;
        row.cells.reserve(expected);
        ++size_;
        return row.cells.emplace_back(Entry{at, Cell{}}).second;
    }
    auto r = RowAt(at.row);
    if (r == rows_.end() || r->row != at.row) {
        r = rows_.insert(r, Row{});
        r->row = at.row;
    }
    const auto c = std::lower_bound(r->cells.begin(), r->cells.end(), at.col, ColBefore);
    if (c != r->cells.end() && c->first.col == at.col) return c->second;
    ++size_;
    return r->cells.insert(c, Entry{at, Cell{}})->second;
}

CellStore::iterator CellStore::lower_bound(CellRef at) {
    auto r = RowAt(at.row);
    if (r == rows_.end()) return end();
    std::size_t cell = 0;
    if (r->row == at.row) {
        cell = static_cast<std::size_t>(std::lower_bound(r->cells.begin(), r->cells.end(), at.col, ColBefore) -
                                        r->cells.begin());
        if (cell == r->cells.size()) {
            ++r;
            cell = 0;
        }
    }
    return {&rows_, static_cast<std::size_t>(r - rows_.begin()), cell};
}

CellStore::iterator CellStore::erase(iterator it) {
    Row& row = rows_[it.row_];
    row.cells.erase(row.cells.begin() + static_cast<std::ptrdiff_t>(it.cell_));
    --size_;
    if (row.cells.empty()) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(it.row_));
        return {&rows_, it.row_, 0};
    }
    if (it.cell_ == row.cells.size()) return {&rows_, it.row_ + 1, 0};
    return it;
}

std::size_t CellStore::erase(CellRef at) {
    const auto it = find(at);
    if (it == end()) return 0;
    erase(it);
    return 1;
}

std::pair<const CellStore::Entry*, const CellStore::Entry*> CellStore::RowCells(int row, int firstCol,
                                                                                int lastCol) const {
    const auto r = std::lower_bound(rows_.begin(), rows_.end(), row, RowBefore);
    if (r == rows_.end() || r->row != row) return {nullptr, nullptr};
    const Entry* begin = r->cells.data();
    const Entry* end = begin + r->cells.size();
    const Entry* from = std::lower_bound(begin, end, firstCol, ColBefore);
    const Entry* to = std::lower_bound(from, end, lastCol + 1, ColBefore);
    return {from, to};
}

}  // namespace xl::internal
