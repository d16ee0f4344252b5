// The song's life cycle on the running window with the real engine: a new
// song with its folder, name checks and hidden stamp, opening a song saved by
// LibreOffice, switching sheets, and ending a song, also when the user has
// closed its window in the spreadsheet.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDate>
#include <QMainWindow>
#include <QTest>

#include "platform/excel/file_dialog.h"
#include "platform/xls/xls_io.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "resources/app_info/app_info.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/mainwindow/form1_fixture.h"
#include "tests/support/private_mount.h"
#include "tests/support/soffice.h"
#include "tests/support/workbook_windows.h"
#include "tests/support/write_protect.h"

namespace {

using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;
namespace fs = std::filesystem;

const Box kNazevDotaz{"Zadejte název nové písničky.", -1, "Nová skladba."};
const Box kNahraditDotaz{"Přejete si vymazat z disku původní písničku a nahradit ji novou ?",
                         forms::vbYesNo + forms::vbExclamation, "Tato skladba již existuje!"};
const Box kZalozeniPreruseno{"Začněte znovu a zadejte jiný název písně.", forms::vbInformation,
                             "Založení nové skladby přerušeno."};
const Box kSlozkaChybi{"Cesta do C:\\Dokumenty\\Dovozivuz\\Belmora nebyla nalezena.\r\n"
                       "Aby mohl program správně pracovat, bude nyní vytvořena tato složka.\r\n"
                       "Do ní se budou ukládat Vaše skladby.",
                       forms::vbExclamation, "Pracovní adresář neexistuje."};

using testsupport::SourceDir;

fs::path TriListyXls() { return SourceDir() / "tests/fixtures/songs/tri_listy.xls"; }

// Days since 30 Dec 1899 of today's local date, counted by Qt's calendar
// rather than by the arithmetic the stamp is written with.
long DnesniSerial() { return static_cast<long>(QDate(1899, 12, 30).daysTo(QDate::currentDate())); }

// Records whether the main window was visible while the open dialog was up.
class FileDialogWatch : public xl::FileDialogService {
public:
    FileDialogWatch() { previous_ = xl::SetFileDialogService(this); }
    ~FileDialogWatch() override { xl::SetFileDialogService(previous_); }
    std::optional<std::string> answer;
    std::vector<bool> windowVisible;
    std::vector<std::string> titles;
    std::vector<std::vector<xl::FileFilter>> filters;
    std::optional<std::string> GetOpenFileName(const std::vector<xl::FileFilter>& f, const std::string& title,
                                               const std::string&) override {
        windowVisible.push_back(HlavniOkno && HlavniOkno->Visible.get());
        titles.push_back(title);
        filters.push_back(f);
        return answer;
    }

private:
    xl::FileDialogService* previous_ = nullptr;
};

class SongTest : public Form1Fixture {
protected:
    Form1& StartWithFolder() {
        fs::create_directories(SongFolder());
        return Start();
    }

    // Creates a new song as the user does: the command, then the name typed.
    void NewSong(Form1& f, const std::string& name) {
        Boxes().AnswerInput(name);
        f.cmdNovaSkladba_Click();
    }

    // Opens a song through the open dialog, answered with `nativePath`.
    void OpenSong(Form1& f, const fs::path& nativePath) {
        FileDialogWatch dialog;
        dialog.answer = nativePath.string();
        f.cmdEdit_Click();
    }

    // The LibreOffice workbook copied into a folder of drive C outside the song folder.
    fs::path CopyOfTriListy() {
        const fs::path dir = Root() / "C" / "Noty";
        fs::create_directories(dir);
        fs::copy_file(TriListyXls(), dir / "tri_listy.xls", fs::copy_options::overwrite_existing);
        return dir / "tri_listy.xls";
    }

    static std::vector<std::string> ComboItems(Form1& f) {
        std::vector<std::string> items;
        for (int i = 0; i < f.Combo1.ListCount(); ++i) items.push_back(f.Combo1.List(i));
        return items;
    }

    static void ExpectNoSongState(Form1& f) {
        EXPECT_EQ(AktualniPisen, "");
        EXPECT_EQ(f.Caption.get(), "Belmora");
        EXPECT_EQ(f.lblLadeni.Caption.get(), "Calvira12");
        EXPECT_EQ(f.Combo1.ListCount(), 0);
        EXPECT_EQ(f.Combo1.Text.get(), "");
        EXPECT_EQ(f.lblTon.Caption.get(), "1");
        EXPECT_TRUE(f.cmdEdit.Enabled.get());
        EXPECT_TRUE(f.cmdNovaSkladba.Enabled.get());
        EXPECT_TRUE(f.mnuOtevrit(3).Enabled.get());
        EXPECT_TRUE(f.mnuNovaPisen(2).Enabled.get());
        EXPECT_FALSE(f.cmdEndEdit.Enabled.get());
        EXPECT_EQ(f.cmdJakDal.BackColor.get(), 0x8000000Bu);
        EXPECT_EQ(f.cmdJakDalZpet.BackColor.get(), 0x8000000Bu);
    }

