// The spreadsheet the program drives: an in-process engine with the
// automation object model of a spreadsheet application (Application,
// Workbooks, Workbook, Windows, Sheets, Worksheet, Range, Font, Find) and a
// visible window per workbook.
//
// Handles are small values: Workbook, Worksheet, Range and Window refer to
// engine objects and may be Nothing (IsNothing()); using any member of a
// Nothing handle raises error 91, as using an unset object variable does.
// Failures are vb::RuntimeError 1004, 9 or 91 with a source and a Czech
// description.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/vb/variant.h"

namespace xl {

namespace engine {
struct AppData;
struct BookData;
struct SheetData;
}  // namespace engine

// Constants of the object model, with the spreadsheet's own values.
inline constexpr int xlValues = -4163;
inline constexpr int xlFormulas = -4123;
inline constexpr int xlComments = -4144;
inline constexpr int xlWhole = 1;
inline constexpr int xlPart = 2;
inline constexpr int xlByRows = 1;
inline constexpr int xlByColumns = 2;
inline constexpr int xlNext = 1;
inline constexpr int xlPrevious = 2;
inline constexpr int xlWorkbookNormal = -4143;  // Excel 97 workbook (.xls)
inline constexpr int xlNormal = -4143;
inline constexpr int xlExcel8 = 56;             // the same format under its newer name
inline constexpr int xlColorIndexAutomatic = -4105;

// The rows of a sheet (an Excel 97 workbook): row 1 to this one.
inline constexpr int kRowsPerSheet = 65536;

// The source named by the model's runtime errors.
inline constexpr const char* kErrorSource = "Microsoft Excel";

class CellRange;
using Range = CellRange;
struct FindArgs;

// The font of a range; only its colour index is modelled.
class Font {
public:
    // The colour index of the range's cells (xlColorIndexAutomatic for the
    // automatic colour), or Null when the cells differ.
    vb::Variant ColorIndex() const;
    void ColorIndex(int index) const;

private:
    friend class CellRange;
    std::shared_ptr<engine::SheetData> sheet_;
    int r1_ = 1, c1_ = 1, r2_ = 1, c2_ = 1;
};

// A rectangle of cells on one sheet, or Nothing.
class CellRange {
public:
    CellRange() = default;  // Nothing
    bool IsNothing() const { return !sheet_; }

    // Makes the range the sheet's selection, its first cell the active cell.
    // The sheet must be the active sheet of the active workbook.
    void Select() const;
    // Inside the selection: moves the active cell there and keeps the
    // selection; elsewhere as Select.
    void Activate() const;

    // Text, number (Double), date (vb::Date), Boolean or Empty; for a
    // rectangle the value of its first cell.
    vb::Variant Value() const;
    // Sets every cell of the range; Empty (or Null) empties the cells.
    void Value(const vb::Variant& v) const;
    void ClearContents() const;
    xl::Font Font() const;

    int Row() const;
    int Column() const;
    // "$B$1", or "$B$1:$B$500" for a rectangle.
    std::string Address() const;
    // The same size moved by rows and columns; outside the sheet: error 1004.
    CellRange Offset(int rows, int cols) const;
    // An address read relative to this range's first cell ("A1" is that cell).
    CellRange Range(const std::string& address) const;

    // Searches the range (see FindArgs); Nothing when no cell matches.
    CellRange Find(const FindArgs& args) const;

