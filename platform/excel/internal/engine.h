// The engine behind the object model: open workbooks, their sheets and cells,
// which is active, and the notifications the workbook windows follow. The
// handles of application.h and the windows both work through these functions.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/xls/book.h"
#include "platform/safe_file/file_lock.h"
#include "platform/vb/variant.h"

namespace xl::engine {

using internal::Cell;
using internal::CellRef;
using internal::Rect;

struct AppData;
struct BookData;
struct SheetData;

// Displayed text of the cells of one column within the rows a Find last
// looked at, kept for the next Find and rebuilt (over those rows only) after
// the column changes.
struct ColumnIndex {
    bool valid = false;
    int firstRow = 0, lastRow = -1;    // the rows it covers
    std::vector<int> rows;             // rows of the non-empty cells, ascending
    std::vector<std::string> shown;    // their displayed text
    std::vector<std::string> folded;   // the same, case-folded
};

struct SheetData {
    internal::Sheet s;
    BookData* book = nullptr;  // null once the sheet was deleted or its workbook closed
    std::vector<ColumnIndex> index = std::vector<ColumnIndex>(internal::kMaxCols + 1);
};

// What a workbook window follows.
class BookObserver {
public:
    virtual ~BookObserver() = default;
    virtual void CellsChanged(const SheetData& sheet, const Rect& area) = 0;
    // Sheets added, removed, renamed, or another sheet made active.
    virtual void SheetsChanged() = 0;
    virtual void SelectionChanged(const SheetData& sheet) = 0;
    virtual void NameChanged() = 0;
};

struct BookData {
    std::string name;  // "Sešit1", or the file name with its extension
    std::string path;  // native path of its file; empty until saved
    std::vector<std::shared_ptr<SheetData>> sheets;
    int activeSheet = 0;
    bool saved = true;  // no changes since the last save or open
    // Opened read-only: the user may change cells in its window, but the
    // workbook is never saved over its file and nobody is asked to save it.
    bool readOnly = false;
    // A workbook open for writing marks its file as open here, so that no
    // other window opens it for writing too and saves over its changes.
    sys::FileLock lock;
    AppData* app = nullptr;  // null once closed
    std::vector<BookObserver*> observers;
};

// The workbook windows (Qt); absent when the engine runs without a display.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void BookOpened(BookData& book) = 0;
    virtual void BookClosed(BookData& book) = 0;
    virtual void VisibleChanged(bool visible) = 0;
};

struct AppData {
    std::vector<std::shared_ptr<BookData>> books;  // in the order of opening
    std::vector<BookData*> recent;                 // most recently activated last
    bool visible = false;
    bool quit = false;
    std::string defaultFilePath;
    int nextNewBook = 1;
    std::unique_ptr<WindowHost> windows;
    // Asked by a workbook window the user wants to close (see UserClose).
    UserCloseHook userClose;

    BookData* Active() const { return recent.empty() ? nullptr : recent.back(); }
};

// Creates the Qt window host when a QApplication runs; null otherwise.
std::unique_ptr<WindowHost> CreateWindowHost(AppData& app);

// ---- errors ---------------------------------------------------------------
[[noreturn]] void Fail1004(const std::string& description);
[[noreturn]] void Fail9(const std::string& description);
[[noreturn]] void Fail91();

// ---- addresses ------------------------------------------------------------
std::string ColumnName(int col);  // 1 -> "A", 211 -> "HC"
// "B1", "$B$1", "b1:b500", "HC32341:HC32350"; nullopt when not an address.
std::optional<Rect> ParseAddress(const std::string& address);
std::string FormatAddress(const Rect& r);  // "$B$1" or "$B$1:$B$500"
inline bool Contains(const Rect& r, const CellRef& c) {
    return c.row >= r.first.row && c.row <= r.last.row && c.col >= r.first.col && c.col <= r.last.col;
}

// ---- values ---------------------------------------------------------------
// The text a cell shows (numbers with a decimal comma, dates as d.m.yyyy).
std::string DisplayText(const Cell& c);
// Case folding for comparisons without regard to letter case.
std::string Fold(const std::string& utf8);
vb::Variant ToVariant(const Cell& c);
// The value part of a cell from a Variant (the colour is left to the caller).
Cell FromVariant(const vb::Variant& v);
// What the user typed into a cell: a number when it reads as one, else text.
Cell FromTyped(const std::string& text);
const Cell* FindCell(const SheetData& sh, CellRef at);

// ---- changes (each notifies the windows and marks the workbook changed) ----
void SetValues(SheetData& sh, const Rect& area, const Cell& value);
void ClearContents(SheetData& sh, const Rect& area);
void SetColorIndex(SheetData& sh, const Rect& area, int colorIndex);
void SetSelection(SheetData& sh, const Rect& selection, CellRef active);
// Sheet names are unique without regard to case, 1-31 characters, none of : \ / ? * [ ].
std::optional<std::string> SheetNameProblem(const BookData& book, const SheetData* self, const std::string& name);
void RenameSheet(SheetData& sh, const std::string& name);  // error 1004 when the name is not allowed
void SelectSheet(BookData& book, int index);
// Inserts a new sheet "List<n>" before `index` and makes it active.
SheetData& InsertSheet(BookData& book, int index);
void DeleteSheet(BookData& book, int index);  // the last sheet stays: error 1004
void MarkChanged(BookData& book);

// ---- workbooks ------------------------------------------------------------
// Why the file (native path; `shown` as the user named it) cannot be opened
// for writing here: another window of the program has it open for writing,
// or LibreOffice has it open. "" when neither.
std::string OpenElsewhere(const std::string& nativePath, const std::string& shown);
BookData& OpenBook(AppData& app, const std::string& windowsPath, bool readOnly = false);
BookData& AddBook(AppData& app);
void ActivateBook(AppData& app, BookData& book);
void SaveBook(BookData& book);
void SaveBookAs(BookData& book, const std::string& windowsPath);
// Error 1004 as SaveBookAs would raise it for what can be told of the file
// and its folder before writing (`windowsPath` is a full path).
void CheckSaveAs(const std::string& windowsPath);
// Closes without asking (the callers ask first).
void CloseBook(BookData& book);
// What the program answers to the user's wish to close the workbook's window:
// Close when it installed no hook.
UserClose AskUserClose(BookData& book);
// Asks the user whether to save a changed workbook; false when the user cancelled.
// `allowCancel` false asks Yes/No.
bool AskSaveBeforeClose(BookData& book, bool allowCancel);
BookData* FindBook(const AppData& app, const std::string& name);
// Whether a sheet of the workbook is a large one (tens of thousands of cells).
bool HasLargeSheet(const BookData& book);
// Gives the memory freed so far back to the system, where the allocator
// would keep it (a closed large workbook frees its texts piece by piece).
void ReleaseFreedMemory();
int IndexOf(const BookData& book, const SheetData& sh);

// ---- search ---------------------------------------------------------------
struct FindSpec {
    vb::Variant what;
    std::optional<CellRef> after;
    bool whole = false;
    bool byColumns = false;
    bool previous = false;
    bool matchCase = false;
};
std::optional<CellRef> Find(SheetData& sh, const Rect& area, const FindSpec& spec);

// ---- per-user options -------------------------------------------------------
std::string LoadDefaultFilePath();
void StoreDefaultFilePath(const std::string& path);
// The native folder DefaultFilePath names, or the user's documents folder
// when it names none.
std::string DefaultFolderNative(const AppData& app);

}  // namespace xl::engine
