// The in-memory contents of a workbook: what the .xls reader fills, the
// writer stores, and the automation object model and the window work on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace xl::internal {

// Sheet limits of the Excel 97 format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxCols = 256;

// The text of a cell (UTF-8). Copies share one buffer, so the cells that show
// one string of a file's shared-string table, or one value written into a
// whole range, hold it once. The text never changes; a new value is a new
// text. Reads as a const std::string. Not shared between threads.
class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string_view s);
    SharedText(const std::string& s) : SharedText(std::string_view(s)) {}
    SharedText(const char* s) : SharedText(std::string_view(s)) {}
    SharedText(std::string&& s);
    SharedText(const SharedText& o) noexcept : p_(o.p_) {
        if (p_) ++p_->refs;
    }
    SharedText(SharedText&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    SharedText& operator=(SharedText o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~SharedText() { Release(); }

    const std::string& str() const noexcept { return p_ ? p_->text : EmptyString(); }
    operator const std::string&() const noexcept { return str(); }
    bool empty() const noexcept { return p_ == nullptr; }
    std::size_t size() const noexcept { return str().size(); }
    // True when both hold the very same buffer (one string, shared).
    bool SharesWith(const SharedText& o) const noexcept { return p_ != nullptr && p_ == o.p_; }
    // A note the writer keeps on the text while it saves a book (its number in
    // the file's string table), so that the cells sharing the text find that
    // number without a search. 0 until set; the empty text keeps none.
    std::uint64_t WriterNote() const noexcept { return p_ ? p_->note : 0; }
    void SetWriterNote(std::uint64_t note) const noexcept {
        if (p_) p_->note = note;
    }

    friend bool operator==(const SharedText& a, const SharedText& b) { return a.p_ == b.p_ || a.str() == b.str(); }
    friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, std::string_view b) { return std::string_view(a.str()) == b; }
    friend bool operator==(const SharedText& a, const char* b) { return std::string_view(a.str()) == b; }

private:
    struct Block {
        std::size_t refs;
        std::uint64_t note;
        std::string text;
    };
    static const std::string& EmptyString() noexcept;
    void Release() noexcept;
    Block* p_ = nullptr;  // null for the empty text
};
std::ostream& operator<<(std::ostream& out, const SharedText& t);

struct Cell {
    enum class Kind : std::uint8_t { Empty, Text, Number, Date, Boolean, Error };
    Kind kind = Kind::Empty;
    bool dateHasDay = true;   // Date: false for a pure time of day (shown with a time format)
    bool dateHasTime = false; // Date: true when the format shows the time
    int colorIndex = 0;  // font colour index; 0 = automatic
    double number = 0;   // Number; Date: serial days since 30 Dec 1899 (fraction = time of day); Boolean: 0/1
    SharedText text;     // Text
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

// The cells of a sheet that hold a value or a colour, row by row: the rows
// that have cells in row order, each with its cells in column order. Used as
// a map from CellRef to Cell (find, at, operator[], erase, iteration in row
// order); each element is an Entry whose `first` is the address (never change
// it) and `second` the cell. Adding a cell after the last one, as a file is
// read or a song is written, costs no search.
class CellStore {
public:
    struct Entry {
        CellRef first;
        Cell second;
        bool operator==(const Entry&) const = default;
    };
    using value_type = Entry;
    // The rows that hold cells, in order; each with its cells.
    struct Row {
        int row = 0;
        std::vector<Entry> cells;
        bool operator==(const Row&) const = default;
    };

    CellStore() = default;
    CellStore(const CellStore&) = default;
    CellStore& operator=(const CellStore&) = default;
    // A moved-from store is an empty one.
    CellStore(CellStore&& o) noexcept : rows_(std::move(o.rows_)), size_(std::exchange(o.size_, 0)) { o.rows_.clear(); }
    CellStore& operator=(CellStore&& o) noexcept {
        if (this == &o) return *this;
        rows_ = std::move(o.rows_);
        size_ = std::exchange(o.size_, 0);
        o.rows_.clear();
        return *this;
    }

    template <bool Const>
    class Iter {
    public:
        using value_type = Entry;
        using reference = std::conditional_t<Const, const Entry&, Entry&>;
        using pointer = std::conditional_t<Const, const Entry*, Entry*>;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;
        Iter() = default;
        operator Iter<true>() const
            requires(!Const)
        {
            return Iter<true>(rows_, row_, cell_);
        }
        reference operator*() const { return (*rows_)[row_].cells[cell_]; }
        pointer operator->() const { return &**this; }
        Iter& operator++() {
            if (++cell_ == (*rows_)[row_].cells.size()) {
                ++row_;
                cell_ = 0;
            }
            return *this;
        }
        Iter operator++(int) {
            Iter was = *this;
            ++*this;
            return was;
        }
        bool operator==(const Iter& o) const { return row_ == o.row_ && cell_ == o.cell_; }

    private:
        friend class CellStore;
        template <bool>
        friend class Iter;
        using RowList = std::conditional_t<Const, const std::vector<Row>, std::vector<Row>>;
        Iter(RowList* rows, std::size_t row, std::size_t cell) : rows_(rows), row_(row), cell_(cell) {}
        RowList* rows_ = nullptr;
        std::size_t row_ = 0;   // index into the rows
        std::size_t cell_ = 0;  // index into that row's cells
    };
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear();

    iterator begin() { return {&rows_, 0, 0}; }
    iterator end() { return {&rows_, rows_.size(), 0}; }
    const_iterator begin() const { return {&rows_, 0, 0}; }
    const_iterator end() const { return {&rows_, rows_.size(), 0}; }

    // The cell at an address; null when it holds nothing.
    const Cell* Find(CellRef at) const;
    Cell* Find(CellRef at) { return const_cast<Cell*>(std::as_const(*this).Find(at)); }
    iterator find(CellRef at);
    const_iterator find(CellRef at) const;
    std::size_t count(CellRef at) const { return Find(at) ? 1 : 0; }
    // The cell at an address; std::out_of_range when it holds nothing.
    Cell& at(CellRef at);
    const Cell& at(CellRef at) const;
    // The cell at an address, added empty when missing.
    Cell& operator[](CellRef at);
    // The first cell at or after an address in row order.
    iterator lower_bound(CellRef at);
    std::size_t erase(CellRef at);
    iterator erase(iterator it);

    // The cells of one row whose columns lie in [firstCol, lastCol], in column order.
    std::pair<const Entry*, const Entry*> RowCells(int row, int firstCol, int lastCol) const;
    // The rows that hold cells.
    const std::vector<Row>& Rows() const { return rows_; }

    bool operator==(const CellStore& o) const { return size_ == o.size_ && rows_ == o.rows_; }

private:
    std::vector<Row>::iterator RowAt(int row);
    std::vector<Row> rows_;  // only rows with cells, ascending
    std::size_t size_ = 0;
};

struct Sheet {
    std::string name;
    CellStore cells;  // only non-default cells (a value or a colour)
    CellRef activeCell{1, 1};
    Rect selection{{1, 1}, {1, 1}};
    CellRef topLeft{1, 1};  // first visible cell of the window pane
};

struct Book {
    std::vector<Sheet> sheets;
    int activeSheet = 0;  // index into sheets
};

}  // namespace xl::internal
