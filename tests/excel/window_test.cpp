// The workbook window, offscreen: what the user does there reaches the model,
// and what the program does shows there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>

#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/excel/internal/engine.h"
#include "platform/excel/internal/workbook_window.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/support/paint_watch.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/excel_env.h"

using namespace xl;
using excel_test::ErrorOf;

namespace {

QApplication& Qt() {
    static int argc = 1;
    static char name[] = "excel_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* qapp = new QApplication(argc, argv);
    return *qapp;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Qt();
        app = CreateExcelApplication();
        app->Visible(true);
        app->Workbooks().Add();
    }
    window::WorkbookWindow& WindowOf(const std::string& name) {
        auto* host = dynamic_cast<window::QtWindowHost*>(app->Engine().windows.get());
        EXPECT_NE(host, nullptr);
        auto* w = host->WindowOf(*engine::FindBook(app->Engine(), name));
        EXPECT_NE(w, nullptr);
        return *w;
    }
    void Type(window::WorkbookWindow& w, int row, int col, const QString& text) {
        QAbstractItemModel* m = w.Grid()->model();
        m->setData(m->index(row - 1, col - 1), text, Qt::EditRole);
    }
    QString Shown(window::WorkbookWindow& w, int row, int col) {
        QAbstractItemModel* m = w.Grid()->model();
        return m->data(m->index(row - 1, col - 1), Qt::DisplayRole).toString();
    }

    excel_test::TempEnv env;
    forms::ScriptedMessageBoxes boxes;
    std::shared_ptr<Application> app;
};

TEST_F(WindowTest, WindowsFollowVisible) {
    auto& w = WindowOf("Sešit1");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Sešit1");
    app->Visible(false);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(WindowTest, TypingIntoACellSetsTheModel) {
    auto& w = WindowOf("Sešit1");
    Type(w, 1, 1, "ta");
    Type(w, 2, 1, "12");
    Type(w, 3, 1, "1,5");
    EXPECT_EQ(app->Range("A1").Value().AsString(), "ta");
    EXPECT_EQ(app->Range("A2").Value().Type(), vb::VarType::Double);
    EXPECT_EQ(app->Range("A3").Value().AsDouble(), 1.5);
    EXPECT_FALSE(app->ActiveWorkbook().Saved());
    Type(w, 1, 1, "");
    EXPECT_TRUE(app->Range("A1").Value().IsEmpty());
}

// Cells show at once; the cursor and the sheet follow the engine once per
// turn of the event loop, however often the program moved them.
TEST_F(WindowTest, TheProgramsChangesShowInTheWindow) {
    auto& w = WindowOf("Sešit1");
    app->Range("B2").Value("cis1,");
    EXPECT_EQ(Shown(w, 2, 2), "cis1,");
    for (int row = 3; row <= 40; ++row) app->Range("B" + std::to_string(row)).Select();
    app->Range("B2").Select();
    EXPECT_EQ(app->ActiveCell().Address(), "$B$2");  // the engine's state changes at once
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Grid()->selectionModel()->currentIndex().row(), 1);
    app->Sheets("List3").Select();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Tabs()->currentIndex(), 2);
    EXPECT_EQ(Shown(w, 2, 2), "");
    app->ActiveSheet().Name("Calvira12");
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Tabs()->tabText(2), "Calvira12");
}

namespace {

using testsupport::PaintWatch;
using testsupport::Settle;

// Pixels of the active cell's outline colour within `cell` of the grid, as
// the window shows it on the screen (its backing store, not a fresh rendering).
int OutlinePixels(window::WorkbookWindow& w, int row, int col) {
    QTableView* grid = w.Grid();
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, col - 1));
    const QImage shown = w.screen()->grabWindow(w.winId()).toImage();
    const QRect area(grid->viewport()->mapTo(&w, cell.topLeft()), cell.size());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shown.valid(x, y) && shown.pixelColor(x, y) == QColor(0x21, 0x73, 0x46)) ++n;
    return n;
}

}  // namespace

