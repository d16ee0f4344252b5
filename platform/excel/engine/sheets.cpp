// Changes to cells and sheets; each tells the workbook's windows.
#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/excel/internal/engine.h"
#include "platform/vb/strings.h"

namespace xl::engine {

namespace {

template <class F>
void Notify(BookData* book, F&& f) {
    if (!book) return;
    const auto observers = book->observers;  // an observer may unregister while told
    for (BookObserver* o : observers) f(*o);
}

void Invalidate(SheetData& sh, int c1, int c2) {
    for (int c = c1; c <= c2; ++c) sh.index[static_cast<std::size_t>(c)].valid = false;
}

// Keeps the search text of one cell up to date in a column index that is valid.
void Reindex(SheetData& sh, CellRef at) {
    ColumnIndex& ix = sh.index[static_cast<std::size_t>(at.col)];
    if (!ix.valid || at.row < ix.firstRow || at.row > ix.lastRow) return;
    const Cell* cell = FindCell(sh, at);
    std::string text = cell ? DisplayText(*cell) : std::string();
    const auto pos = std::lower_bound(ix.rows.begin(), ix.rows.end(), at.row) - ix.rows.begin();
    const auto i = static_cast<std::size_t>(pos);
    const bool present = i < ix.rows.size() && ix.rows[i] == at.row;
    if (text.empty()) {
        if (!present) return;
        ix.rows.erase(ix.rows.begin() + pos);
        ix.shown.erase(ix.shown.begin() + pos);
        ix.folded.erase(ix.folded.begin() + pos);
    } else if (present) {
        ix.folded[i] = Fold(text);
        ix.shown[i] = std::move(text);
    } else {
        ix.rows.insert(ix.rows.begin() + pos, at.row);
        ix.folded.insert(ix.folded.begin() + pos, Fold(text));
        ix.shown.insert(ix.shown.begin() + pos, std::move(text));
    }
}

void Changed(SheetData& sh, const Rect& area) {
    // A few cells (a grip's row) are brought up to date in place; larger
    // changes make their columns be read again at the next search.
    const long cells = (area.last.row - area.first.row + 1L) * (area.last.col - area.first.col + 1L);
    if (cells <= 64) {
        for (int r = area.first.row; r <= area.last.row; ++r)
            for (int c = area.first.col; c <= area.last.col; ++c) Reindex(sh, CellRef{r, c});
    } else {
        Invalidate(sh, area.first.col, area.last.col);
    }
    if (sh.book) MarkChanged(*sh.book);
    Notify(sh.book, [&](BookObserver& o) { o.CellsChanged(sh, area); });
}

bool IsDefault(const Cell& c) { return c.kind == Cell::Kind::Empty && c.colorIndex == 0; }

}  // namespace

void MarkChanged(BookData& book) { book.saved = false; }

void SetValues(SheetData& sh, const Rect& area, const Cell& value) {
    if (value.kind == Cell::Kind::Empty) return ClearContents(sh, area);
    for (int r = area.first.row; r <= area.last.row; ++r)
        for (int c = area.first.col; c <= area.last.col; ++c) {
            Cell& cell = sh.s.cells[CellRef{r, c}];
            const int color = cell.colorIndex;
            cell = value;
            cell.colorIndex = color;
        }
    Changed(sh, area);
}

void ClearContents(SheetData& sh, const Rect& area) {
    auto& cells = sh.s.cells;
    for (int r = area.first.row; r <= area.last.row; ++r) {
        auto it = cells.lower_bound(CellRef{r, area.first.col});
        if (it == cells.end()) break;  // no cells from here on
        while (it != cells.end() && it->first.row == r && it->first.col <= area.last.col) {
            if (it->second.colorIndex == 0) {
                it = cells.erase(it);
            } else {
                const int color = it->second.colorIndex;
                it->second = Cell{};
                it->second.colorIndex = color;
                ++it;
            }
        }
    }
    Changed(sh, area);
}

void SetColorIndex(SheetData& sh, const Rect& area, int colorIndex) {
    for (int r = area.first.row; r <= area.last.row; ++r)
        for (int c = area.first.col; c <= area.last.col; ++c) {
            const CellRef at{r, c};
            auto it = sh.s.cells.find(at);
            if (it == sh.s.cells.end()) {
                if (colorIndex != 0) sh.s.cells[at].colorIndex = colorIndex;
            } else {
                it->second.colorIndex = colorIndex;
                if (IsDefault(it->second)) sh.s.cells.erase(it);
            }
        }
    if (sh.book) MarkChanged(*sh.book);
    Notify(sh.book, [&](BookObserver& o) { o.CellsChanged(sh, area); });
}

void SetSelection(SheetData& sh, const Rect& selection, CellRef active) {
    sh.s.selection = selection;
    sh.s.activeCell = active;
    Notify(sh.book, [&](BookObserver& o) { o.SelectionChanged(sh); });
}

std::optional<std::string> SheetNameProblem(const BookData& book, const SheetData* self, const std::string& name) {
    if (name.empty()) return "Název listu nesmí být prázdný.";
    if (vb::Len(name) > 31) return "Název listu může mít nejvýše 31 znaků.";
    if (name.find_first_of(":\\/?*[]") != std::string::npos)
        return "Název listu nesmí obsahovat žádný ze znaků : \\ / ? * [ ].";
    const std::string folded = Fold(name);
    for (const auto& other : book.sheets)
        if (other.get() != self && Fold(other->s.name) == folded)
            return "Název listu \"" + name + "\" je již použit. Zadejte jiný název.";
    return std::nullopt;
}

void RenameSheet(SheetData& sh, const std::string& name) {
    if (!sh.book) Fail1004("List již neexistuje.");
    if (sh.s.name == name) return;
    if (auto problem = SheetNameProblem(*sh.book, &sh, name)) Fail1004(*problem);
    sh.s.name = name;
    MarkChanged(*sh.book);
    Notify(sh.book, [](BookObserver& o) { o.SheetsChanged(); });
}

void SelectSheet(BookData& book, int index) {
    if (index < 0 || index >= static_cast<int>(book.sheets.size())) Fail9("Index je mimo rozsah.");
    if (book.activeSheet == index) return;
    book.activeSheet = index;
    Notify(&book, [](BookObserver& o) { o.SheetsChanged(); });
}

SheetData& InsertSheet(BookData& book, int index) {
    index = std::clamp(index, 0, static_cast<int>(book.sheets.size()));
    auto sh = std::make_shared<SheetData>();
    sh->book = &book;
    for (int n = static_cast<int>(book.sheets.size()) + 1;; ++n) {
        const std::string name = "List" + std::to_string(n);
        if (!SheetNameProblem(book, nullptr, name)) {
            sh->s.name = name;
            break;
        }
    }
    book.sheets.insert(book.sheets.begin() + index, sh);
    book.activeSheet = index;
    MarkChanged(book);
    Notify(&book, [](BookObserver& o) { o.SheetsChanged(); });
    return *sh;
}

void DeleteSheet(BookData& book, int index) {
    if (index < 0 || index >= static_cast<int>(book.sheets.size())) Fail9("Index je mimo rozsah.");
    if (book.sheets.size() == 1) Fail1004("Sešit musí obsahovat alespoň jeden list.");
    book.sheets[static_cast<std::size_t>(index)]->book = nullptr;
    book.sheets.erase(book.sheets.begin() + index);
    if (index < book.activeSheet || book.activeSheet >= static_cast<int>(book.sheets.size())) --book.activeSheet;
    MarkChanged(book);
    Notify(&book, [](BookObserver& o) { o.SheetsChanged(); });
}

int IndexOf(const BookData& book, const SheetData& sh) {
    for (std::size_t i = 0; i < book.sheets.size(); ++i)
        if (book.sheets[i].get() == &sh) return static_cast<int>(i);
    return -1;
}

// A sheet with more cells than this is a large one (a 65,535-row song has ten times as many).
constexpr std::size_t kLargeSheet = 50000;

bool HasLargeSheet(const BookData& book) {
    return std::any_of(book.sheets.begin(), book.sheets.end(),
                       [](const auto& sh) { return sh->s.cells.size() >= kLargeSheet; });
}

// The texts of a large sheet's cells are freed piece by piece, between pieces
// that stay; the allocator keeps such memory unless asked to give the free
// pages back.
void ReleaseFreedMemory() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

}  // namespace xl::engine
