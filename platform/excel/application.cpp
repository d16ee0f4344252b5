// The object model's handles: each checks that its object still exists and
// forwards to the engine.
#include "platform/excel/application.h"

#include <utility>

#include "platform/excel/internal/engine.h"
#include "platform/excel/file_dialog.h"
#include "platform/msgbox/msgbox.h"
#include "platform/paths/paths.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"

namespace xl {

using namespace engine;

namespace {

static_assert(kRowsPerSheet == internal::kMaxRows);

bool gCreationFails = false;
constexpr int kServerGone = 462;

// The sheet behind a handle; Nothing raises 91, a deleted sheet or closed workbook 1004.
SheetData& Live(const std::shared_ptr<SheetData>& sheet) {
    if (!sheet) Fail91();
    if (!sheet->book) Fail1004("List nebo jeho sešit již neexistuje.");
    return *sheet;
}

BookData& Live(const std::shared_ptr<BookData>& book) {
    if (!book) Fail91();
    if (!book->app) Fail1004("Sešit již byl zavřen.");
    return *book;
}

std::shared_ptr<BookData> Shared(const AppData& app, const BookData* book) {
    for (const auto& b : app.books)
        if (b.get() == book) return b;
    return nullptr;
}

// Selecting works only on the active sheet of the active workbook.
void RequireActive(SheetData& sh, const char* member) {
    BookData& book = *sh.book;
    if (book.app->Active() != &book || book.sheets[static_cast<std::size_t>(book.activeSheet)].get() != &sh)
        Fail1004(std::string("Metoda ") + member + " selhala: list není aktivním listem aktivního sešitu.");
}

void RequireRunning(const AppData& app) {
    if (app.quit) vb::Raise(kServerGone, kErrorSource, "Aplikace již byla ukončena (Quit).");
}

Rect MakeRect(int r1, int c1, int r2, int c2) { return Rect{{r1, c1}, {r2, c2}}; }

}  // namespace

// Builds handles from engine objects (the class is a friend of each handle).
struct RangeAccess {
    static CellRange Make(std::shared_ptr<SheetData> sheet, const Rect& r) {
        CellRange range;
        range.sheet_ = std::move(sheet);
        range.r1_ = r.first.row;
        range.c1_ = r.first.col;
        range.r2_ = r.last.row;
        range.c2_ = r.last.col;
        return range;
    }
    static Rect RectOf(const CellRange& r) { return MakeRect(r.r1_, r.c1_, r.r2_, r.c2_); }
    static const std::shared_ptr<SheetData>& SheetOf(const CellRange& r) { return r.sheet_; }
    static Worksheet MakeSheet(std::shared_ptr<SheetData> sheet) {
        Worksheet w;
        w.sheet_ = std::move(sheet);
        return w;
    }
};

namespace {

std::shared_ptr<SheetData> ActiveSheetOf(const BookData& book) {
    return book.sheets[static_cast<std::size_t>(book.activeSheet)];
}

Rect ParseOrFail(const std::string& address) {
    auto r = ParseAddress(address);
    if (!r) Fail1004("Adresa " + address + " neoznačuje žádnou oblast buněk.");
    return *r;
}

Worksheet SheetByIndex(const BookData& book, const vb::Variant& index) {
    const vb::Variant v = index.Deref();
    if (v.IsString()) {
        const std::string folded = Fold(v.AsString());
        for (const auto& sh : book.sheets)
            if (Fold(sh->s.name) == folded) return RangeAccess::MakeSheet(sh);
        Fail9("List " + v.AsString() + " v sešitu " + book.name + " neexistuje (index je mimo rozsah).");
    }
    const long i = vb::CLng(v);
    if (i < 1 || i > static_cast<long>(book.sheets.size()))
        Fail9("List číslo " + std::to_string(i) + " v sešitu " + book.name + " neexistuje (index je mimo rozsah).");
    return RangeAccess::MakeSheet(book.sheets[static_cast<std::size_t>(i - 1)]);
}

}  // namespace

// ---- Font -------------------------------------------------------------------

vb::Variant Font::ColorIndex() const {
    const SheetData& sh = Live(sheet_);
    std::optional<int> common;
    for (int r = r1_; r <= r2_; ++r)
        for (int c = c1_; c <= c2_; ++c) {
            const Cell* cell = FindCell(sh, {r, c});
            const int index = cell && cell->colorIndex != 0 ? cell->colorIndex : xlColorIndexAutomatic;
            if (common && *common != index) return vb::Variant(vb::Null{});
            common = index;
        }
    return static_cast<std::int32_t>(*common);
}

void Font::ColorIndex(int index) const {
    if (index != xlColorIndexAutomatic && (index < 1 || index > 56))
        Fail1004("Index barvy " + std::to_string(index) + " není v rozsahu 1 až 56.");
    SetColorIndex(Live(sheet_), MakeRect(r1_, c1_, r2_, c2_), index == xlColorIndexAutomatic ? 0 : index);
}

// ---- Range ------------------------------------------------------------------

void CellRange::Select() const {
    SheetData& sh = Live(sheet_);
    RequireActive(sh, "Select");
    SetSelection(sh, MakeRect(r1_, c1_, r2_, c2_), {r1_, c1_});
}

void CellRange::Activate() const {
    SheetData& sh = Live(sheet_);
    RequireActive(sh, "Activate");
    const Rect me = MakeRect(r1_, c1_, r2_, c2_);
    const Rect& sel = sh.s.selection;
    if (Contains(sel, me.first) && Contains(sel, me.last)) SetSelection(sh, sel, me.first);
    else SetSelection(sh, me, me.first);
}

vb::Variant CellRange::Value() const {
    const Cell* cell = FindCell(Live(sheet_), {r1_, c1_});
    return cell ? ToVariant(*cell) : vb::Variant();
}

void CellRange::Value(const vb::Variant& v) const { SetValues(Live(sheet_), MakeRect(r1_, c1_, r2_, c2_), FromVariant(v)); }

void CellRange::ClearContents() const { engine::ClearContents(Live(sheet_), MakeRect(r1_, c1_, r2_, c2_)); }

xl::Font CellRange::Font() const {
    Live(sheet_);
    xl::Font f;
    f.sheet_ = sheet_;
    f.r1_ = r1_;
    f.c1_ = c1_;
    f.r2_ = r2_;
    f.c2_ = c2_;
    return f;
}

int CellRange::Row() const {
    Live(sheet_);
    return r1_;
}

int CellRange::Column() const {
    Live(sheet_);
    return c1_;
}

std::string CellRange::Address() const {
    Live(sheet_);
    return FormatAddress(MakeRect(r1_, c1_, r2_, c2_));
}

CellRange CellRange::Offset(int rows, int cols) const {
    Live(sheet_);
    const long r1 = long(r1_) + rows, r2 = long(r2_) + rows, c1 = long(c1_) + cols, c2 = long(c2_) + cols;
    if (r1 < 1 || c1 < 1 || r2 > internal::kMaxRows || c2 > internal::kMaxCols)
        Fail1004("Posun o " + std::to_string(rows) + " řádků a " + std::to_string(cols) + " sloupců z buňky " +
                 Address() + " vede mimo list.");
    return RangeAccess::Make(sheet_, MakeRect(int(r1), int(c1), int(r2), int(c2)));
}

CellRange CellRange::Range(const std::string& address) const {
    Live(sheet_);
    const Rect rel = ParseOrFail(address);
    const long r1 = long(r1_) + rel.first.row - 1, c1 = long(c1_) + rel.first.col - 1;
    const long r2 = long(r1_) + rel.last.row - 1, c2 = long(c1_) + rel.last.col - 1;
    if (r2 > internal::kMaxRows || c2 > internal::kMaxCols)
        Fail1004("Oblast " + address + " vztažená k buňce " + Address() + " leží mimo list.");
    return RangeAccess::Make(sheet_, MakeRect(int(r1), int(c1), int(r2), int(c2)));
}

CellRange CellRange::Find(const FindArgs& args) const {
    SheetData& sh = Live(sheet_);
    FindSpec spec;
    spec.what = args.What;
    if (!args.After.IsNothing()) {
        if (args.After.sheet_ != sheet_) Fail1004("Buňka, za kterou se má hledat, leží na jiném listu.");
        spec.after = CellRef{args.After.r1_, args.After.c1_};
    }
    if (args.LookIn != xlFormulas && args.LookIn != xlValues && args.LookIn != xlComments)
        Fail1004("Neplatná hodnota argumentu LookIn.");
    if (args.LookIn == xlComments) return {};  // cells carry no comments
    if (args.LookAt != xlWhole && args.LookAt != xlPart) Fail1004("Neplatná hodnota argumentu LookAt.");
    if (args.SearchOrder != xlByRows && args.SearchOrder != xlByColumns)
        Fail1004("Neplatná hodnota argumentu SearchOrder.");
    if (args.SearchDirection != xlNext && args.SearchDirection != xlPrevious)
        Fail1004("Neplatná hodnota argumentu SearchDirection.");
    spec.whole = args.LookAt == xlWhole;
    spec.byColumns = args.SearchOrder == xlByColumns;
    spec.previous = args.SearchDirection == xlPrevious;
    spec.matchCase = args.MatchCase;
    const auto found = engine::Find(sh, MakeRect(r1_, c1_, r2_, c2_), spec);
    if (!found) return {};
    return RangeAccess::Make(sheet_, Rect{*found, *found});
}

bool CellRange::operator==(const CellRange& o) const {
    return sheet_ == o.sheet_ && r1_ == o.r1_ && c1_ == o.c1_ && r2_ == o.r2_ && c2_ == o.c2_;
}

// ---- Worksheet ----------------------------------------------------------------

std::string Worksheet::Name() const { return Live(sheet_).s.name; }

void Worksheet::Name(const std::string& name) const { RenameSheet(Live(sheet_), name); }

int Worksheet::Index() const {
    SheetData& sh = Live(sheet_);
    return IndexOf(*sh.book, sh) + 1;
}

Worksheet Worksheet::Next() const {
    SheetData& sh = Live(sheet_);
    const auto i = static_cast<std::size_t>(IndexOf(*sh.book, sh)) + 1;
    if (i >= sh.book->sheets.size()) return {};
    return RangeAccess::MakeSheet(sh.book->sheets[i]);
}

void Worksheet::Select() const {
    SheetData& sh = Live(sheet_);
    if (sh.book->app->Active() != sh.book)
        Fail1004("Metoda Select selhala: list " + sh.s.name + " nepatří aktivnímu sešitu.");
    SelectSheet(*sh.book, IndexOf(*sh.book, sh));
}

xl::Range Worksheet::Range(const std::string& address) const {
    Live(sheet_);
    return RangeAccess::Make(sheet_, ParseOrFail(address));
}

// ---- Sheets, Workbook, Workbooks, Window ---------------------------------------

int Sheets::Count() const { return static_cast<int>(Live(book_).sheets.size()); }

Worksheet Sheets::Item(const vb::Variant& index) const { return SheetByIndex(Live(book_), index); }

std::string Workbook::Name() const { return Live(book_).name; }

std::string Workbook::FullName() const {
    const BookData& book = Live(book_);
    return book.path.empty() ? book.name : sys::ToWindowsPath(book.path);
}

void Workbook::Save() const { SaveBook(Live(book_)); }

void Workbook::SaveAs(const SaveAsArgs& a) const {
    BookData& book = Live(book_);
    if (a.FileFormat != xlWorkbookNormal && a.FileFormat != xlExcel8)
        Fail1004("Formát souboru " + std::to_string(a.FileFormat) + " není podporován; ukládá se jen sešit Excel 97 (.xls).");
    if (!a.Password.empty() || !a.WriteResPassword.empty()) Fail1004("Ochrana sešitu heslem není podporována.");
    if (a.ReadOnlyRecommended) Fail1004("Doporučení otevřít jen pro čtení není podporováno.");
    if (a.CreateBackup) Fail1004("Záložní kopie sešitu není podporována.");
    SaveBookAs(book, a.Filename);
}

void Workbook::Close(const vb::Variant& SaveChanges) const {
    BookData& book = Live(book_);
    const vb::Variant v = SaveChanges.Deref();
    if (v.IsEmpty()) {
        if (!AskSaveBeforeClose(book, true)) Fail1004("Zavření sešitu " + book.name + " bylo zrušeno.");
    } else if (vb::CBool(v)) {
        SaveBook(book);
    }
    CloseBook(book);
}

xl::Sheets Workbook::Sheets() const {
    Live(book_);
    xl::Sheets s;
    s.book_ = book_;
    return s;
}

Worksheet Workbook::ActiveSheet() const { return RangeAccess::MakeSheet(ActiveSheetOf(Live(book_))); }

bool Workbook::Saved() const { return Live(book_).saved; }

Workbook Workbooks::Open(const std::string& Filename, const vb::Variant&, bool ReadOnly) const {
    RequireRunning(*app_);
    Workbook w;
    w.book_ = Shared(*app_, &OpenBook(*app_, Filename, ReadOnly));
    return w;
}

Workbook Workbooks::Add() const {
    RequireRunning(*app_);
    Workbook w;
    w.book_ = Shared(*app_, &AddBook(*app_));
    return w;
}

int Workbooks::Count() const { return static_cast<int>(app_->books.size()); }

void Window::Activate() const {
    if (!book_) Fail91();
    if (!book_->app) Fail9("Okno sešitu " + book_->name + " již bylo zavřeno.");
    ActivateBook(*book_->app, *book_);
}

// ---- Application ----------------------------------------------------------------

Application::Application() : app_(std::make_shared<AppData>()) {
    app_->defaultFilePath = LoadDefaultFilePath();
    app_->windows = CreateWindowHost(*app_);
}

Application::~Application() {
    while (!app_->books.empty()) CloseBook(*app_->books.back());
    app_->windows.reset();
}

std::string Application::DefaultFilePath() const { return app_->defaultFilePath; }

void Application::DefaultFilePath(const std::string& path) {
    app_->defaultFilePath = path;
    StoreDefaultFilePath(path);
}

bool Application::Visible() const { return app_->visible; }

void Application::Visible(bool visible) {
    if (visible) RequireRunning(*app_);
    app_->visible = visible;
    if (app_->windows) app_->windows->VisibleChanged(visible);
}

void Application::Quit() {
    if (app_->quit) return;
    // Unsaved work is offered for saving, as the spreadsheet does on exit.
    for (const auto& book : std::vector<std::shared_ptr<BookData>>(app_->books)) {
        try {
            AskSaveBeforeClose(*book, false);
        } catch (const vb::RuntimeError& e) {
            forms::MsgBox(e.Description(), forms::vbCritical, kErrorSource);
        }
    }
    while (!app_->books.empty()) CloseBook(*app_->books.back());
    app_->visible = false;
    if (app_->windows) app_->windows->VisibleChanged(false);
    app_->quit = true;
}

void Application::OnUserClose(UserCloseHook hook) { app_->userClose = std::move(hook); }

xl::Workbooks Application::Workbooks() const {
    xl::Workbooks w;
    w.app_ = app_;
    return w;
}

vb::Variant Application::GetOpenFilename(const vb::Variant& FileFilter, const vb::Variant& FilterIndex,
                                         const vb::Variant& Title) const {
    RequireRunning(*app_);
    (void)FilterIndex;  // the first filter is always offered first
    auto filters = ParseFileFilter(FileFilter.IsEmpty() ? std::string() : vb::CStr(FileFilter));
    if (filters.empty()) filters.push_back({"Všechny soubory", {"*.*"}});
    const std::string title = Title.IsEmpty() ? std::string("Otevřít") : vb::CStr(Title);
    const auto chosen = CurrentFileDialogService().GetOpenFileName(filters, title, DefaultFolderNative(*app_));
    if (!chosen) return false;
    return sys::ToWindowsPath(*chosen);
}

Workbook Application::ActiveWorkbook() const {
    Workbook w;
    w.book_ = Shared(*app_, app_->Active());
    return w;
}

xl::Window Application::Windows(const std::string& name) const {
    BookData* book = FindBook(*app_, name);
    if (!book) Fail9("Okno " + (name.empty() ? std::string("\"\"") : name) + " neexistuje (index je mimo rozsah).");
    xl::Window w;
    w.book_ = Shared(*app_, book);
    return w;
}

xl::Sheets Application::Sheets() const { return ActiveWorkbook().Sheets(); }

Worksheet Application::Sheets(const vb::Variant& index) const { return ActiveWorkbook().Sheets().Item(index); }

Worksheet Application::ActiveSheet() const {
    const BookData* book = app_->Active();
    if (!book) return {};
    return RangeAccess::MakeSheet(ActiveSheetOf(*book));
}

xl::Range Application::Range(const std::string& address) const {
    const BookData* book = app_->Active();
    if (!book) Fail1004("Metoda Range selhala: není otevřen žádný sešit.");
    return RangeAccess::Make(ActiveSheetOf(*book), ParseOrFail(address));
}

xl::Range Application::ActiveCell() const {
    const BookData* book = app_->Active();
    if (!book) return {};
    auto sh = ActiveSheetOf(*book);
    const CellRef at = sh->s.activeCell;
    return RangeAccess::Make(sh, Rect{at, at});
}

xl::Range Application::Selection() const {
    const BookData* book = app_->Active();
    if (!book) return {};
    auto sh = ActiveSheetOf(*book);
    return RangeAccess::Make(sh, sh->s.selection);
}

void CheckSaveAs(const std::string& Filename) { engine::CheckSaveAs(Filename); }

std::string OpenElsewhere(const std::string& Filename) {
    const auto native = sys::ToNativePath(Filename);
    return native ? engine::OpenElsewhere(*native, sys::ToWindowsPath(*native)) : std::string();
}

// ---- creation ----------------------------------------------------------------------

std::shared_ptr<Application> CreateExcelApplication() {
    if (gCreationFails)
        vb::Raise(vb::err::CannotCreateObject, "excel.application", "ActiveX komponenta nemůže vytvořit objekt.");
    return std::make_shared<Application>();
}

std::shared_ptr<Application> CreateObject(const std::string& progId) {
    if (Fold(progId) != "excel.application")
        vb::Raise(vb::err::CannotCreateObject, progId, "ActiveX komponenta nemůže vytvořit objekt.");
    return CreateExcelApplication();
}

void testing::SetCreationFails(bool fails) { gCreationFails = fails; }

}  // namespace xl
