// The window's side of the connection to the spreadsheet: the tone sheet
// selected for a lookup, the cursor returned to column B, and the shutdown
// when the window closes (with the default folder chosen in its dialog).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/msgbox/msgbox.h"
#include "resources/app_info/app_info.h"
#include "store/frmzmenacesty.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;
namespace fs = std::filesystem;

class ExcelConnectionTest : public Form1Fixture {
protected:
    void TearDown() override {
        frmZmenaCesty.Reset();
        Form1Fixture::TearDown();
    }

    // The value of a cell of a workbook file as a fresh spreadsheet reads it.
    static vb::Variant CellOnDisk(const std::string& windowsPath, const std::string& address) {
        xl::Application app;
        xl::Workbook book = app.Workbooks().Open(windowsPath);
        vb::Variant v = book.ActiveSheet().Range(address).Value();
        book.Close(false);
        return v;
    }
};

const std::string kNastavLadeniChyba =
    std::string("Ve funkci NastavLadeni došlo k chybě. Tato chyba pravděpodobně nebude mít vliv na další běh "
                "programu. Přesto Vám autor bude vděčný, když bude upozorněn na toto hlášení. Chcete-li autora "
                "upozornit, kontaktujte prosím ") +
    resources::kMakerContact;

// ---- NastavLadeni -------------------------------------------------------------

TEST_F(ExcelConnectionTest, ToneSheetIsSelectedAndThePreviousWindowComesBack) {
    Form1& f = Start();
    ExcelAplikace->Sheets("Transpozice").Select();
    const std::string song = OpenNewSong("Pisen.xls");
    ExcelAplikace->Range("C5").Select();

    const vb::Variant r = f.NastavLadeni();

    EXPECT_TRUE(vb::LooseEquals(r, true));
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), song);
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$C$5");
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Calvira12");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ExcelConnectionTest, ClosedLookupWorkbookIsReportedOnceAndGivesEmpty) {
    Form1& f = Start();
    const std::string song = OpenNewSong("Pisen.xls");
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->ActiveWorkbook().Close(false);
    ExcelAplikace->Windows(song).Activate();

    const vb::Variant r = f.NastavLadeni();

    EXPECT_TRUE(r.IsEmpty());
    EXPECT_TRUE(vb::LooseEquals(r, false));
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Chyba.");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), song);

    // With no workbook left at all there is no window to come back to either:
    // the same single message, no other failure.
    ExcelAplikace->ActiveWorkbook().Close(false);
    EXPECT_TRUE(f.NastavLadeni().IsEmpty());
    const auto again = TakeBoxes();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].title, "Chyba.");
}

TEST_F(ExcelConnectionTest, MissingToneSheetIsReportedAndThePreviousWindowStillComesBack) {
    Form1& f = Start();
    ExcelAplikace->Sheets("Calvira12").Name("Jiny");
    const std::string song = OpenNewSong("Pisen.xls");

    const vb::Variant r = f.NastavLadeni();

    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{kNastavLadeniChyba, forms::vbInformation, "Blíže nespecifikovaná chyba."}}));
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), song);
}

// ---- VyberSloupecB ------------------------------------------------------------

TEST_F(ExcelConnectionTest, CursorReturnsToColumnBOfTheSameRow) {
    Form1& f = Start();
    OpenNewSong("Pisen.xls");
    ExcelAplikace->Range("M37").Select();

    f.VyberSloupecB();

    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$37");
    EXPECT_EQ(ExcelAplikace->Selection().Address(), "$B$37");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ExcelConnectionTest, CursorWithNoWorkbookLeftIsReported) {
    Form1& f = Start();
    ExcelAplikace->ActiveWorkbook().Close(false);

    f.VyberSloupecB();

    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{"Umístění kurzoru do sloupce B se nezdařilo.", forms::vbInformation, "Chyba"}}));
}

// ---- Shutdown ------------------------------------------------------------------