    // The same cell(s) of the same sheet.
    bool operator==(const CellRange& o) const;

private:
    friend class Application;
    friend class Worksheet;
    friend struct RangeAccess;
    std::shared_ptr<engine::SheetData> sheet_;
    int r1_ = 1, c1_ = 1, r2_ = 1, c2_ = 1;
};

// Find with the spreadsheet's named arguments, in their order:
//   rng.Find({.What = "c,", .After = app->ActiveCell(), .LookIn = xlFormulas,
//             .LookAt = xlPart, .SearchOrder = xlByRows,
//             .SearchDirection = xlNext, .MatchCase = false});
// The search starts with the cell after `After` (the range's first cell when
// After is Nothing) and comes round to `After` last. Cells are compared by
// their displayed text, so the number 14 contains "4". What "" finds the next
// empty cell.
struct FindArgs {
    vb::Variant What{};
    CellRange After{};
    int LookIn = xlFormulas;
    int LookAt = xlPart;
    int SearchOrder = xlByRows;
    int SearchDirection = xlNext;
    bool MatchCase = false;
};

class Worksheet {
public:
    Worksheet() = default;  // Nothing
    bool IsNothing() const { return !sheet_; }

    std::string Name() const;
    // Error 1004 for an empty, too long (over 31 characters) or taken name,
    // or one with any of : \ / ? * [ ].
    void Name(const std::string& name) const;
    int Index() const;        // 1-based position among the workbook's sheets
    Worksheet Next() const;   // Nothing after the last sheet
    // Makes the sheet the workbook's active sheet; the workbook must be active.
    void Select() const;
    void Activate() const { Select(); }
    xl::Range Range(const std::string& address) const;

    bool operator==(const Worksheet& o) const { return sheet_ == o.sheet_; }

private:
    friend class Application;
    friend class Sheets;
    friend struct RangeAccess;
    std::shared_ptr<engine::SheetData> sheet_;
};

class Sheets {
public:
    int Count() const;
    // By name (case-insensitive) or 1-based index; unknown: error 9.
    Worksheet Item(const vb::Variant& index) const;
    Worksheet operator()(const vb::Variant& index) const { return Item(index); }

private:
    friend class Application;
    friend class Workbook;
    std::shared_ptr<engine::BookData> book_;
};

// SaveAs with the spreadsheet's named arguments, in their order:
//   wb.SaveAs({.Filename = path, .FileFormat = xlWorkbookNormal,
//              .Password = "", .WriteResPassword = "",
//              .ReadOnlyRecommended = false, .CreateBackup = false});
// Only the Excel 97 format is written; passwords, a read-only recommendation
// and a backup copy are not supported and raise error 1004 rather than being
// dropped silently.
struct SaveAsArgs {
    std::string Filename{};
    int FileFormat = xlWorkbookNormal;
    std::string Password{};
    std::string WriteResPassword{};
    bool ReadOnlyRecommended = false;
    bool CreateBackup = false;
};

class Workbook {
public:
    Workbook() = default;  // Nothing
    bool IsNothing() const { return !book_; }

    // "Sešit1" until saved, then the file name with its extension.
    std::string Name() const;
    // The file with its folder, as the program shows paths ("C:\\..."); the
    // name alone until saved.
    std::string FullName() const;
    // Saves under the workbook's file (a new workbook: into DefaultFilePath).
    void Save() const;
    void SaveAs(const SaveAsArgs& args) const;
    // SaveChanges True saves first, False discards; left Empty, a workbook
    // with unsaved changes asks the user (Cancel: error 1004, stays open).
    void Close(const vb::Variant& SaveChanges = {}) const;
    xl::Sheets Sheets() const;
    Worksheet ActiveSheet() const;
    // True when nothing changed since the last save or open.
    bool Saved() const;