    std::vector<std::string> SongFolderFiles() const {
        std::vector<std::string> names;
        if (fs::exists(SongFolder()))
            for (const auto& e : fs::directory_iterator(SongFolder())) names.push_back(e.path().filename().string());
        return names;
    }
};

// ---- New song ---------------------------------------------------------------

TEST_F(SongTest, NewSongPolkaIsSavedWithItsSheetCaptionSoundButtonsAndStamp) {
    Form1& f = StartWithFolder();
    std::ofstream(SongFolder() / "Polka.mp3") << "x";
    std::ofstream(SongFolder() / "Polka.wav") << "x";
    std::ofstream(SongFolder() / "Jina.mid") << "x";

    NewSong(f, "Polka");

    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kNazevDotaz});
    EXPECT_TRUE(fs::is_regular_file(SongFolder() / "Polka.xls"));
    EXPECT_EQ(AktualniPisen, "Polka.xls");
    EXPECT_EQ(f.Caption.get(), "Polka.xls");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "Polka.xls");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Calvira12");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Index(), 1);
    EXPECT_EQ(f.lblLadeni.Caption.get(), "Calvira12");
    EXPECT_TRUE(f.Combo1.Visible.get());
    EXPECT_EQ(f.Combo1.Text.get(), "Calvira12");
    EXPECT_EQ(f.Combo1.ListCount(), 0);  // a new song's list is not filled
    EXPECT_TRUE(f.cmdZvuk(0).Visible.get());
    EXPECT_FALSE(f.cmdZvuk(1).Visible.get());
    EXPECT_TRUE(f.cmdZvuk(2).Visible.get());
    EXPECT_FALSE(f.cmdEdit.Enabled.get());
    EXPECT_FALSE(f.cmdNovaSkladba.Enabled.get());
    EXPECT_FALSE(f.mnuOtevrit(3).Enabled.get());
    EXPECT_FALSE(f.mnuNovaPisen(2).Enabled.get());
    EXPECT_TRUE(f.cmdEndEdit.Enabled.get());

    // Ending the song saves it; the stamp is then in the file.
    f.cmdEndEdit_Click();
    EXPECT_TRUE(TakeBoxes().empty());
    const xl::internal::Book book = xl::internal::ReadXlsFile((SongFolder() / "Polka.xls").string());
    ASSERT_FALSE(book.sheets.empty());
    const xl::internal::Sheet& sheet = book.sheets[0];
    EXPECT_EQ(sheet.name, "Calvira12");
    const int hc = 211;
    auto cell = [&](int row) {
        const auto it = sheet.cells.find({row, hc});
        return it == sheet.cells.end() ? xl::internal::Cell{} : it->second;
    };
    using Kind = xl::internal::Cell::Kind;
    EXPECT_EQ(cell(32341).kind, Kind::Text);
    EXPECT_EQ(cell(32341).text, resources::App.LegalCopyright);
    EXPECT_EQ(cell(32344).kind, Kind::Date);
    EXPECT_NEAR(cell(32344).number, static_cast<double>(DnesniSerial()), 1.0);  // a run across midnight
    EXPECT_EQ(cell(32344).number, std::floor(cell(32344).number));
    EXPECT_EQ(cell(32345).kind, Kind::Date);
    EXPECT_GE(cell(32345).number, 0.0);
    EXPECT_LT(cell(32345).number, 1.0);
    EXPECT_EQ(cell(32346).text, resources::App.Title);
    EXPECT_EQ(cell(32347).number, resources::App.Major);
    EXPECT_EQ(cell(32348).number, resources::App.Minor);
    EXPECT_EQ(cell(32349).number, resources::App.Revision);
    EXPECT_EQ(cell(32350).text, resources::App.Path());
    for (int row : {32341, 32344, 32345, 32346, 32347, 32348, 32349, 32350})
        EXPECT_EQ(cell(row).colorIndex, 2) << "HC" << row;
    EXPECT_TRUE(cell(32342).kind == Kind::Empty && cell(32343).kind == Kind::Empty);
}

TEST_F(SongTest, TakenNameAnsweredNoKeepsTheOldFileAndStops) {
    Form1& f = StartWithFolder();
    std::ofstream(SongFolder() / "Polka.xls") << "stará";
    Boxes().Answer(forms::vbNo);

    NewSong(f, "Polka");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{kNazevDotaz, kNahraditDotaz, kZalozeniPreruseno}));
    std::ifstream in(SongFolder() / "Polka.xls");
    std::string obsah;
    std::getline(in, obsah);
    EXPECT_EQ(obsah, "stará");
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    ExpectNoSongState(f);
}

TEST_F(SongTest, TakenNameAnsweredYesReplacesTheOldFile) {
    Form1& f = StartWithFolder();
    std::ofstream(SongFolder() / "Polka.xls") << "stará";
    Boxes().Answer(forms::vbYes);

    NewSong(f, "Polka");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{kNazevDotaz, kNahraditDotaz}));
    EXPECT_EQ(AktualniPisen, "Polka.xls");
    // The file is now the new song's workbook, saved as it was made (its
    // sheet is renamed after the tuning in the open workbook only).
    const xl::internal::Book book = xl::internal::ReadXlsFile((SongFolder() / "Polka.xls").string());
    ASSERT_EQ(book.sheets.size(), 3u);
    EXPECT_EQ(book.sheets.front().name, "List1");
}

// A name that an open workbook already has (the lookup workbook, in any
// letter case) is refused before anything is made.
TEST_F(SongTest, ANameOfAnOpenWorkbookIsRefusedBeforeAnythingIsMade) {
    Form1& f = StartWithFolder();
    for (const std::string name : {"read_only", "READ_ONLY"}) {
        NewSong(f, name);
        EXPECT_EQ(TakeBoxes(),
                  (std::vector<Box>{kNazevDotaz,
                                    {"Sešit s názvem " + name + ".xls je v programu již otevřen, proto tento název "
                                     "nelze použít pro novou písničku.\r\nZačněte znovu a zadejte jiný název písně.",
                                     forms::vbExclamation, "Založení nové skladby přerušeno."}}));
        EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
        EXPECT_TRUE(SongFolderFiles().empty());
        ExpectNoSongState(f);
    }
}

