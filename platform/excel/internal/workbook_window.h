// The visible workbook window: the active sheet as a grid with column letters
// and row numbers, the sheet tabs, the active cell outlined. The user types
// into cells, inserts, renames and deletes sheets and closes the workbook,
// unless the program answers the close otherwise (xl::UserClose).
//
// The program's changes of cells show at once; its changes of the active
// sheet and the cursor are gathered and shown once per turn of the event
// loop, so that a command which selects cells many times costs the engine's
// work only. A hidden window shows them when it is shown again, and a moved
// cursor repaints only the cells it left and reached. The program never brings a workbook window in front of other
// windows or takes the focus with it: the user does that.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <map>

#include "platform/excel/internal/engine.h"

class QTabBar;
class QTableView;
class QCloseEvent;
class QShowEvent;

namespace xl::window {

// The cells of one sheet as a Qt table.
class SheetModel : public QAbstractTableModel {
public:
    void SetSheet(engine::SheetData* sheet);
    engine::SheetData* Sheet() const { return sheet_; }
    void CellsChanged(const engine::Rect& area);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    engine::SheetData* sheet_ = nullptr;
};

class WorkbookWindow : public QWidget, public engine::BookObserver {
public:
    explicit WorkbookWindow(engine::BookData& book);
    ~WorkbookWindow() override;

    // The workbook was closed: the window lets go of it before it goes away.
    void Detach();

    // What the sheet tabs' menu and double-click do (tab index from 0).
    void InsertSheetBefore(int tab);
    void RenameSheetAt(int tab);
    void DeleteSheetAt(int tab);

    // Shows the active sheet and cursor now instead of on the next turn of
    // the event loop.
    void Refresh();

    QTableView* Grid() const { return view_; }
    QTabBar* Tabs() const { return tabs_; }
    engine::BookData* Book() const { return book_; }

    void CellsChanged(const engine::SheetData& sheet, const engine::Rect& area) override;
    void SheetsChanged() override;
    void SelectionChanged(const engine::SheetData& sheet) override;
    void NameChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum Pending : int { kNothing = 0, kSheets = 1, kSelection = 2 };
    void Schedule(int what);
    void ShowTitle();
    void ShowActiveSheet();
    void SyncSelectionToView();
    void SyncSelectionFromView();
    void ShowTabMenu(const QPoint& pos);

    engine::BookData* book_;
    SheetModel model_;
    QTableView* view_;
    QTabBar* tabs_;
    bool syncing_ = false;
    // The cell the grid outlines as the active cell (row 0: none yet).
    engine::CellRef outlined_{0, 0};
    int pending_ = kNothing;
    bool scheduled_ = false;
};

class QtWindowHost : public engine::WindowHost {
public:
    explicit QtWindowHost(engine::AppData& app) : app_(app) {}
    ~QtWindowHost() override;

    void BookOpened(engine::BookData& book) override;
    void BookClosed(engine::BookData& book) override;
    void VisibleChanged(bool visible) override;

    WorkbookWindow* WindowOf(const engine::BookData& book) const;

private:
    // Shows a workbook window where the program's own windows leave room.
    void Place(WorkbookWindow& w);

    engine::AppData& app_;
    std::map<const engine::BookData*, WorkbookWindow*> windows_;
};

}  // namespace xl::window