    bool operator==(const Workbook& o) const { return book_ == o.book_; }

private:
    friend class Application;
    friend class Workbooks;
    std::shared_ptr<engine::BookData> book_;
};

class Workbooks {
public:
    // Opens a Windows-style path ("C:\Dokumenty\a.xls"); an open workbook of
    // the same file is activated again. Missing file, unknown drive, a folder
    // or a pipe, a damaged file, another open workbook of the same name, or a
    // file open for writing elsewhere (see OpenElsewhere): error 1004.
    // A workbook opened with ReadOnly can be changed in its window but is never
    // saved over its file (Save: error 1004), and closing it asks nothing.
    Workbook Open(const std::string& Filename, const vb::Variant& UpdateLinks = {}, bool ReadOnly = false) const;
    // A new workbook "Sešit<n>" with the sheets "List1", "List2", "List3".
    Workbook Add() const;
    int Count() const;

private:
    friend class Application;
    std::shared_ptr<engine::AppData> app_;
};

class Window {
public:
    // Makes the window's workbook the active workbook; its active sheet and
    // cursor stay as they were.
    void Activate() const;

private:
    friend class Application;
    std::shared_ptr<engine::BookData> book_;
};

// What becomes of a workbook's window when the user asks to close it (its
// close button, Alt+F4, the window menu). The program's own closing
// (Workbook.Close, Quit, the end of the instance) never asks.
enum class UserClose {
    // The window closes as it does on its own: a changed workbook asks to be
    // saved first.
    Close,
    // The program has done in its own way what the close asks for (it may
    // have closed the workbook itself, or told the user why not): the window
    // does nothing more.
    Handled,
    // The window stays open as it is; the program has told the user why.
    Refuse,
    // The window stays open, minimised; nobody is asked anything.
    Minimise,
};
// Answers a user's close of the window of the workbook named `workbookName`.
using UserCloseHook = std::function<UserClose(const std::string& workbookName)>;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Kept per user across runs; readable and writable also after Quit.
    std::string DefaultFilePath() const;
    void DefaultFilePath(const std::string& path);
    bool Visible() const;
    void Visible(bool visible);
    // Closes every workbook (asking about unsaved changes) and its window.
    void Quit();
    // Consulted whenever the user asks to close a workbook's window; without
    // one (or an empty one) every window closes as it does on its own.
    void OnUserClose(UserCloseHook hook);

    xl::Workbooks Workbooks() const;
    // A file chosen in the open dialog as a Windows-style path (a String), or
    // Boolean False when the user cancels. FileFilter is "Name,*.ext" pairs.
    vb::Variant GetOpenFilename(const vb::Variant& FileFilter = {}, const vb::Variant& FilterIndex = {},
                                const vb::Variant& Title = {}) const;
    Workbook ActiveWorkbook() const;
    // The window of the open workbook of that name; unknown: error 9.
    xl::Window Windows(const std::string& name) const;
    xl::Sheets Sheets() const;                      // of the active workbook
    Worksheet Sheets(const vb::Variant& index) const;
    Worksheet ActiveSheet() const;
    xl::Range Range(const std::string& address) const;  // on the active sheet
    xl::Range ActiveCell() const;
    xl::Range Selection() const;

    // The engine behind this instance (for the workbook windows and tests of them).
    engine::AppData& Engine() const { return *app_; }

private:
    std::shared_ptr<engine::AppData> app_;
};

// Why the file (a Windows-style path, as Workbooks.Open takes it) may be
// neither opened for writing nor replaced here: another window of the program
// has it open for writing, or LibreOffice has it open. "" when neither. A
// workbook open for writing keeps its file marked so until it is closed;
// opening such a file for writing, or saving another workbook over it,
// raises error 1004 with this text.
std::string OpenElsewhere(const std::string& Filename);

// Raises the error 1004 that saving a workbook as the file `Filename` (a
// full Windows-style path) would raise for what can be told before anything
// is written: a missing folder, a folder or a write-protected file in its
// place, a folder that takes no new file. A full disk shows only when the
// workbook is written.
void CheckSaveAs(const std::string& Filename);

// Creates an instance as creation by "excel.application" does. Error 429
// when the spreadsheet is not available (see testing::SetCreationFails).
std::shared_ptr<Application> CreateExcelApplication();
// Creation by programmatic identifier: "excel.application" (any letter case)
// gives CreateExcelApplication(); any other identifier raises error 429.
std::shared_ptr<Application> CreateObject(const std::string& progId);

namespace testing {
// While set, creation raises error 429 as on a computer without the spreadsheet.
void SetCreationFails(bool fails);
}  // namespace testing

}  // namespace xl