TEST_F(SongTest, MissingFolderLevelsAreMadeAfterTheMessage) {
    struct Case {
        const char* name;
        std::vector<std::string> existing;  // below drive C
        bool message;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, true},
        {"Dokumenty only", {"Dokumenty"}, true},
        {"Dokumenty and Dovozivuz", {"Dokumenty/Dovozivuz"}, true},
        {"everything", {"Dokumenty/Dovozivuz/Belmora"}, false},
    };
    Form1& f = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Root() / "C" / "Dokumenty");
        for (const auto& dir : c.existing) fs::create_directories(Root() / "C" / dir);
        Boxes().AnswerInput(std::nullopt);  // then Cancel on the name

        f.cmdNovaSkladba_Click();

        std::vector<Box> expected;
        if (c.message) expected.push_back(kSlozkaChybi);
        expected.push_back(kNazevDotaz);
        EXPECT_EQ(TakeBoxes(), expected);
        EXPECT_TRUE(fs::is_directory(SongFolder()));
        EXPECT_TRUE(SongFolderFiles().empty());
        EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
        ExpectNoSongState(f);
    }
}

TEST_F(SongTest, FolderThatCannotBeMadeIsReportedAndNothingIsAsked) {
    std::ofstream(Root() / "C" / "Dokumenty") << "soubor, ne složka";
    Form1& f = Start();

    f.cmdNovaSkladba_Click();

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], kSlozkaChybi);
    EXPECT_EQ(boxes[1].title, "Pracovní adresář nelze vytvořit.");
    EXPECT_EQ(boxes[1].icon(), forms::vbCritical);
    EXPECT_NE(boxes[1].prompt.find("C:\\Dokumenty"), std::string::npos);
    ExpectNoSongState(f);
}

// A new song that cannot be saved into the song folder that is there: the
// box names the file and the cause; the folder message is for a missing folder.
Box NelzeZalozit(const std::string& pricina) {
    return {"Soubor „C:\\Dokumenty\\Dovozivuz\\Belmora\\Polka.xls“ nelze uložit: " + pricina +
                "\r\nNová píseň nebyla založena.\r\nČíslo chyby: 1004.",
            forms::vbCritical, "Novou píseň nelze založit."};
}

TEST_F(SongTest, SaveFailureNamesTheFileAndLeavesTheSongClosed) {
    Form1& f = StartWithFolder();
    // A folder in the file's place: not a file to replace, and no file can be written there.
    fs::create_directories(SongFolder() / "Polka.xls");

    NewSong(f, "Polka");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{kNazevDotaz, NelzeZalozit("je to složka.")}));
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_TRUE(f.cmdNovaSkladba.Enabled.get());
    // The added workbook stays open in the spreadsheet, unsaved.
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 2);
}

// "Nová píseň" on a full disk: the box says so and names the file; nothing
// is left on the disk.
TEST_F(SongTest, NewSongOnAFullDiskSaysSo) {
    fs::create_directories(SongFolder());
    if (!ReadyToFork()) GTEST_SKIP() << "threads running: no fork";
    testsupport::InPrivateMount(SongFolder(), "size=256k", [&] {
        testsupport::FillDisk(SongFolder() / "plno");
        Form1& f = Start();

        NewSong(f, "Polka");

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{kNazevDotaz,
                                                 NelzeZalozit("disk je plný (nebo je vyčerpána kvóta místa na disku).")}));
        EXPECT_EQ(AktualniPisen, "");
        EXPECT_EQ(f.Caption.get(), "Belmora");
        EXPECT_TRUE(f.cmdNovaSkladba.Enabled.get());
        std::vector<std::string> soubory;
        for (const auto& e : fs::directory_iterator(SongFolder())) soubory.push_back(e.path().filename().string());
        EXPECT_EQ(soubory, std::vector<std::string>{"plno"});
    });
}

