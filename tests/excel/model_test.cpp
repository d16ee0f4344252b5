// The object model: workbooks, windows, sheets, selection and cells.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "platform/excel/application.h"
#include "tests/support/doubles/scripted_file_dialog.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/excel_env.h"

using namespace xl;
using excel_test::ErrorOf;

namespace {

class ModelTest : public ::testing::Test {
protected:
    excel_test::TempEnv env;
    forms::ScriptedMessageBoxes boxes;
    std::shared_ptr<Application> app = CreateExcelApplication();
};

TEST_F(ModelTest, NewWorkbooksAreNumberedAndHaveThreeSheets) {
    Workbook first = app->Workbooks().Add();
    Workbook second = app->Workbooks().Add();
    EXPECT_EQ(first.Name(), "Sešit1");
    EXPECT_EQ(second.Name(), "Sešit2");
    EXPECT_EQ(app->ActiveWorkbook(), second);
    ASSERT_EQ(app->Sheets().Count(), 3);
    EXPECT_EQ(app->Sheets(1).Name(), "List1");
    EXPECT_EQ(app->Sheets(3).Name(), "List3");
    EXPECT_EQ(app->ActiveSheet().Name(), "List1");
    EXPECT_EQ(app->ActiveCell().Address(), "$A$1");
}

TEST_F(ModelTest, WithoutWorkbookTheActiveObjectsAreNothing) {
    EXPECT_TRUE(app->ActiveWorkbook().IsNothing());
    EXPECT_TRUE(app->ActiveCell().IsNothing());
    EXPECT_EQ(ErrorOf([&] { app->ActiveWorkbook().Save(); }), 91);
    EXPECT_EQ(ErrorOf([&] { app->ActiveCell().Row(); }), 91);
    EXPECT_EQ(ErrorOf([&] { app->Range("B1"); }), 1004);
}

TEST_F(ModelTest, UnknownWindowsAndSheetsRaise9) {
    app->Workbooks().Add();
    EXPECT_EQ(ErrorOf([&] { app->Windows("read_only.xls").Activate(); }), 9);
    EXPECT_EQ(ErrorOf([&] { app->Windows("").Activate(); }), 9);
    EXPECT_EQ(ErrorOf([&] { app->Sheets("Transpozice").Select(); }), 9);
    EXPECT_EQ(ErrorOf([&] { app->Sheets(4); }), 9);
    EXPECT_EQ(ErrorOf([&] { app->Sheets(0); }), 9);
    EXPECT_EQ(app->Sheets("list2").Index(), 2);  // names without regard to case
    // A window found while open fails once its workbook is closed.
    Window w = app->Windows("Sešit1");
    app->ActiveWorkbook().Close(false);
    EXPECT_EQ(ErrorOf([&] { w.Activate(); }), 9);
    EXPECT_EQ(ErrorOf([&] { app->Windows("Sešit1"); }), 9);
}

TEST_F(ModelTest, EachWorkbookKeepsItsSheetAndEachSheetItsCursor) {
    app->Workbooks().Add();  // Sešit1
    app->Sheets("List2").Select();
    app->Range("B12").Select();
    app->Sheets("List1").Select();
    app->Range("C3:C9").Select();
    app->Range("C5").Activate();
    app->Sheets("List2").Select();

    app->Workbooks().Add();  // Sešit2
    app->Range("M7").Select();

    app->Windows("Sešit1").Activate();
    EXPECT_EQ(app->ActiveSheet().Name(), "List2");
    EXPECT_EQ(app->ActiveCell().Address(), "$B$12");
    app->Sheets("List1").Select();
    EXPECT_EQ(app->ActiveCell().Address(), "$C$5");
    EXPECT_EQ(app->Selection().Address(), "$C$3:$C$9");

    app->Windows("Sešit2").Activate();
    EXPECT_EQ(app->ActiveSheet().Name(), "List1");
    EXPECT_EQ(app->ActiveCell().Address(), "$M$7");
}

TEST_F(ModelTest, ActivateInsideTheSelectionMovesOnlyTheActiveCell) {
    app->Workbooks().Add();
    app->Range("B1:B500").Select();
    EXPECT_EQ(app->ActiveCell().Address(), "$B$1");
    app->Range("B40").Activate();
    EXPECT_EQ(app->ActiveCell().Address(), "$B$40");
    EXPECT_EQ(app->Selection().Address(), "$B$1:$B$500");
    app->Range("D2").Activate();  // outside: becomes the selection
    EXPECT_EQ(app->Selection().Address(), "$D$2");
    EXPECT_EQ(app->ActiveCell().Address(), "$D$2");
}

TEST_F(ModelTest, SelectingOutsideTheActiveSheetFails) {
    app->Workbooks().Add();
    Range onList1 = app->Range("B2");
    app->Sheets(2).Select();
    EXPECT_EQ(ErrorOf([&] { onList1.Select(); }), 1004);
    Workbook first = app->ActiveWorkbook();
    app->Workbooks().Add();
    EXPECT_EQ(ErrorOf([&] { first.Sheets().Item(1).Select(); }), 1004);
}

TEST_F(ModelTest, OffsetAndRelativeRange) {
    app->Workbooks().Add();
    app->Range("B5").Select();
    Range cell = app->ActiveCell();
    EXPECT_EQ(cell.Offset(0, 7).Range("A1").Address(), "$I$5");
    EXPECT_EQ(cell.Offset(0, 0).Range("A1:H1").Address(), "$B$5:$I$5");
    EXPECT_EQ(cell.Offset(0, 0).Range("B1").Address(), "$C$5");
    EXPECT_EQ(cell.Offset(-1, 0).Row(), 4);
    EXPECT_EQ(cell.Offset(1, 20).Column(), 22);
    EXPECT_EQ(app->Range("HC32341:HC32350").Offset(1, 0).Address(), "$HC$32342:$HC$32351");

    struct Out {
        const char* from;
        int rows, cols;
    } outside[] = {{"B1", -1, 0}, {"A5", 0, -1}, {"IV1", 0, 1}, {"B65536", 1, 0}, {"B65530:B65536", 1, 0}};
    for (const auto& o : outside)
        EXPECT_EQ(ErrorOf([&] { app->Range(o.from).Offset(o.rows, o.cols); }), 1004) << o.from;
    EXPECT_EQ(ErrorOf([&] { app->Range("IV1").Range("B1"); }), 1004);
    EXPECT_EQ(ErrorOf([&] { app->Range("B0"); }), 1004);
    EXPECT_EQ(ErrorOf([&] { app->Range("IW1"); }), 1004);
}

TEST_F(ModelTest, ValuesKeepTheirType) {
    app->Workbooks().Add();
    app->Range("A1").Value("cis1,");
    app->Range("A2").Value(std::int16_t{12});
    app->Range("A3").Value(vb::Date{45000.5});
    app->Range("A4").Value("");
    EXPECT_EQ(app->Range("A1").Value().AsString(), "cis1,");
    EXPECT_EQ(app->Range("A2").Value().Type(), vb::VarType::Double);
    EXPECT_EQ(app->Range("A2").Value().AsDouble(), 12.0);
    EXPECT_EQ(app->Range("A3").Value().Type(), vb::VarType::Date);
    EXPECT_EQ(app->Range("A3").Value().AsDate().serial, 45000.5);
    EXPECT_TRUE(app->Range("A4").Value().IsEmpty());
    EXPECT_TRUE(app->Range("Z99").Value().IsEmpty());
}

TEST_F(ModelTest, ClearContentsEmptiesARowAndKeepsTheFontColour) {
    app->Workbooks().Add();
    app->Range("B3:I3").Value("x");
    app->Range("J3").Value("stays");
    app->Range("C3").Font().ColorIndex(2);
    app->Range("B3").Select();
    app->ActiveCell().Offset(0, 0).Range("A1:H1").ClearContents();
    for (const char* a : {"B3", "C3", "I3"}) EXPECT_TRUE(app->Range(a).Value().IsEmpty()) << a;
    EXPECT_EQ(app->Range("J3").Value().AsString(), "stays");
    EXPECT_EQ(app->Range("C3").Font().ColorIndex().AsDouble(), 2);
    EXPECT_EQ(app->Range("B3").Font().ColorIndex().AsDouble(), xlColorIndexAutomatic);
    EXPECT_TRUE(app->Range("B3:C3").Font().ColorIndex().IsNull());  // mixed
}

TEST_F(ModelTest, SheetNamesIndexAndNext) {
    app->Workbooks().Add();
    app->ActiveSheet().Name("Calvira12");
    EXPECT_EQ(app->Sheets(1).Name(), "Calvira12");
    EXPECT_EQ(ErrorOf([&] { app->ActiveSheet().Name("list2"); }), 1004);  // taken, whatever the case
    EXPECT_EQ(ErrorOf([&] { app->ActiveSheet().Name(""); }), 1004);
    EXPECT_EQ(ErrorOf([&] { app->ActiveSheet().Name("a/b"); }), 1004);
    EXPECT_EQ(ErrorOf([&] { app->ActiveSheet().Name(std::string(32, 'x')); }), 1004);
    app->ActiveSheet().Name("G Dur Nedokončeno");
    EXPECT_EQ(app->ActiveSheet().Name(), "G Dur Nedokončeno");

    // Walking the sheets as the sheet list does.
    std::vector<std::string> names;
    app->Sheets(1).Select();
    for (Worksheet s = app->ActiveSheet(); !s.IsNothing(); s = s.Next()) names.push_back(s.Name());
    EXPECT_EQ(names, (std::vector<std::string>{"G Dur Nedokončeno", "List2", "List3"}));
    EXPECT_TRUE(app->Sheets(3).Next().IsNothing());
    EXPECT_EQ(app->Sheets(3).Index(), 3);
}

TEST_F(ModelTest, GetOpenFilenameGoesThroughTheDialogService) {
    ScriptedFileDialogs dialogs;
    dialogs.Answer((env.C() / "Dokumenty" / "Polka.xls").string());
    dialogs.Answer(std::nullopt);
    const vb::Variant chosen = app->GetOpenFilename("Excel Files,*.xls", {}, "Vyberte písničku !");
    ASSERT_TRUE(chosen.IsString());
    EXPECT_EQ(chosen.AsString(), "C:\\Dokumenty\\Polka.xls");
    const vb::Variant cancelled = app->GetOpenFilename("Excel Files,*.xls", {}, "Vyberte písničku !");
    ASSERT_EQ(cancelled.Type(), vb::VarType::Boolean);
    EXPECT_FALSE(cancelled.AsBool());
    ASSERT_EQ(dialogs.requests().size(), 2u);
    EXPECT_EQ(dialogs.requests()[0].title, "Vyberte písničku !");
    EXPECT_EQ(dialogs.requests()[0].filters, (std::vector<FileFilter>{{"Excel Files", {"*.xls"}}}));
}

TEST_F(ModelTest, DefaultFilePathIsKeptAcrossInstancesAndWritableAfterQuit) {
    const std::string original = app->DefaultFilePath();
    EXPECT_FALSE(original.empty());
    app->DefaultFilePath("C:\\Dokumenty\\Dovozivuz\\Belmora");
    app->Quit();
    app.reset();

    auto second = CreateExcelApplication();
    EXPECT_EQ(second->DefaultFilePath(), "C:\\Dokumenty\\Dovozivuz\\Belmora");
    second->Quit();
    second->DefaultFilePath("X:\\Nastavení bylo resetováno !!");
    EXPECT_EQ(second->DefaultFilePath(), "X:\\Nastavení bylo resetováno !!");
    second.reset();
    EXPECT_EQ(CreateExcelApplication()->DefaultFilePath(), "X:\\Nastavení bylo resetováno !!");
}

// While it lives, files of this process cannot grow past `bytes` (writes past
// it fail as on a full disk).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(ModelTest, ADefaultFilePathThatCannotBeStoredWholeLeavesTheLastOneStored) {
    app->DefaultFilePath("C:\\Dokumenty");
    {
        FileSizeLimit limit(16);
        app->DefaultFilePath("C:\\Dokumenty\\Dovozivuz\\Belmora");
    }
    EXPECT_EQ(app->DefaultFilePath(), "C:\\Dokumenty\\Dovozivuz\\Belmora");  // this run goes on with it
    EXPECT_EQ(CreateExcelApplication()->DefaultFilePath(), "C:\\Dokumenty");
    for (const auto& e : std::filesystem::directory_iterator(env.Settings()))
        EXPECT_EQ(e.path().filename(), "excel.ini");
}