// A moved cursor repaints the cell it left and the cell it reached, not the
// whole grid, and the outline is where the cursor is, not where it was.
TEST_F(WindowTest, AMovedCursorRepaintsOnlyTheCellsItLeftAndReached) {
    auto& w = WindowOf("Sešit1");
    app->Range("A1").Select();
    Settle();
    EXPECT_GT(OutlinePixels(w, 1, 1), 0);
    QTableView* grid = w.Grid();
    PaintWatch watch(grid->viewport());
    app->Range("B3").Select();
    Settle();
    auto cell = [&](int row, int col) { return grid->visualRect(grid->model()->index(row - 1, col - 1)); };
    EXPECT_TRUE(watch.painted.contains(cell(1, 1)));
    EXPECT_TRUE(watch.painted.contains(cell(3, 2)));
    EXPECT_FALSE(watch.painted.intersects(cell(10, 6)));
    EXPECT_EQ(OutlinePixels(w, 1, 1), 0);
    EXPECT_GT(OutlinePixels(w, 3, 2), 0);
}

// However the engine's cursor and sheet moved, and whether the window was
// shown meanwhile or hidden and shown again, once the event loop had its turn
// the window shows the engine's sheet and cursor, outlined.
TEST_F(WindowTest, TheWindowCatchesUpWithTheEngineShownOrHiddenMeanwhile) {
    struct Case {
        const char* name;
        bool hidden;
        const char* sheet;  // the sheet made active, or null
        const char* cell;
        int row, col, tab;
    };
    const Case cases[] = {
        {"cursor, shown", false, nullptr, "C5", 5, 3, 0},
        {"cursor, hidden meanwhile", true, nullptr, "D7", 7, 4, 0},
        {"sheet and cursor, shown", false, "List3", "B2", 2, 2, 2},
        {"sheet and cursor, hidden meanwhile", true, "List2", "E9", 9, 5, 1},
    };
    auto& w = WindowOf("Sešit1");
    for (const Case& c : cases) {
        app->Sheets("List1").Select();
        app->Range("A1").Select();
        Settle();
        if (c.hidden) app->Visible(false);
        if (c.sheet) app->Sheets(c.sheet).Select();
        app->Range(c.cell).Select();
        Settle();
        if (c.hidden) {
            app->Visible(true);
            Settle();
        }
        const QModelIndex current = w.Grid()->selectionModel()->currentIndex();
        EXPECT_EQ(w.Tabs()->currentIndex(), c.tab) << c.name;
        EXPECT_EQ(current.row() + 1, c.row) << c.name;
        EXPECT_EQ(current.column() + 1, c.col) << c.name;
        EXPECT_GT(OutlinePixels(w, c.row, c.col), 0) << c.name;
        EXPECT_EQ(OutlinePixels(w, 1, 1), 0) << c.name;
    }
}

// The grid keeps each look of a cell as a picture: the cells look exactly as
// the standard delegate paints them, plain, right-aligned, coloured, cut
// short, selected or not, the first time and from the pictures again, also
// after a cell's text changed.
TEST_F(WindowTest, CellsLookAsTheStandardDelegatePaintsThem) {
    auto& w = WindowOf("Sešit1");
    app->Range("A1").Value("c1,");
    app->Range("A2").Value(12.5);
    app->Range("A3").Value("fis2,");
    app->Range("A3").Font().ColorIndex(3);
    app->Range("A4").Value("slabika, která se do buňky nevejde celá");
    for (const char* at : {"B1", "B2", "B3", "B4", "C2"}) app->Range(at).Value("Tlak");
    app->Range("C1:C4").Value("c1,");
    app->Range("A2:B3").Select();
    app->Range("B3").Activate();
    Settle();
    QTableView* grid = w.Grid();
    const QRect compared = grid->visualRect(grid->model()->index(0, 0)) | grid->visualRect(grid->model()->index(4, 3));
    // The outline of the active cell is the grid's own: left out of the comparison.
    const QRect outlined = grid->visualRect(grid->model()->index(2, 1)).translated(-compared.topLeft());
    auto shot = [&] {
        QImage image = grid->viewport()->grab(compared).toImage();
        QPainter(&image).fillRect(outlined, Qt::magenta);
        return image;
    };

    QAbstractItemDelegate* ours = grid->itemDelegate();
    QStyledItemDelegate standard;
    for (int round = 0; round < 2; ++round) {
        const QImage painted = shot();
        grid->setItemDelegate(&standard);
        const QImage expected = shot();
        grid->setItemDelegate(ours);
        EXPECT_EQ(painted, expected) << "round " << round;
        app->Range("A1").Value("d1,");  // a new text gets a new picture
        app->Range("C2").Value("Tah");
        Settle();
    }
}