// Names that would leave the song folder or that no file can have are refused
// with a message before anything is made; any other name is the file name.
TEST_F(SongTest, SongNamesThatCannotBeFileNamesAreRefused) {
    Form1& f = StartWithFolder();
    const std::vector<std::string> bad = {"a/b",  "..\\Pryc", "..",   ".",  "Polka\\",
                                          "a\tb", "řádek\nnový", "\x7f", std::string(244, 'x')};
    for (const std::string& name : bad) {
        SCOPED_TRACE(name);
        NewSong(f, name);
        const auto boxes = TakeBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].title, "Založení nové skladby přerušeno.");
        EXPECT_EQ(boxes[1].icon(), forms::vbExclamation);
        EXPECT_NE(boxes[1].prompt.find("Začněte znovu a zadejte jiný název písně."), std::string::npos);
        EXPECT_EQ(AktualniPisen, "");
        EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    }
    EXPECT_TRUE(SongFolderFiles().empty());
    EXPECT_FALSE(fs::exists(Root() / "C" / "Dokumenty" / "Dovozivuz" / "Pryc.xls"));

    const std::vector<std::string> good = {"Moje polka", "Žluťoučký kůň", "a..b", " ", "a:b", "C:x", std::string(243, 'y')};
    for (const std::string& name : good) {
        SCOPED_TRACE(name);
        NewSong(f, name);
        EXPECT_EQ(TakeBoxes(), std::vector<Box>{kNazevDotaz});
        EXPECT_EQ(AktualniPisen, name + ".xls");
        EXPECT_TRUE(fs::is_regular_file(SongFolder() / (name + ".xls")));
        f.cmdEndEdit_Click();
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

// ---- Opening a song ---------------------------------------------------------------

TEST_F(SongTest, CancelledOpenDialogLeavesEverythingAndShowsTheWindow) {
    Form1& f = StartWithFolder();
    FileDialogWatch dialog;

    f.cmdEdit_Click();

    ASSERT_EQ(dialog.titles.size(), 1u);
    EXPECT_EQ(dialog.titles[0], "Vyberte písničku, kterou chcete zkoušet !");
    EXPECT_EQ(dialog.filters[0], (std::vector<xl::FileFilter>{{"Excel Files", {"*.xls"}}}));
    EXPECT_FALSE(dialog.windowVisible[0]);
    EXPECT_TRUE(f.Visible.get());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    ExpectNoSongState(f);
    EXPECT_FALSE(f.Combo1.Visible.get());
}

// On the main window Return presses the focused button as a click does;
// Escape neither closes the window nor ends the program (it is no dialog);
// the menu's shortcuts work as before.
TEST_F(SongTest, KeysOnTheMainWindow) {
    Form1& f = StartWithFolder();
    FileDialogWatch dialog;  // cancels

    f.cmdEdit.SetFocus();
    QTest::keyClick(f.cmdEdit.Widget(), Qt::Key_Return);
    EXPECT_EQ(dialog.titles, std::vector<std::string>{"Vyberte písničku, kterou chcete zkoušet !"});

    for (QWidget* w : {f.cmdEdit.Widget(), static_cast<QWidget*>(f.Widget())}) QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible && f.Widget()->isVisible());
    EXPECT_TRUE(TakeBoxes().empty());

    f.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.Widget()));
    QTest::keyClick(f.Widget()->windowHandle(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialog.titles.size(), 2u);

    Boxes().AnswerInput("Polka");
    f.cmdNovaSkladba.SetFocus();
    QTest::keyClick(f.cmdNovaSkladba.Widget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kNazevDotaz});
    EXPECT_EQ(AktualniPisen, "Polka.xls");
}

TEST_F(SongTest, LibreOfficeWorkbookOpensOnItsSecondSheetAndSavedRow) {
    Form1& f = StartWithFolder();
    std::ofstream(SongFolder() / "tri_listy.mid") << "x";

    OpenSong(f, CopyOfTriListy());

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(f.Visible.get());
    EXPECT_EQ(AktualniPisen, "tri_listy.xls");
    EXPECT_EQ(f.Caption.get(), "tri_listy.xls");
    EXPECT_EQ(ComboItems(f), (std::vector<std::string>{"Calvira12", "G Dur", "F Dur"}));
    EXPECT_EQ(f.Combo1.Text.get(), "G Dur");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "G Dur");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "tri_listy.xls");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "G Dur");
    // Saved with the cursor on M12: reading resumes in column B of row 12.
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$12");
    EXPECT_EQ(f.ZacatekPasu, 12);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(f.lblTon.Caption.get(), "12");
    EXPECT_FALSE(f.cmdZvuk(0).Visible.get());
    EXPECT_TRUE(f.cmdZvuk(1).Visible.get());
    EXPECT_FALSE(f.cmdZvuk(2).Visible.get());
    EXPECT_FALSE(f.cmdEdit.Enabled.get());
    EXPECT_FALSE(f.cmdNovaSkladba.Enabled.get());
    EXPECT_TRUE(f.cmdEndEdit.Enabled.get());
    EXPECT_TRUE(f.cmdDalsi.Enabled.get());
}

TEST_F(SongTest, DamagedWorkbookIsReportedAndTheProgramGoesOn) {
    Form1& f = StartWithFolder();
    const fs::path bad = SongFolder() / "Poskozena.xls";
    std::ofstream(bad) << "toto není sešit";

    OpenSong(f, bad);

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Písničku nelze otevřít.");
    EXPECT_EQ(boxes[0].icon(), forms::vbExclamation);
    EXPECT_TRUE(f.Visible.get());
    ExpectNoSongState(f);

    // The next opening works as usual.
    OpenSong(f, CopyOfTriListy());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(AktualniPisen, "tri_listy.xls");
}

// A name in the open dialog that is a symbolic link leading round to itself:
// the box says that it cannot be opened and why, not that it is missing.
TEST_F(SongTest, ALinkThatLeadsToItselfIsReportedAsSuch) {
    Form1& f = StartWithFolder();
    fs::create_symlink("x.xls", SongFolder() / "x.xls");

    OpenSong(f, SongFolder() / "x.xls");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Soubor C:\\Dokumenty\\Dovozivuz\\Belmora\\x.xls nelze otevřít: je to "
                                              "symbolický odkaz, který vede sám na sebe (příliš mnoho úrovní "
                                              "symbolických odkazů).",
                                              forms::vbExclamation, "Písničku nelze otevřít."}}));
    EXPECT_TRUE(f.Visible.get());
    ExpectNoSongState(f);
}

TEST_F(SongTest, TheLookupWorkbookIsNotTakenForASong) {
    Form1& f = StartWithFolder();

    OpenSong(f, fs::path(form1_test::ProgramDir()) / "read_only.xls");

    EXPECT_EQ(TakeBoxes(),
              (std::vector<forms::ScriptedMessageBoxes::Box>{
                  {"Soubor read_only.xls obsahuje tabulky programu a nelze ho otevřít jako písničku.\r\n"
                   "Vyberte prosím soubor s písničkou.",
                   forms::vbExclamation, "Písničku nelze otevřít."}}));
    EXPECT_TRUE(f.Visible.get());
    ExpectNoSongState(f);
    // Ending nothing leaves the lookup workbook open for the readers.
    f.cmdEndEdit_Click();
    EXPECT_NO_THROW(ExcelAplikace->Windows(NazevReadOnly).Activate());
}