TEST_F(ModelTest, ALinkedSettingsFileIsWrittenWhereItLiesAndStaysLinked) {
    std::filesystem::create_directories(env.Root() / "dotfiles");
    const auto real = env.Root() / "dotfiles" / "excel.ini";
    std::ofstream(real) << "[Options]\nDefaultFilePath=C:\\Staré\n";
    std::filesystem::create_symlink(real, env.Settings() / "excel.ini");
    EXPECT_EQ(CreateExcelApplication()->DefaultFilePath(), "C:\\Staré");
    app->DefaultFilePath("C:\\Nové");
    EXPECT_TRUE(std::filesystem::is_symlink(env.Settings() / "excel.ini"));
    EXPECT_EQ(CreateExcelApplication()->DefaultFilePath(), "C:\\Nové");
}

TEST_F(ModelTest, CreationCanBeMadeToFailWith429) {
    xl::testing::SetCreationFails(true);
    const int number = ErrorOf([] { CreateObject("excel.application"); });
    xl::testing::SetCreationFails(false);
    EXPECT_EQ(number, 429);
    EXPECT_EQ(ErrorOf([] { CreateObject("word.application"); }), 429);
    EXPECT_NE(CreateObject("Excel.Application"), nullptr);
}

TEST_F(ModelTest, CloseAsksOnlyAboutUnsavedChanges) {
    app->Workbooks().Add();
    app->ActiveWorkbook().Close();  // untouched: no question
    EXPECT_TRUE(boxes.boxes().empty());

    app->Workbooks().Add();
    app->Range("A1").Value("la");
    boxes.Answer(forms::vbCancel);
    EXPECT_EQ(ErrorOf([&] { app->ActiveWorkbook().Close(); }), 1004);
    EXPECT_EQ(app->Workbooks().Count(), 1);
    boxes.Answer(forms::vbNo);
    app->ActiveWorkbook().Close();
    EXPECT_EQ(app->Workbooks().Count(), 0);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].buttons(), forms::vbYesNoCancel);
    EXPECT_NE(boxes.boxes()[0].prompt.find("Sešit2"), std::string::npos);
}

TEST_F(ModelTest, QuitClosesEverythingAndLaterUseFails) {
    app->Workbooks().Add();
    app->Quit();
    EXPECT_EQ(app->Workbooks().Count(), 0);
    EXPECT_TRUE(app->ActiveWorkbook().IsNothing());
    EXPECT_FALSE(app->Visible());
    EXPECT_NE(ErrorOf([&] { app->Workbooks().Add(); }), 0);
}

}  // namespace