// Row numbers and column letters are drawn from pictures of their looks: they
// look exactly as the table's own headers paint them, with a selection over
// a column and the rows it takes in, before and after it moved on.
TEST_F(WindowTest, HeadersLookAsTheTablesOwnHeadersPaintThem) {
    auto& w = WindowOf("Sešit1");
    QTableView* grid = w.Grid();
    QTableView reference(&w);  // Qt's own table, on the same cells and selection
    reference.setModel(grid->model());
    reference.setSelectionModel(grid->selectionModel());
    reference.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    reference.verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    reference.horizontalHeader()->setDefaultSectionSize(grid->horizontalHeader()->defaultSectionSize());
    reference.setGeometry(grid->geometry());
    reference.show();
    reference.lower();
    for (const char* range : {"F1:F121", "G1:G121", "B3"}) {
        app->Range(range).Select();
        Settle();
        for (auto header : {&QTableView::horizontalHeader, &QTableView::verticalHeader}) {
            QHeaderView* ours = (grid->*header)();
            QHeaderView* qt = (reference.*header)();
            ASSERT_EQ(ours->size(), qt->size());
            EXPECT_EQ(ours->grab().toImage(), qt->grab().toImage()) << range << " " << ours->orientation();
        }
    }
}

// The headers measure each row number and column letter once, and measure
// again when the font changes: their sizes always match the table's own
// headers, in the default font, a larger one and back.
TEST_F(WindowTest, HeadersMeasureAsTheTablesOwnHeadersInAnyFont) {
    auto& w = WindowOf("Sešit1");
    QTableView* grid = w.Grid();
    QTableView reference(&w);  // Qt's own table, on the same cells
    reference.setModel(grid->model());
    reference.setGeometry(grid->geometry());
    reference.show();
    reference.lower();
    const QFont normal = grid->font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 2);
    for (const QFont& f : {normal, large, normal}) {
        grid->setFont(f);
        reference.setFont(f);
        for (auto header : {&QTableView::horizontalHeader, &QTableView::verticalHeader}) {
            const QHeaderView* ours = (grid->*header)();
            const QHeaderView* qt = (reference.*header)();
            EXPECT_EQ(ours->sizeHint(), qt->sizeHint()) << f.pointSizeF() << " " << ours->orientation();
            for (int section : {0, 8, 99, 255}) {
                EXPECT_EQ(ours->sectionSizeHint(section), qt->sectionSizeHint(section)) << section;
            }
        }
    }
}