// A song saved with its cursor far down the sheet, down to its last row:
// the song opens there without a box, and the strip starts at that row with
// nothing drawn below the sheet's end.
TEST_F(SongTest, SavedCursorAnywhereOnTheSheetOpensThereWithoutABox) {
    Form1& f = StartWithFolder();
    for (const int radek : {32768, 40000, xl::kRowsPerSheet}) {
        SCOPED_TRACE(radek);
        const std::string r = std::to_string(radek);
        NewSong(f, "Dlouha" + r);
        ExcelAplikace->Range("A" + r).Value(std::string("hou"));
        ExcelAplikace->Range("B" + r).Value(std::string("c1,"));
        ExcelAplikace->Range("I" + r).Value(std::string("Tlak"));
        ExcelAplikace->Range("B" + r).Select();
        f.cmdEndEdit_Click();
        TakeBoxes();

        OpenSong(f, SongFolder() / ("Dlouha" + r + ".xls"));

        EXPECT_TRUE(TakeBoxes().empty());
        EXPECT_EQ(AktualniPisen, "Dlouha" + r + ".xls");
        EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$" + r);
        EXPECT_EQ(f.ZacatekPasu, radek);
        EXPECT_EQ(f.KrokPasu, 1);
        EXPECT_EQ(f.lblTon.Caption.get(), r);
        EXPECT_EQ(f.lblSlabika2(1).Caption.get(), "hou");
        EXPECT_TRUE(f.imgNota(5).Visible.get());
        for (int i = 2; i <= 16; ++i) EXPECT_EQ(f.lblSlabika2(i).Caption.get(), "") << i;
        EXPECT_TRUE(f.Visible.get());
        f.cmdEndEdit_Click();
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

// ---- Switching sheets ------------------------------------------------------------

TEST_F(SongTest, SwitchOnRow12KeepsRow12AndSaves) {
    Form1& f = StartWithFolder();
    const fs::path file = CopyOfTriListy();
    OpenSong(f, file);
    ASSERT_EQ(ExcelAplikace->ActiveCell().Row(), 12);
    ExcelAplikace->Range("K12").Value(std::string("poznámka"));  // unsaved change on "G Dur"

    f.Combo1.ListIndex = 2;  // the user picks "F Dur"

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "F Dur");
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$12");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "F Dur");
    EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    const xl::internal::Book book = xl::internal::ReadXlsFile(file.string());
    ASSERT_EQ(book.sheets.size(), 3u);
    EXPECT_EQ(book.activeSheet, 2);
    EXPECT_EQ(book.sheets[2].activeCell, (xl::internal::CellRef{12, 2}));
    EXPECT_EQ(book.sheets[1].cells.at({12, 11}).text, "poznámka");
}

TEST_F(SongTest, SwitchToARenamedSheetAsksAgainWithTheCurrentNames) {
    Form1& f = StartWithFolder();
    OpenSong(f, CopyOfTriListy());
    ExcelAplikace->Sheets("F Dur").Name("F Dur nové");  // renamed by the user in the spreadsheet

    f.Combo1.ListIndex = 2;  // "F Dur", as the list still says

    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{"Požadavek na volbu jiného listu nemohl být proveden, neboť původní název listu "
                                "uživatel změnil. Tato změna byla nyní programem akceptována avšak nelze jednoznačně "
                                "určit Váš záměr, neboť list který volíte již neexistuje. Zvolte prosím požadovaný "
                                "list znovu !",
                                forms::vbExclamation, "Opakujte akci !!!"}}));
    EXPECT_EQ(ComboItems(f), (std::vector<std::string>{"Calvira12", "G Dur", "F Dur nové"}));
    EXPECT_EQ(f.Combo1.Text.get(), "G Dur");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "G Dur");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "G Dur");

    // Chosen again from the fresh list, the sheet is switched.
    f.Combo1.ListIndex = 2;
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "F Dur nové");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "F Dur nové");
}

TEST_F(SongTest, SwitchAfterTheSongWindowWasClosedIsReported) {
    Form1& f = StartWithFolder();
    OpenSong(f, CopyOfTriListy());
    ExcelAplikace->ActiveWorkbook().Close(false);

    f.Combo1.ListIndex = 0;

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Nenalezena aktuální skladba.");
    EXPECT_EQ(boxes[0].icon(), forms::vbExclamation);
    EXPECT_EQ(f.lblLadeni.Caption.get(), "G Dur");

    // Ending the song then resets the window as usual.
    f.cmdEndEdit_Click();
    EXPECT_EQ(TakeBoxes().size(), 1u);
    ExpectNoSongState(f);
}

// ---- Ending a song ----------------------------------------------------------------

TEST_F(SongTest, EndingSavesClosesAndResets) {
    Form1& f = StartWithFolder();
    NewSong(f, "Polka");
    TakeBoxes();
    ExcelAplikace->Range("B1").Value(std::string("c1,"));
    f.lblStupnice.Caption = "C Dur";
    f.cmdJakDal.BackColor = 0xFF;
    // The lookup workbook active: the song is activated before it is saved.
    ExcelAplikace->Windows(NazevReadOnly).Activate();

    f.cmdEndEdit_Click();

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(f.lblStupnice.Caption.get(), "");
    ExpectNoSongState(f);
    for (int i = 0; i <= 2; ++i) EXPECT_FALSE(f.cmdZvuk(i).Visible.get());
    const xl::internal::Book book = xl::internal::ReadXlsFile((SongFolder() / "Polka.xls").string());
    EXPECT_EQ(book.sheets[0].cells.at({1, 2}).text, "c1,");
}