TEST_F(ExcelConnectionTest, ClosingTheWindowSavesTheOpenSongAndRestoresTheDefaultFolder) {
    xl::Application().DefaultFilePath("C:\\Moje dokumenty");
    Form1& f = Start();
    OpenNewSong("Pisen.xls");
    ExcelAplikace->Range("A2").Value("la,");
    // The lookup workbook is the active one when the window closes.
    AktivujReadOnly();
    bool unloaded = false;
    f.Unloaded = [&] { unloaded = true; };

    f.Unload();

    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(ExcelAplikace);
    EXPECT_TRUE(TakeBoxes().empty());  // saved before the quit: nothing to ask
    EXPECT_EQ(CellOnDisk(std::string(PracovniAdresar) + "\\Pisen.xls", "A2").AsString(), "la,");
    EXPECT_EQ(xl::Application().DefaultFilePath(), "C:\\Moje dokumenty");
}

TEST_F(ExcelConnectionTest, ClosingWithNoSongSavesNothing) {
    Form1& f = Start();
    const fs::path lookup = fs::path(form1_test::ProgramDir()) / "read_only.xls";
    const auto before = fs::last_write_time(lookup);
    // A song that was ended: its file stays as it was saved.
    OpenNewSong("Pisen.xls");
    const fs::path songFile = SongFolder() / "Pisen.xls";
    const auto songBefore = fs::last_write_time(songFile);
    AktualniPisen = "";

    f.Unload();

    EXPECT_EQ(fs::last_write_time(lookup), before);
    EXPECT_EQ(fs::last_write_time(songFile), songBefore);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ExcelConnectionTest, ResetTextOfTheFolderDialogIsWrittenBackUnchanged) {
    Form1& f = Start();
    StaraCesta = "X:\\Nastavení bylo resetováno !!";

    f.Unload();

    EXPECT_EQ(xl::Application().DefaultFilePath(), "X:\\Nastavení bylo resetováno !!");
}

TEST_F(ExcelConnectionTest, SongThatCannotBeSavedIsReportedAndTheShutdownGoesOn) {
    xl::Application().DefaultFilePath("C:\\Moje dokumenty");
    Form1& f = Start();
    OpenNewSong("Pisen.xls");
    ExcelAplikace->Range("A2").Value("la,");
    // The song's file has become a folder: it can no longer be written.
    const fs::path songFile = SongFolder() / "Pisen.xls";
    fs::remove(songFile);
    fs::create_directories(songFile);
    std::ofstream(songFile / "x") << "x";
    Boxes().Answer(forms::vbNo);  // the spreadsheet's question at the quit

    f.Unload();

    const auto boxes = TakeBoxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{"Chyba při ukládání souboru !\r\nData v písni mohou být ztracena.", forms::vbExclamation,
                             "Nestandardní ukončení."}));
    EXPECT_FALSE(ExcelAplikace);
    EXPECT_EQ(xl::Application().DefaultFilePath(), "C:\\Moje dokumenty");
}

TEST_F(ExcelConnectionTest, LostSpreadsheetIsReportedOnceAndTheShutdownStillEnds) {
    Form1& f = Start();
    ExcelAplikace.reset();
    bool unloaded = false;
    f.Unloaded = [&] { unloaded = true; };

    f.Unload();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Nezavírejte příště prosím Excel ručně !\r\nAplikace si ho ovládá sama.",
                                              forms::vbExclamation, "Nestandardní ukončení."}}));
    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(ExcelAplikace);
}

// The folder chosen in the default-folder dialog goes back into the
// spreadsheet when the window closes.
TEST_F(ExcelConnectionTest, TheChosenFolderIsWrittenBackAtTheEnd) {
    xl::Application().DefaultFilePath("C:\\Moje dokumenty");
    Form1& hlavni = Start();
    ASSERT_EQ(StaraCesta, "C:\\Moje dokumenty");
    TakeBoxes();
    fs::create_directories(Root() / "C" / "hudba");
    // What the menu item does: the main window hides, the dialog shows.
    hlavni.Hide();
    frmZmenaCesty->Show(forms::vbModeless);
    auto& d = *frmZmenaCesty;
    d.Option1(2).Value = true;
    d.txtCesta.Text = "C:\\hudba";
    d.OKButton.PerformClick();
    ASSERT_EQ(StaraCesta, "C:\\hudba");
    TakeBoxes();

    hlavni.Unload();
    EXPECT_EQ(xl::Application().DefaultFilePath(), "C:\\hudba");
}

}  // namespace