// A cursor walking down a long sheet scrolls the grid a row at a time; the
// scroll bar over 65,536 rows repaints only when its handle moves, and what
// the screen shows of it is always what it would paint afresh.
TEST_F(WindowTest, TheScrollBarRepaintsWhenItsHandleMoves) {
    auto& w = WindowOf("Sešit1");
    QScrollBar* bar = w.Grid()->verticalScrollBar();
    PaintWatch watch(bar);
    auto shown = [&] {
        const QImage screen = w.screen()->grabWindow(w.winId()).toImage();
        return screen.copy(QRect(bar->mapTo(&w, QPoint(0, 0)), bar->size())).convertToFormat(QImage::Format_RGB32);
    };
    auto fresh = [&] { return bar->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    int paintedSteps = 0;
    for (int row = 1; row <= 80; ++row) {
        watch.painted = QRegion();
        app->Range("B" + std::to_string(row)).Select();
        Settle();
        if (!watch.painted.isEmpty()) ++paintedSteps;
        ASSERT_EQ(shown(), fresh()) << "row " << row;
    }
    EXPECT_GT(bar->value(), 40);  // the grid did follow the cursor
    EXPECT_LT(paintedSteps, 10);
    watch.painted = QRegion();
    app->Range("B40000").Select();
    Settle();
    EXPECT_FALSE(watch.painted.isEmpty());
    EXPECT_EQ(shown(), fresh());
    app->Range("B1").Select();  // back at the start
    Settle();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(shown(), fresh());
}

// Activating a workbook from the program never takes the active window from
// the program's own window.
TEST_F(WindowTest, ActivatingAWorkbookLeavesTheActiveWindowAlone) {
    app->Workbooks().Add();
    QWidget main;
    main.show();
    main.activateWindow();
    QCoreApplication::processEvents();
    QWidget* before = QApplication::activeWindow();
    for (const char* name : {"Sešit1", "Sešit2", "Sešit1"}) {
        app->Windows(name).Activate();
        app->Range("C3").Select();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), before) << name;
        EXPECT_EQ(app->ActiveWorkbook().Name(), name);
    }
}

// A workbook opened read-only keeps its file as it was.
TEST_F(WindowTest, AReadOnlyWorkbookIsNeverSavedOverItsFile) {
    app->Range("A1").Value("tabulka");
    app->ActiveWorkbook().SaveAs({.Filename = "C:\\tabulka.xls"});
    app->ActiveWorkbook().Close(false);
    auto book = app->Workbooks().Open("C:\\tabulka.xls", {}, true);
    auto& w = WindowOf("tabulka.xls");
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("tabulka.xls  [jen pro čtení]"));
    Type(w, 1, 1, "přepsáno");
    EXPECT_EQ(ErrorOf([&] { book.Save(); }), 1004);
    EXPECT_EQ(ErrorOf([&] { book.SaveAs({.Filename = "C:\\tabulka.xls"}); }), 1004);
    app->Quit();  // asks nothing about the changed read-only workbook
    EXPECT_TRUE(boxes.boxes().empty());
    auto again = CreateExcelApplication();
    again->Workbooks().Open("C:\\tabulka.xls");
    EXPECT_EQ(again->Range("A1").Value().AsString(), "tabulka");
}