TEST_F(SongTest, EndingASongWhoseWindowTheUserClosedWarnsAndResets) {
    Form1& f = StartWithFolder();
    NewSong(f, "Polka");
    TakeBoxes();
    ExcelAplikace->ActiveWorkbook().Close(false);  // closed by the user in the spreadsheet

    f.cmdEndEdit_Click();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Píseň nelze uložit !\r\n"
                                             "Uživatel, nebo jiný program zavřel soubor s aktuální skladbou.\r\n"
                                             "Pro příště prosím nezavírejte soubory Excelu ručně !",
                                             forms::vbExclamation, "Nenalezena aktuální skladba."}}));
    ExpectNoSongState(f);
    // A new song can be made at once.
    NewSong(f, "Druha");
    EXPECT_EQ(AktualniPisen, "Druha.xls");
}

TEST_F(SongTest, EndingWithoutTheSpreadsheetWarnsAndResets) {
    Form1& f = StartWithFolder();
    NewSong(f, "Polka");
    TakeBoxes();
    ExcelAplikace.reset();

    f.cmdEndEdit_Click();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Soubor nelze uložit !\r\n"
                                             "Uživatel, nebo jiný program zavřel Excel.\r\n"
                                             "Tato chyba může způsobit nestabilitu systému !",
                                             forms::vbExclamation, "Nenalezena externí aplikace."}}));
    ExpectNoSongState(f);
}

// ---- Songs on disk ------------------------------------------------------------------

const std::string kPisenNeulozena =
    "Píseň zůstává otevřená a její soubor je beze změny: změny písně zatím nejsou uloženy.";

Box NelzeUlozit(const std::string& pricina) {
    return {pricina + "\r\n" + kPisenNeulozena + "\r\nČíslo chyby: 1004.", forms::vbCritical,
            "Píseň nelze uložit."};
}

std::string OtevrenaJinde(const std::string& soubor) {
    return "Soubor " + soubor +
           " je již otevřen k zápisu v jiném okně programu. Dokud je otevřen tam, nelze ho zde otevřít k zápisu ani "
           "přepsat: změny by se navzájem přepsaly. Zavřete ho nejprve tam.";
}

// ---- The song's window closed by the user --------------------------------------------

// Closing the song's window ends the song as "Konec písničky" does: the
// grip just recorded is in the file, nobody is asked to save it, and the
// main window has no song, so no command is left that fails on a song that
// is gone. Opened again, the song has its grip and every command works.
TEST_F(SongTest, ClosingTheSongsWindowEndsTheSongWithItsGripSaved) {
    Form1& f = StartWithFolder();
    NewSong(f, "Skakal");
    f.cmdStupnice.Caption = "C Dur";
    f.lbl(16).Click();
    f.cmdTlak.PerformClick();
    ASSERT_EQ(vb::CStr(ExcelAplikace->Range("I1").Value()), "Tlak");
    TakeBoxes();

    testsupport::CloseAsTheUser(*ExcelAplikace, "Skakal.xls");

    EXPECT_TRUE(TakeBoxes().empty());
    ExpectNoSongState(f);
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(testsupport::WorkbookWindowOf(*ExcelAplikace, "Skakal.xls"), nullptr);
    EXPECT_EQ(f.lbl(16).Tag, "0");
    EXPECT_FALSE(f.cmdDalsi.Enabled.get());
    EXPECT_FALSE(f.mnuKonecPisne(4).Enabled.get());
    const xl::internal::Book book = xl::internal::ReadXlsFile((SongFolder() / "Skakal.xls").string());
    EXPECT_EQ(book.sheets[0].cells.at({1, 2}).text, "g1,");
    EXPECT_EQ(book.sheets[0].cells.at({1, 9}).text, "Tlak");

    OpenSong(f, SongFolder() / "Skakal.xls");
    EXPECT_EQ(vb::CStr(ExcelAplikace->Range("B1").Value()), "g1,");
    f.cmdPrvni.PerformClick();
    f.cmdDalsi.PerformClick();
    f.cmdEndEdit.PerformClick();
    EXPECT_TRUE(TakeBoxes().empty());
    ExpectNoSongState(f);
}

// A song whose file cannot be written is not lost with its window: the box
// of "Konec písničky" names the cause, and the window and the song stay open
// with the change. Writable again, closing the window ends the song.
TEST_F(SongTest, TheSongsWindowStaysOpenWhenTheSongCannotBeSaved) {
    Form1& f = StartWithFolder();
    const fs::path soubor = SongFolder() / "Skakal.xls";
    NewSong(f, "Skakal");
    TakeBoxes();
    ExcelAplikace->Range("B1").Value(std::string("c1,"));
    const std::string predtim = testsupport::ReadFile(soubor);
    testsupport::WriteProtected ochrana(soubor);
    if (!ochrana.Active()) GTEST_SKIP() << "no write protection here";

    testsupport::CloseAsTheUser(*ExcelAplikace, "Skakal.xls");

    EXPECT_EQ(TakeBoxes(), std::vector<Box>{NelzeUlozit("Soubor „" + std::string(PracovniAdresar) +
                                                        "\\Skakal.xls“ nelze uložit: je chráněný proti zápisu.")});
    EXPECT_EQ(AktualniPisen, "Skakal.xls");
    EXPECT_EQ(f.Caption.get(), "Skakal.xls");
    EXPECT_TRUE(f.cmdEndEdit.Enabled.get());
    auto* okno = testsupport::WorkbookWindowOf(*ExcelAplikace, "Skakal.xls");
    ASSERT_NE(okno, nullptr);
    EXPECT_TRUE(okno->isVisible());
    EXPECT_EQ(vb::CStr(ExcelAplikace->Range("B1").Value()), "c1,");
    EXPECT_EQ(testsupport::ReadFile(soubor), predtim);

    ochrana.Lift();
    testsupport::CloseAsTheUser(*ExcelAplikace, "Skakal.xls");
    EXPECT_TRUE(TakeBoxes().empty());
    ExpectNoSongState(f);
    EXPECT_EQ(xl::internal::ReadXlsFile(soubor.string()).sheets[0].cells.at({1, 2}).text, "c1,");
}

// Other windows do not end the song. The lookup workbook's window does not
// close while the program runs: it is minimised, without a box, and the
// program goes on reading its tables; the program's own end closes it. Any
// other workbook (the one left by a new song that could not be saved)
// closes as its window does on its own.
TEST_F(SongTest, WindowsOtherThanTheSongsLeaveTheSongOpen) {
    Form1& f = StartWithFolder();
    NewSong(f, "Skakal");
    TakeBoxes();

    testsupport::CloseAsTheUser(*ExcelAplikace, NazevReadOnly);

    EXPECT_TRUE(TakeBoxes().empty());
    auto* okno = testsupport::WorkbookWindowOf(*ExcelAplikace, NazevReadOnly);
    ASSERT_NE(okno, nullptr);
    EXPECT_TRUE(okno->isMinimized());
    EXPECT_EQ(AktualniPisen, "Skakal.xls");
    EXPECT_TRUE(vb::LooseEquals(f.NastavLadeni(), true));
    f.cmdStupnice.Caption = "C Dur";
    f.lbl(16).Click();
    f.cmdTlak.PerformClick();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(vb::CStr(ExcelAplikace->Range("B1").Value()), "g1,");

    const std::string jiny = ExcelAplikace->Workbooks().Add().Name();
    ExcelAplikace->Range("A1").Value(std::string("změna"));
    Boxes().Answer(forms::vbNo);
    testsupport::CloseAsTheUser(*ExcelAplikace, jiny);
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Chcete uložit změny provedené v souboru " + jiny + "?",
                                             forms::vbYesNoCancel | forms::vbExclamation, xl::kErrorSource}}));
    EXPECT_EQ(testsupport::WorkbookWindowOf(*ExcelAplikace, jiny), nullptr);
    EXPECT_EQ(AktualniPisen, "Skakal.xls");
    EXPECT_EQ(f.Caption.get(), "Skakal.xls");

    const std::shared_ptr<xl::Application> excel = ExcelAplikace;
    f.Unload();
    EXPECT_EQ(excel->Workbooks().Count(), 0);
}

// "Konec písničky" on a song whose file cannot be written: the box names the
// file and the cause under the classic number, and the song stays open with
// its changes, its file as it was.
TEST_F(SongTest, EndingASongThatCannotBeSavedNamesTheCauseAndKeepsItOpen) {
    Form1& f = StartWithFolder();
    const fs::path soubor = SongFolder() / "Polka.xls";
    for (const bool rezimSouboru : {true, false}) {
        SCOPED_TRACE(rezimSouboru ? "mode 0444" : "protected by the system");
        NewSong(f, "Polka");
        TakeBoxes();
        ExcelAplikace->Range("B1").Value(std::string("c1,"));
        const std::string predtim = testsupport::ReadFile(soubor);
        std::optional<testsupport::WriteProtected> ochrana;
        if (rezimSouboru) {
            ::chmod(soubor.c_str(), 0444);
        } else {
            ochrana.emplace(soubor);
            if (!ochrana->Active()) GTEST_SKIP() << "no write protection here";
        }

        f.cmdEndEdit_Click();

        EXPECT_EQ(TakeBoxes(), std::vector<Box>{NelzeUlozit("Soubor „C:\\Dokumenty\\Dovozivuz\\Belmora\\Polka.xls“ "
                                                            "nelze uložit: je chráněný proti zápisu.")});
        EXPECT_EQ(AktualniPisen, "Polka.xls");
        EXPECT_EQ(f.Caption.get(), "Polka.xls");
        EXPECT_TRUE(f.cmdEndEdit.Enabled.get());
        EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 2);
        EXPECT_EQ(vb::CStr(ExcelAplikace->Range("B1").Value()), "c1,");
        EXPECT_EQ(testsupport::ReadFile(soubor), predtim);

        // Writable again, the song ends as usual with its change saved.
        ochrana.reset();
        ::chmod(soubor.c_str(), 0644);
        f.cmdEndEdit_Click();
        EXPECT_TRUE(TakeBoxes().empty());
        ExpectNoSongState(f);
        EXPECT_EQ(xl::internal::ReadXlsFile(soubor.string()).sheets[0].cells.at({1, 2}).text, "c1,");
        fs::remove(soubor);
    }
}