TEST_F(WindowTest, TheUsersCursorAndSheetChoiceReachTheModel) {
    auto& w = WindowOf("Sešit1");
    w.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(app->ActiveSheet().Name(), "List2");
    QAbstractItemModel* m = w.Grid()->model();
    w.Grid()->selectionModel()->setCurrentIndex(m->index(11, 5), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(app->ActiveCell().Address(), "$F$12");
}

TEST_F(WindowTest, SheetsAreRenamedInsertedAndDeletedInTheWindow) {
    auto& w = WindowOf("Sešit1");
    boxes.AnswerInput("Calvira12");
    w.RenameSheetAt(0);
    EXPECT_EQ(app->Sheets(1).Name(), "Calvira12");
    boxes.AnswerInput("list2");  // taken: a message, no change
    w.RenameSheetAt(0);
    EXPECT_EQ(app->Sheets(1).Name(), "Calvira12");
    EXPECT_EQ(boxes.boxes().back().icon(), forms::vbExclamation);

    w.InsertSheetBefore(1);
    EXPECT_EQ(app->Sheets().Count(), 4);
    EXPECT_EQ(app->Sheets(2).Name(), "List4");
    EXPECT_EQ(app->ActiveSheet().Name(), "List4");

    app->Sheets("List2").Select();
    app->Range("A1").Value("data");
    boxes.Answer(forms::vbNo);  // a sheet with data is deleted only when the user agrees
    w.DeleteSheetAt(2);
    EXPECT_EQ(app->Sheets().Count(), 4);
    boxes.Answer(forms::vbYes);
    w.DeleteSheetAt(2);
    EXPECT_EQ(app->Sheets().Count(), 3);
    EXPECT_EQ(ErrorOf([&] { app->Sheets("List2"); }), 9);
    EXPECT_EQ(w.Tabs()->count(), 3);
}

TEST_F(WindowTest, ClosingTheWindowClosesTheWorkbook) {
    app->Workbooks().Add();  // Sešit2 stays
    auto& w = WindowOf("Sešit1");
    app->Windows("Sešit1").Activate();
    app->Range("A1").Value("změna");
    boxes.Answer(forms::vbCancel);
    w.close();
    EXPECT_EQ(app->Workbooks().Count(), 2);  // cancelled
    boxes.Answer(forms::vbNo);
    w.close();
    EXPECT_EQ(app->Workbooks().Count(), 1);
    EXPECT_EQ(ErrorOf([&] { app->Windows("Sešit1").Activate(); }), 9);
    EXPECT_EQ(app->ActiveWorkbook().Name(), "Sešit2");
}

// The user's close asks the program first, with the workbook's name, and the
// window does what the answer says; a changed workbook asks to be saved only
// when the answer leaves the closing to the window. The program's own
// closing does not ask.
TEST_F(WindowTest, TheUsersCloseDoesWhatTheProgramAnswers) {
    struct Case {
        const char* name;
        UserClose answer;
        bool programCloses;  // the hook closes the workbook itself
        bool open, minimised;
        std::vector<std::string> boxes;  // titles
    };
    const Case cases[] = {
        {"close", UserClose::Close, false, false, false, {kErrorSource}},
        {"handled, closed by the program", UserClose::Handled, true, false, false, {}},
        {"handled, kept by the program", UserClose::Handled, false, true, false, {}},
        {"refused", UserClose::Refuse, false, true, false, {}},
        {"minimised", UserClose::Minimise, false, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = app->Workbooks().Add().Name();
        app->Range("A1").Value("změna");
        std::vector<std::string> asked;
        app->OnUserClose([&](const std::string& book) {
            asked.push_back(book);
            if (c.programCloses) {
                app->Windows(book).Activate();
                app->ActiveWorkbook().Close(false);
            }
            return c.answer;
        });
        auto& w = WindowOf(name);
        boxes.Answer(forms::vbNo);
        w.close();
        Settle();
        app->OnUserClose({});
        EXPECT_EQ(asked, std::vector<std::string>{name});
        std::vector<std::string> titles;
        for (const auto& b : boxes.TakeBoxes()) titles.push_back(b.title);
        EXPECT_EQ(titles, c.boxes);
        EXPECT_EQ(engine::FindBook(app->Engine(), name) != nullptr, c.open);
        if (!c.open) continue;
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.isMinimized(), c.minimised);
        EXPECT_EQ(app->Range("A1").Value().AsString(), "změna");
    }

    // The program's own closing never asks: a workbook closed, the instance
    // quit, an instance that ends.
    int asked = 0;
    const auto refuse = [&](const std::string&) {
        ++asked;
        return UserClose::Refuse;
    };
    app->OnUserClose(refuse);
    app->Range("A1").Value("změna");
    boxes.Answer(forms::vbNo);
    app->ActiveWorkbook().Close();
    app->Workbooks().Add();
    app->Quit();
    EXPECT_EQ(app->Workbooks().Count(), 0);
    app = CreateExcelApplication();
    app->OnUserClose(refuse);
    app->Visible(true);
    app->Workbooks().Add();
    app.reset();
    EXPECT_EQ(asked, 0);
}

}  // namespace