// A sheet switch saves the song; when it cannot, the box says why.
TEST_F(SongTest, SwitchOnASongThatCannotBeSavedNamesTheCause) {
    Form1& f = StartWithFolder();
    const fs::path file = CopyOfTriListy();
    OpenSong(f, file);
    ::chmod(file.c_str(), 0444);

    f.Combo1.ListIndex = 2;

    EXPECT_EQ(TakeBoxes(),
              std::vector<Box>{NelzeUlozit("Soubor „C:\\Noty\\tri_listy.xls“ nelze uložit: je chráněný proti zápisu.")});
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "F Dur");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "F Dur");
}

// A song open for writing in another window (another engine here) is not
// opened here, and not deleted for a new song of its name; once the other
// window lets it go, it opens.
TEST_F(SongTest, ASongOpenInAnotherWindowIsNeitherOpenedNorReplaced) {
    Form1& f = StartWithFolder();
    const fs::path soubor = SongFolder() / "Polka.xls";
    auto jinde = xl::CreateExcelApplication();
    jinde->Workbooks().Add();
    jinde->Range("B1").Value(std::string("c1,"));
    jinde->ActiveWorkbook().SaveAs({.Filename = std::string(PracovniAdresar) + "\\Polka.xls"});
    const std::string obsah = testsupport::ReadFile(soubor);

    OpenSong(f, soubor);
    const std::string cesta = std::string(PracovniAdresar) + "\\Polka.xls";
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{OtevrenaJinde(cesta), forms::vbExclamation, "Písničku nelze otevřít."}}));
    ExpectNoSongState(f);
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);

    NewSong(f, "Polka");
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{kNazevDotaz,
                                {OtevrenaJinde(cesta), forms::vbExclamation, "Tato skladba již existuje!"},
                                kZalozeniPreruseno}));
    EXPECT_EQ(testsupport::ReadFile(soubor), obsah);
    ExpectNoSongState(f);

    jinde->ActiveWorkbook().Close(false);
    OpenSong(f, soubor);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(AktualniPisen, "Polka.xls");
}

// A folder or a pipe named like a song, chosen in the open dialog: there, but
// no file; the program goes on.
TEST_F(SongTest, AFolderOrAPipeChosenAsASongIsNoFile) {
    Form1& f = StartWithFolder();
    fs::create_directories(SongFolder() / "slozka.xls");
    ASSERT_EQ(::mkfifo((SongFolder() / "roura.xls").c_str(), 0644), 0);
    struct Pripad {
        const char* nazev;
        const char* pricina;
    };
    for (const Pripad& p : {Pripad{"slozka.xls", "je to složka, ne soubor."},
                            Pripad{"roura.xls", "není to soubor, ale roura, zařízení nebo socket."}}) {
        SCOPED_TRACE(p.nazev);
        OpenSong(f, SongFolder() / p.nazev);
        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Soubor " + std::string(PracovniAdresar) + "\\" + p.nazev +
                                                      " nelze otevřít: " + p.pricina,
                                                  forms::vbExclamation, "Písničku nelze otevřít."}}));
        EXPECT_TRUE(f.Visible.get());
        ExpectNoSongState(f);
    }
}

// ---- The LibreOffice sample itself ---------------------------------------------------

using testsupport::HaveSoffice;

// One headless LibreOffice conversion into the Excel 97 format.
void SofficeToXls(const fs::path& dir, const fs::path& source, const fs::path& outdir) {
    ASSERT_TRUE(testsupport::SofficeConvert(dir, "xls", {source.string()}, outdir))
        << "see " << testsupport::SofficeLog(dir);
}

// The checked-in workbook is what LibreOffice makes of its source today.
// LibreOffice running headless has no view, so it writes a flat source's
// active sheet and cursor as the first sheet and A1; it keeps those of an
// .xls it reads, though. So the content comes from the .fods, the cursor is
// put on "G Dur"!M12 by our engine, and LibreOffice writes the final file.
TEST(SongFixture, LibreOfficeWritesTheSampleAsCheckedIn) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    testsupport::TempDir work("belmora-song-lo");
    const fs::path& dir = work.path();
    fs::create_directories(dir / "obsah");
    fs::create_directories(dir / "vysledek");

    SofficeToXls(dir, SourceDir() / "tests/fixtures/songs/tri_listy.fods", dir / "obsah");
    {
        xl::Application app;
        const xl::Workbook book = app.Workbooks().Open((dir / "obsah" / "tri_listy.xls").string());
        app.Sheets("G Dur").Select();
        app.Range("M12").Select();
        book.Save();
        book.Close(false);
    }
    SofficeToXls(dir, dir / "obsah" / "tri_listy.xls", dir / "vysledek");

    const xl::internal::Book fresh = xl::internal::ReadXlsFile((dir / "vysledek" / "tri_listy.xls").string());
    const xl::internal::Book kept = xl::internal::ReadXlsFile(TriListyXls().string());
    EXPECT_EQ(fresh.activeSheet, 1);
    ASSERT_EQ(fresh.sheets.size(), 3u);
    EXPECT_EQ(fresh.sheets[1].activeCell, (xl::internal::CellRef{12, 13}));
    bool same = fresh.activeSheet == kept.activeSheet && fresh.sheets.size() == kept.sheets.size();
    for (std::size_t i = 0; same && i < fresh.sheets.size(); ++i)
        same = fresh.sheets[i].name == kept.sheets[i].name && fresh.sheets[i].activeCell == kept.sheets[i].activeCell &&
               fresh.sheets[i].cells == kept.sheets[i].cells;
    EXPECT_TRUE(same) << "tests/fixtures/songs/tri_listy.xls differs from " << (dir / "vysledek" / "tri_listy.xls");
    if (!same) work.Keep();
}

}  // namespace
