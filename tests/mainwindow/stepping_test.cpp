// Stepping through a song, the row in words and the 16-step strip: the window
// loaded with the real engine, read_only.xls and calvira, a song workbook
// filled cell by cell, and the step commands clicked.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/msgbox/msgbox.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;

constexpr forms::OleColor kNormal = 0x80000008;
constexpr forms::OleColor kRed = 0x000000FF;

const std::string kOmluva = "Omlouváme se za vzniklé nedopatření ke kterému dochází maximálně jednou za ...";

// A prefix and a number as one text, such as a cell address "B" 12.
std::string Cat(const char* prefix, int n) {
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

std::string Col(int c) { return std::string(1, static_cast<char>('A' + c)); }

class SteppingTest : public Form1Fixture {
protected:
    // The loaded window with an open, empty song whose window is active.
    Form1& StartWithSong() {
        Form1& f = Start();
        OpenNewSong("Pisen.xls");
        f.PovolOvladaniPisne();
        return f;
    }

    // One grip: syllable in A, notes from B, bellows in I, basses from M, scale in W.
    static void Row(int r, const std::string& syllable, std::initializer_list<const char*> notes,
                    const std::string& smer = "Tlak", std::initializer_list<const char*> basy = {},
                    const std::string& scale = "") {
        const std::string n = std::to_string(r);
        if (!syllable.empty()) Cell("A" + n, syllable);
        int c = 1;
        for (const char* nota : notes) Cell(Col(c++) + n, nota);
        if (!smer.empty()) Cell("I" + n, smer);
        c = 12;
        for (const char* bas : basy) Cell(Col(c++) + n, bas);
        if (!scale.empty()) Cell("W" + n, scale);
    }

    static void Cell(const std::string& address, const std::string& value) {
        ExcelAplikace->Range(address).Value(vb::Variant(value));
    }
    // A song of `rows` one-note grips "c," with syllables "s1", "s2", ...
    static void Song(int rows) {
        for (int r = 1; r <= rows; ++r) Row(r, Cat("s", r), {"c,"});
    }
    static void Cursor(const std::string& address) { ExcelAplikace->Range(address).Select(); }
    static std::string Address() { return ExcelAplikace->ActiveCell().Address(); }

    static bool BackEnabled(Form1& f) {
        const bool all = f.cmdPredchozi.Enabled && f.cmdPredTlak.Enabled && f.cmdPredTah.Enabled &&
                         f.cmdJakDalZpet.Enabled;
        const bool none = !f.cmdPredchozi.Enabled && !f.cmdPredTlak.Enabled && !f.cmdPredTah.Enabled &&
                          !f.cmdJakDalZpet.Enabled;
        EXPECT_TRUE(all || none) << "the back buttons are switched together";
        return all;
    }

    // The step whose syllable is red and whose heads carry the current-step
    // bitmap; 0 when the marking is not consistent with exactly one step.
    static int MarkedStep(Form1& f) {
        const forms::Picture red = resources::LoadResPicture(123), plain = resources::LoadResPicture(124);
        int marked = 0;
        for (int i = 1; i <= 16; ++i) {
            const bool isRed = f.lblSlabika2(i).ForeColor == kRed;
            if (!isRed && f.lblSlabika2(i).ForeColor != kNormal) return 0;
            for (int k = 0; k <= 4; ++k) {
                const forms::Picture& p = f.imgNota(5 * i + k).Picture;
                if (!(p == (isRed ? red : plain))) return 0;
            }
            if (isRed) {
                if (marked) return 0;
                marked = i;
            }
        }
        return marked;
    }

    static int VisibleStripHeads(Form1& f) {
        int n = 0;
        for (int s = 5; s <= 84; ++s) n += f.imgNota(s).Visible ? 1 : 0;
        return n;
    }
};

// ---- Next ------------------------------------------------------------------------

TEST_F(SteppingTest, NextMovesOneRowDownAndMovesTheStripMarker) {
    Form1& f = StartWithSong();
    Song(20);
    f.cmdPrvni_Click();
    ASSERT_EQ(f.ZacatekPasu, 1);
    ASSERT_EQ(MarkedStep(f), 1);

    f.cmdDalsi.PerformClick();  // through the wired event

    EXPECT_EQ(Address(), "$B$2");
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_EQ(f.lblSlabika(2).Caption(), "s2");
    EXPECT_TRUE(BackEnabled(f));
    EXPECT_EQ(f.KrokPasu, 2);
    EXPECT_EQ(f.ZacatekPasu, 1);
    EXPECT_EQ(MarkedStep(f), 2);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, NextOnTheSheetsLastRowShowsTheApologyAndChangesNothing) {
    Form1& f = StartWithSong();
    Song(3);
    f.cmdPrvni_Click();
    f.cmdDalsi_Click();
    TakeBoxes();
    Cursor("B65536");
    const std::string tonBefore = f.lblTon.Caption();
    const std::string slabikaBefore = f.lblSlabika(2).Caption();

    f.cmdDalsi_Click();

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, kOmluva);
    EXPECT_EQ(boxes[0].flags, forms::vbExclamation + forms::vbOKOnly);
    EXPECT_EQ(boxes[0].prompt,
              "Při komunikaci s aplikací Microsoft Excel došlo k chybě č 1004.\r\n"
              "Program Belmora zřejmě ztratil kontrolu nad operacemi, které jste vykonal v tabulce s písní.\r\n"
              "Pro opravu klikněte prosím znovu do tabulky s písní, posuňte kurzor na jinou buňku a pak to "
              "zkuste znovu !");
    EXPECT_EQ(Address(), "$B$65536");
    EXPECT_EQ(f.lblTon.Caption(), tonBefore);
    EXPECT_EQ(f.lblSlabika(2).Caption(), slabikaBefore);
    EXPECT_EQ(f.KrokPasu, 2);
}

TEST_F(SteppingTest, NextAfterTheLastGripWalksIntoTheEmptyRowFromColumnB) {
    Form1& f = StartWithSong();
    Song(2);
    Cursor("F2");  // the walk starts from column B wherever the cursor was left
    f.cmdDalsi_Click();
    EXPECT_EQ(Address(), "$B$3");
    EXPECT_EQ(f.lblTon.Caption(), "3");
    EXPECT_EQ(f.lblSlabika(1).Caption(), "s2");
    EXPECT_EQ(f.lblSlabika(2).Caption(), "");
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- Step clear ------------------------------------------------------------------

// Every step command first lets go of the grip shown before: treble buttons,
// piano keys, basses and interval marks. Only "first" also clears the tone
// labels beside the keys. Also the commands that end early (previous on row
// 1, last on an empty song) clear first.
TEST_F(SteppingTest, EveryStepClearsTheGripShownBeforeAndOnlyFirstTheToneLabels) {
    struct Case {
        const char* name;
        void (Form1::*command)();
        const char* cursor;
        int rows;
        bool clearsToneLabels;
    };
    const Case cases[] = {
        {"next", &Form1::cmdDalsi_Click, "B2", 5, false},
        {"previous", &Form1::cmdPredchozi_Click, "B3", 5, false},
        {"previous on row 1", &Form1::cmdPredchozi_Click, "B1", 5, false},
        {"first", &Form1::cmdPrvni_Click, "B3", 5, true},
        {"last", &Form1::cmdPosledni_Click, "B2", 5, false},
        {"last on an empty song", &Form1::cmdPosledni_Click, "B2", 0, false},
    };
    Form1& f = StartWithSong();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExcelAplikace->Range("A1:W20").ClearContents();
        Song(c.rows);
        Cursor(c.cursor);
        f.imgDiskant(14).Picture = f.imgKnofCerv(0).Picture;
        f.lbl(14).Tag = "1";
        f.cmdKlavesa(15).BackColor = 255;
        f.ImgBas(5).Tag = "1";
        f.ImgBas(5).Picture = f.imgBaCerv1.Picture;
        f.cmdInterval(2).BackColor = 0x4080;
        f.cmdInterval(2).Enabled = false;
        f.lblTonKlav(14).Caption = "f1,";

        (f.*c.command)();

        EXPECT_EQ(f.imgDiskant(14).Picture.get(), f.imgKnoflikVol(0).Picture.get());
        EXPECT_EQ(f.lbl(14).Tag, "0");
        EXPECT_EQ(f.cmdKlavesa(15).BackColor(), 0x80000008u);
        EXPECT_EQ(f.ImgBas(5).Tag, "0");
        EXPECT_EQ(f.ImgBas(5).Picture.get(), f.imgBaVol.Picture.get());
        EXPECT_EQ(f.cmdInterval(2).BackColor(), 0x8000000Bu);
        EXPECT_TRUE(f.cmdInterval(2).Enabled);
        EXPECT_EQ(f.lblTonKlav(14).Caption(), c.clearsToneLabels ? "" : "f1,");
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

// ---- Previous --------------------------------------------------------------------

TEST_F(SteppingTest, PreviousOnRowOneOnlyDisablesTheBackButtons) {
    Form1& f = StartWithSong();
    Song(5);
    f.cmdPrvni_Click();
    f.PovolKrokZpet();
    f.lblTon.Caption = "marker";
    f.lblTony.Caption = "marker";
    const auto krok = f.KrokPasu;

    f.cmdPredchozi_Click();

    EXPECT_FALSE(BackEnabled(f));
    EXPECT_EQ(Address(), "$B$1");
    EXPECT_EQ(f.lblTon.Caption(), "marker");
    EXPECT_EQ(f.lblTony.Caption(), "marker");
    EXPECT_EQ(f.KrokPasu, krok);
    EXPECT_EQ(MarkedStep(f), 1);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, PreviousDisablesTheBackButtonsOnlyWhenItArrivesOnRowOne) {
    Form1& f = StartWithSong();
    Song(5);
    f.cmdPrvni_Click();
    f.cmdDalsi_Click();
    f.cmdDalsi_Click();
    ASSERT_EQ(MarkedStep(f), 3);

    f.cmdPredchozi_Click();
    EXPECT_EQ(Address(), "$B$2");
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_TRUE(BackEnabled(f));
    EXPECT_EQ(MarkedStep(f), 2);

    f.cmdPredchozi_Click();
    EXPECT_EQ(Address(), "$B$1");
    EXPECT_EQ(f.lblTon.Caption(), "1");
    EXPECT_FALSE(BackEnabled(f));
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(MarkedStep(f), 1);
}

// ---- First -----------------------------------------------------------------------

TEST_F(SteppingTest, FirstSelectsB1AndRebuildsTheStripThere) {
    Form1& f = StartWithSong();
    Song(20);
    Cursor("D9");
    f.lblTonKlav(9).Caption = "c1,";
    f.PovolKrokZpet();

    f.cmdPrvni_Click();

    EXPECT_EQ(f.lblTon.Caption(), "1");
    EXPECT_FALSE(BackEnabled(f));
    EXPECT_EQ(f.lblTonKlav(9).Caption(), "");
    EXPECT_EQ(f.ZacatekPasu, 1);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s1");
    EXPECT_EQ(f.lblSlabika2(16).Caption(), "s16");
    EXPECT_EQ(VisibleStripHeads(f), 16);
    EXPECT_EQ(ExcelAplikace->ActiveCell().Row(), 1);
}

// ---- Last ------------------------------------------------------------------------

TEST_F(SteppingTest, LastOnAnEmptySongStaysOnB1WithNothingElseChanged) {
    Form1& f = StartWithSong();
    Cursor("C4");
    f.PovolKrokZpet();
    f.lblTon.Caption = "marker";

    f.cmdPosledni_Click();

    EXPECT_EQ(Address(), "$B$1");
    EXPECT_EQ(ExcelAplikace->Selection().Address(), "$B$1");
    EXPECT_FALSE(BackEnabled(f));
    EXPECT_EQ(f.lblTon.Caption(), "marker");
    EXPECT_FALSE(f.lblPopisD.Visible);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, LastFindsTheRowAboveTheFirstGapAndSwitchesTheBackButtons) {
    struct Case {
        std::vector<int> filled;
        int expectedRow;
        bool backEnabled;
    };
    const std::vector<Case> cases = {
        {{1}, 1, false},                        // one grip
        {{1, 2, 3, 4, 5}, 5, true},             // a plain song
        {{1, 2, 3, 5, 6, 7}, 3, true},          // the song goes on below a gap
        {{1, 3, 4}, 1, false},                  // the gap right after B1
    };
    Form1& f = StartWithSong();
    for (const Case& c : cases) {
        ExcelAplikace->Range("A1:W600").ClearContents();
        for (int r : c.filled) Row(r, Cat("s", r), {"c,"});
        Cursor("B1");
        f.cmdPosledni_Click();
        EXPECT_EQ(ExcelAplikace->ActiveCell().Row(), c.expectedRow);
        EXPECT_EQ(ExcelAplikace->ActiveCell().Column(), 2);
        EXPECT_EQ(f.lblTon.Caption(), std::to_string(c.expectedRow));
        EXPECT_EQ(f.lblSlabika(2).Caption(), Cat("s", c.expectedRow));
        EXPECT_EQ(BackEnabled(f), c.backEnabled);
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, LastLooksNoFurtherThanRow500) {
    Form1& f = StartWithSong();
    for (int r = 1; r <= 499; ++r) Cell(Cat("B", r), "c,");
    Cell("B501", "c,");
    f.cmdPosledni_Click();
    EXPECT_EQ(f.lblTon.Caption(), "499");
    EXPECT_TRUE(TakeBoxes().empty());

    // With all 500 cells filled the search finds nothing: one unexpected-error
    // message, and the row shown stays.
    Cell("B500", "c,");
    f.cmdPosledni_Click();
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Neočekávaná chyba !");
    EXPECT_EQ(boxes[0].flags, forms::vbCritical);
    EXPECT_EQ(boxes[0].prompt, std::string("Volejte firmu ") + resources::kMakerContact + " a sdělte číslo chyby 91");
    EXPECT_EQ(f.lblTon.Caption(), "499");
}

TEST_F(SteppingTest, AfterLastTheStripWaitsForTheNextStepToRebuild) {
    Form1& f = StartWithSong();
    Song(40);
    f.cmdPrvni_Click();
    f.cmdPosledni_Click();
    EXPECT_EQ(f.lblTon.Caption(), "40");
    EXPECT_EQ(f.ZacatekPasu, 1);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s1");

    f.cmdPredchozi_Click();  // row 39, which the strip does not show at step 0
    EXPECT_EQ(f.ZacatekPasu, 39);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s39");
    EXPECT_EQ(f.lblSlabika2(2).Caption(), "s40");
    EXPECT_EQ(f.lblSlabika2(3).Caption(), "");
    EXPECT_EQ(VisibleStripHeads(f), 2);
    EXPECT_EQ(MarkedStep(f), 1);
}

// ---- Grips of basses only ------------------------------------------------------------

// A grip of basses only has B empty and the bellows word in I; it is a grip,
// and the song ends at the first row whose B and I are both empty.
TEST_F(SteppingTest, LastPassesOverGripsOfBassesOnly) {
    struct Case {
        const char* name;
        std::vector<int> grips;        // a one-note grip "c," pushed
        std::vector<int> bassesOnly;   // B empty, "Tlak" in I, a bass in M
        int expectedRow;
        bool backEnabled;
    };
    const std::vector<Case> cases = {
        {"inside the song", {1, 2, 3, 4, 5, 7}, {6}, 7, true},
        {"last of the song", {1, 2, 3, 4, 5}, {6}, 6, true},
        {"several in a row", {1, 2, 5}, {3, 4}, 5, true},
        {"first of the song", {2, 3}, {1}, 3, true},
        {"the whole song", {}, {1}, 1, false},
        {"a gap after it still ends the song", {1, 2, 5}, {3}, 3, true},
    };
    Form1& f = StartWithSong();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExcelAplikace->Range("A1:W600").ClearContents();
        for (int r : c.grips) Row(r, Cat("s", r), {"c,"});
        for (int r : c.bassesOnly) Row(r, Cat("s", r), {}, "Tlak", {"C dur"});
        Cursor("B1");
        f.lblTon.Caption = "marker";

        f.cmdPosledni_Click();

        EXPECT_EQ(Address(), Cat("$B$", c.expectedRow));
        EXPECT_EQ(f.lblTon.Caption(), std::to_string(c.expectedRow));
        EXPECT_EQ(f.lblSlabika(2).Caption(), Cat("s", c.expectedRow));
        EXPECT_EQ(BackEnabled(f), c.backEnabled);
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, LastOverGripsOfBassesOnlyStillLooksNoFurtherThanRow500) {
    Form1& f = StartWithSong();
    for (int r = 1; r <= 498; ++r) Cell(Cat("B", r), "c,");
    Row(499, "", {}, "Tah");
    Cell("B501", "c,");
    f.cmdPosledni_Click();
    EXPECT_EQ(f.lblTon.Caption(), "499");
    EXPECT_TRUE(TakeBoxes().empty());

    // Row 500 a grip as well: no end within the 500 rows, the same one
    // unexpected-error message as for 500 notes in B.
    Row(500, "", {}, "Tlak");
    f.cmdPosledni_Click();
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Neočekávaná chyba !");
    EXPECT_EQ(boxes[0].prompt, std::string("Volejte firmu ") + resources::kMakerContact + " a sdělte číslo chyby 91");
    EXPECT_EQ(f.lblTon.Caption(), "499");
}

// Grip 5, a grip of basses only on row 6, grip 7: "last" lands on 7, the
// steps go through 6 with the row in words and the strip showing it, and on
// past the song's end.
TEST_F(SteppingTest, StepsGoThroughAGripOfBassesOnlyToTheSongsEnd) {
    Form1& f = StartWithSong();
    Song(5);
    Row(6, "s6", {}, "Tlak", {"C7", "F terc."});
    Row(7, "s7", {"e1,"}, "Tah");
    f.cmdPrvni_Click();

    f.cmdPosledni_Click();
    EXPECT_EQ(Address(), "$B$7");
    EXPECT_EQ(f.lblTon.Caption(), "7");

    f.cmdPredchozi_Click();  // onto row 6, which the strip does not show: rebuilt there
    EXPECT_EQ(f.lblTon.Caption(), "6");
    EXPECT_EQ(f.lblTony.Caption(), "       Tlak ");
    EXPECT_EQ(f.lblBasy.Caption(), "C7 F terc." + std::string(7, ' '));
    EXPECT_EQ(f.lblSlabika(2).Caption(), "s6");
    EXPECT_EQ(f.ZacatekPasu, 6);
    EXPECT_EQ(MarkedStep(f), 1);
    for (int s = 5; s <= 9; ++s) EXPECT_FALSE(f.imgNota(s).Visible) << "step 1 is an empty frame";
    EXPECT_TRUE(f.imgNota(10).Visible) << "step 2, the grip after it, is drawn";
    EXPECT_EQ(VisibleStripHeads(f), 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s6");
    EXPECT_EQ(f.lblSlabika2(2).Caption(), "s7");

    f.cmdDalsi_Click();
    EXPECT_EQ(f.lblTon.Caption(), "7");
    EXPECT_EQ(MarkedStep(f), 2);
    f.cmdDalsi_Click();
    EXPECT_EQ(f.lblTon.Caption(), "8");
    EXPECT_EQ(MarkedStep(f), 3);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SteppingTest, AutomaticSteppingGoesThroughAGripOfBassesOnly) {
    Form1& f = StartWithSong();
    Row(1, "a", {"c1,"}, "Tah");
    Row(2, "b", {}, "Tlak", {"C zákl."});
    Row(3, "c", {"d1,"}, "Tah");
    f.cmdPrvni_Click();
    f.Timer1.Enabled = true;

    f.cmdJakDal_Click();
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_TRUE(f.Timer1.Enabled);
    EXPECT_EQ(f.cmdJakDal.BackColor(), 0x00C000C0u);
    EXPECT_EQ(f.ImgBas(30).Picture.get(), f.imgBaTlakC.Picture.get()) << "the bass is read";
    EXPECT_TRUE(TakeBoxes().empty());

    f.cmdJakDal_Click();
    EXPECT_EQ(f.lblTon.Caption(), "3");
    EXPECT_TRUE(f.Timer1.Enabled);
    EXPECT_TRUE(TakeBoxes().empty());

    f.cmdJakDal_Click();
    EXPECT_EQ(f.lblTon.Caption(), "4");
    EXPECT_FALSE(f.Timer1.Enabled);
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Záznam neuveden.");
}

// ---- The strip follows the steps ---------------------------------------------------

TEST_F(SteppingTest, StepSeventeenAndStepZeroRebuildTheStripAtTheCursor) {
    Form1& f = StartWithSong();
    Song(40);
    f.cmdPrvni_Click();
    for (int n = 2; n <= 16; ++n) f.cmdDalsi_Click();
    ASSERT_EQ(f.KrokPasu, 16);
    ASSERT_EQ(f.ZacatekPasu, 1);
    ASSERT_EQ(MarkedStep(f), 16);

    f.cmdDalsi_Click();  // step 17: rebuilt with row 17 as step 1
    EXPECT_EQ(f.ZacatekPasu, 17);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(MarkedStep(f), 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s17");
    EXPECT_EQ(f.lblSlabika2(16).Caption(), "s32");
    EXPECT_EQ(VisibleStripHeads(f), 16);

    f.cmdPredchozi_Click();  // step 0: rebuilt with row 16 as step 1
    EXPECT_EQ(f.ZacatekPasu, 16);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(MarkedStep(f), 1);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "s16");
    EXPECT_EQ(f.lblSlabika2(16).Caption(), "s31");
}

// ---- Row in words --------------------------------------------------------------------

TEST_F(SteppingTest, RowDisplayJoinsItsCellsWithSingleBlanksAndShowsTheNeighbours) {
    Form1& f = StartWithSong();
    for (int r = 1; r <= 6; ++r) Cell(Cat("A", r), Cat("la", r));
    Row(3, "la3", {"c,", "e,", "g,"}, "Tlak", {"C zákl.", "C dur"}, "G Dur");
    Cell("J3", "x");
    Cell("U3", "u");

    Cursor("B3");
    f.ZobrazRadek();
    EXPECT_EQ(f.lblTony.Caption(), "c, e, g,     Tlak x");
    EXPECT_EQ(f.lblBasy.Caption(), "C zákl. C dur       u");
    EXPECT_EQ(f.lblStupnice.Caption(), "G Dur");
    EXPECT_TRUE(f.lblPopisD.Visible);
    EXPECT_TRUE(f.lblPopisB.Visible);
    const char* around3[] = {"la1", "la2", "la3", "la4", "la5"};
    for (int j = 0; j <= 4; ++j) EXPECT_EQ(f.lblSlabika(j).Caption(), around3[j]) << j;

    // An empty row still keeps its eight and eight blanks.
    Cursor("B6");
    f.ZobrazRadek();
    EXPECT_EQ(f.lblTony.Caption(), std::string(8, ' '));
    EXPECT_EQ(f.lblBasy.Caption(), std::string(8, ' '));
    EXPECT_EQ(f.lblStupnice.Caption(), "");

    struct Case {
        int row;
        std::vector<std::string> syllables;
    };
    const std::vector<Case> top = {
        {1, {"", "", "la1", "la2", "la3"}},
        {2, {"", "la1", "la2", "la3", "la4"}},
    };
    for (const Case& c : top) {
        Cursor(Cat("B", c.row));
        f.ZobrazRadek();
        for (int j = 0; j <= 4; ++j) EXPECT_EQ(f.lblSlabika(j).Caption(), c.syllables[j]) << c.row << "/" << j;
    }

    f.SmazPopisRadku();
    for (int j = 0; j <= 4; ++j) EXPECT_EQ(f.lblSlabika(j).Caption(), "");
    EXPECT_FALSE(f.lblPopisD.Visible);
    EXPECT_FALSE(f.lblPopisB.Visible);
    EXPECT_EQ(f.lblTony.Caption(), "");
    EXPECT_EQ(f.lblBasy.Caption(), "");
    f.lblStupnice.Caption = "C Dur";
    f.SmazPopisRadku();
    EXPECT_EQ(f.lblStupnice.Caption(), "C Dur");
}

// ---- The strip's drawing ------------------------------------------------------------

TEST_F(SteppingTest, StripPlacesHeadsAndSignsInsideEachStepsFrame) {
    Form1& f = StartWithSong();
    Row(1, "a", {"c,", "fis1,"});
    Row(2, "b", {"b,", "fis,", "es1,"});
    Row(3, "", {});  // an empty frame; the strip goes on
    Row(4, "d", {"e4,"});
    Cursor("B1");

    f.ObnovNotovyPas();

    EXPECT_EQ(f.ZacatekPasu, 1);
    // Step 1: "c," at offset 0, "fis1," a sharp at 600.
    EXPECT_TRUE(f.imgNota(5).Visible);
    EXPECT_EQ(f.imgNota(5).Left, 120.0f);
    EXPECT_EQ(f.imgNota(5).Top, 1943.0f);
    EXPECT_TRUE(f.imgNota(6).Visible);
    EXPECT_EQ(f.imgNota(6).Top, 1943.0f - 600);
    EXPECT_TRUE(f.imgKrizek(5).Visible);
    EXPECT_EQ(f.imgKrizek(5).Left, 20.0f);
    EXPECT_EQ(f.imgKrizek(5).Top, 1843.0f - 600);
    EXPECT_FALSE(f.imgBecko(5).Visible);
    EXPECT_FALSE(f.imgNota(7).Visible);
    // Step 2: flat, sharp, flat take accidental numbers 0, 1, 2 in their own arrays.
    EXPECT_TRUE(f.imgBecko(10).Visible);
    EXPECT_EQ(f.imgBecko(10).Top, 1803.0f - 360);
    EXPECT_TRUE(f.imgKrizek(11).Visible);
    EXPECT_EQ(f.imgKrizek(11).Top, 1843.0f - 180);
    EXPECT_FALSE(f.imgBecko(11).Visible);
    EXPECT_TRUE(f.imgBecko(12).Visible);
    EXPECT_EQ(f.imgBecko(12).Top, 1803.0f - 540);
    EXPECT_FALSE(f.imgKrizek(10).Visible);
    EXPECT_FALSE(f.imgKrizek(12).Visible);
    EXPECT_EQ(f.imgNota(12).Top, 1943.0f - 540);
    // Step 3 empty, step 4 drawn.
    for (int s = 15; s <= 19; ++s) EXPECT_FALSE(f.imgNota(s).Visible) << s;
    EXPECT_TRUE(f.imgNota(20).Visible);
    EXPECT_EQ(f.imgNota(20).Top, 1943.0f - 1800);
    EXPECT_EQ(VisibleStripHeads(f), 2 + 3 + 1);
    EXPECT_EQ(f.lblSlabika2(2).Caption(), "b");
    EXPECT_EQ(f.lblSlabika2(3).Caption(), "");
    EXPECT_EQ(MarkedStep(f), 1);
    EXPECT_TRUE(TakeBoxes().empty());
    // The cursor stays on the strip's first row.
    EXPECT_EQ(ExcelAplikace->ActiveCell().Row(), 1);
}

TEST_F(SteppingTest, StripEndsAtABellowsWordAnUnconvertedNoteOrASixthNote) {
    struct Case {
        std::vector<const char*> step2;
        int headsOfStep2;
        const char* boxTitle;  // nullptr: no message
    };
    const std::vector<Case> cases = {
        {{"c,", "Tah"}, 1, nullptr},
        {{"Nepřekonvertováno!"}, 0, nullptr},
        {{"c,", "d,", "e,", "f,", "g,", "a,"}, 5, "Mnohoprstost !"},
    };
    Form1& f = StartWithSong();
    for (const Case& c : cases) {
        ExcelAplikace->Range("A1:W40").ClearContents();
        for (int r = 1; r <= 5; ++r) Row(r, Cat("s", r), {"h,"}, "");
        for (std::size_t k = 0; k < c.step2.size(); ++k) Cell(Col(1 + int(k)) + "2", c.step2[k]);
        Cursor("B1");

        f.ObnovNotovyPas();

        int heads = 0;
        for (int s = 10; s <= 14; ++s) heads += f.imgNota(s).Visible ? 1 : 0;
        EXPECT_EQ(heads, c.headsOfStep2) << c.step2[0];
        EXPECT_EQ(VisibleStripHeads(f), 1 + c.headsOfStep2) << "nothing after step 2";
        EXPECT_EQ(f.lblSlabika2(5).Caption(), "s5") << "later steps keep their syllables";
        const auto boxes = TakeBoxes();
        if (c.boxTitle) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].title, c.boxTitle);
            EXPECT_EQ(boxes[0].flags, forms::vbCritical);
            EXPECT_EQ(boxes[0].prompt,
                      "Maximální počet současně stisknutých knoflíků pravou rukou je pět.\r"
                      "Je to podle počtu prstů na pravé ruce.\r"
                      "Jestliže jste víceprstý mutant, kontaktujte prosím autora a bude\r"
                      "pro Vás zdarma vyrobena specielní verze Belmorky.");
        } else {
            EXPECT_TRUE(boxes.empty());
        }
    }
}

TEST_F(SteppingTest, StripOnAnEmptyRowShowsSyllablesOnly) {
    Form1& f = StartWithSong();
    Song(3);
    for (int r = 4; r <= 20; ++r) Cell(Cat("A", r), Cat("t", r));
    Cell("B6", "c,");  // below the empty first row: not drawn, the strip has no first note
    Cursor("B4");

    f.ObnovNotovyPas();

    EXPECT_EQ(f.ZacatekPasu, 4);
    EXPECT_EQ(VisibleStripHeads(f), 0);
    EXPECT_EQ(f.lblSlabika2(1).Caption(), "t4");
    EXPECT_EQ(f.lblSlabika2(16).Caption(), "t19");
    EXPECT_TRUE(TakeBoxes().empty());

    f.SkryjNoty();
    f.SmazSlabiky();
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(f.lblSlabika2(i).Caption(), "");
}

// A strip that starts on a grip of basses only shows it as an empty frame and
// draws the grips after it; past the song's end it draws nothing.
TEST_F(SteppingTest, StripStartingOnAGripOfBassesOnlyDrawsTheGripsAfterIt) {
    struct Case {
        const char* smer;  // column I of the strip's first row, B empty
        int heads;
    };
    Form1& f = StartWithSong();
    for (const Case& c : {Case{"Tlak", 2}, Case{"Tah", 2}, Case{"", 0}, Case{"tah", 0}}) {
        SCOPED_TRACE(c.smer);
        ExcelAplikace->Range("A1:W40").ClearContents();
        Row(1, "s1", {}, c.smer, {"C zákl."});
        Row(2, "s2", {"c1,"});
        Row(3, "s3", {"e1,"});
        Cursor("B1");

        f.ObnovNotovyPas();

        EXPECT_EQ(VisibleStripHeads(f), c.heads);
        EXPECT_EQ(f.imgNota(10).Visible, c.heads > 0) << "step 2";
        EXPECT_EQ(f.lblSlabika2(3).Caption(), "s3");
        EXPECT_EQ(MarkedStep(f), 1);
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

TEST_F(SteppingTest, MarkingOnlyMovesTheColoursAndKeepsTheHeads) {
    Form1& f = StartWithSong();
    Song(20);
    Cursor("B1");
    f.ObnovNotovyPas();
    const float top = f.imgNota(15).Top;

    Cursor("B3");
    f.KrokPasu = 3;
    f.OznacAktualniKrok();
    EXPECT_EQ(MarkedStep(f), 3);
    EXPECT_EQ(f.ZacatekPasu, 1);
    EXPECT_EQ(f.imgNota(15).Top, top);
    EXPECT_EQ(VisibleStripHeads(f), 16);

    // The counter and the cursor disagree: rebuilt at the cursor.
    Cursor("B7");
    f.OznacAktualniKrok();
    EXPECT_EQ(f.ZacatekPasu, 7);
    EXPECT_EQ(f.KrokPasu, 1);
    EXPECT_EQ(MarkedStep(f), 1);
}

TEST_F(SteppingTest, StripOnAClosedSongWindowSaysSoOnce) {
    Form1& f = StartWithSong();
    Song(5);
    Cursor("B1");
    const std::string song = AktualniPisen;
    AktualniPisen = "Zmizela.xls";

    EXPECT_FALSE(f.ZobrazNotyKroku(1));

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Nenalezena externí aplikace.");
    EXPECT_EQ(boxes[0].flags, forms::vbExclamation);
    EXPECT_EQ(boxes[0].prompt,
              "Soubor nelze aktivovat !\r\nUživatel, nebo jiný program zavřel Excel.\r\n"
              "Tato chyba může způsobit nestabilitu systému !");
    AktualniPisen = song;
}

// ---- The side written in the row ------------------------------------------------

TEST_F(SteppingTest, RowWithoutASideStopsTheTimerAndSaysSo) {
    Form1& f = StartWithSong();
    for (const char* smer : {"", "tlak", "TAH", "Tlak "}) {
        ExcelAplikace->Range("I1").ClearContents();
        if (*smer) Cell("I1", smer);
        Cell("B1", "c,");
        Cursor("B1");
        f.Timer1.Enabled = true;
        f.cmdJakDal.BackColor = 0x00C000C0;
        f.cmdJakDalZpet.BackColor = 0x00C000C0;

        f.ZobrazSmerMechu();

        EXPECT_FALSE(f.Timer1.Enabled) << smer;
        EXPECT_EQ(f.cmdJakDal.BackColor(), 0x8000000Bu);
        EXPECT_EQ(f.cmdJakDalZpet.BackColor(), 0x8000000Bu);
        EXPECT_FALSE(f.imgNota(0).Visible) << "nothing is read";
        const auto boxes = TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].prompt, "Záznam neuveden.");
        EXPECT_EQ(boxes[0].title, "Neprovedeno.");
        EXPECT_EQ(boxes[0].flags, forms::vbCritical + forms::vbOKOnly);
    }
}

TEST_F(SteppingTest, RowSideIsReadAndColoursBothButtons) {
    struct Case {
        const char* smer;
        forms::OleColor colour;
    };
    Form1& f = StartWithSong();
    for (const Case& c : {Case{"Tlak", 0x00C000C0}, Case{"Tah", 0x00FF8080}}) {
        ExcelAplikace->Range("A1:W5").ClearContents();
        Row(1, "la", {"c1,", "e1,"}, c.smer);
        Cursor("B1");
        f.UvolniDiskant();
        f.Timer1.Enabled = true;

        f.ZobrazSmerMechu();

        EXPECT_TRUE(f.Timer1.Enabled) << c.smer;
        EXPECT_TRUE(f.imgNota(0).Visible) << c.smer;
        EXPECT_TRUE(f.imgNota(1).Visible) << c.smer;
        EXPECT_EQ(f.cmdJakDal.BackColor(), c.colour) << c.smer;
        EXPECT_EQ(f.cmdJakDalZpet.BackColor(), c.colour) << c.smer;
        EXPECT_EQ(Address(), "$B$1");
        EXPECT_TRUE(TakeBoxes().empty()) << c.smer;
    }
}

TEST_F(SteppingTest, AutomaticSteppingStopsOneRowAfterTheLastGrip) {
    Form1& f = StartWithSong();
    Row(1, "a", {"c1,"}, "Tlak");
    Row(2, "b", {"d1,"}, "Tah");
    f.cmdPrvni_Click();
    f.Timer1.Enabled = true;

    f.cmdJakDal_Click();
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_TRUE(f.Timer1.Enabled);
    EXPECT_EQ(f.cmdJakDal.BackColor(), 0x00FF8080u);
    EXPECT_TRUE(TakeBoxes().empty());

    f.cmdJakDal_Click();
    EXPECT_EQ(f.lblTon.Caption(), "3");
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_FALSE(f.imgNota(0).Visible);
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Záznam neuveden.");

    f.cmdJakDalZpet_Click();  // back onto the pull grip
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_EQ(f.cmdJakDalZpet.BackColor(), 0x00FF8080u);
    EXPECT_TRUE(f.imgNota(0).Visible);
}

TEST_F(SteppingTest, CombinedCommandsReadTheNewRowOnTheirOwnSide) {
    Form1& f = StartWithSong();
    Row(1, "a", {"c1,"}, "Tah");
    Row(2, "b", {"d1,"}, "Tah");
    Cursor("B1");

    f.cmdDalsiTlak_Click();  // read as push whatever the row says
    EXPECT_EQ(f.lblTon.Caption(), "2");
    EXPECT_TRUE(f.imgNota(0).Visible);

    // On row 1, previous only disables the back buttons; the reading still runs.
    f.cmdPrvni_Click();
    EXPECT_FALSE(f.imgNota(0).Visible);
    f.cmdPredTah_Click();
    EXPECT_EQ(Address(), "$B$1");
    EXPECT_TRUE(f.imgNota(0).Visible);
    EXPECT_TRUE(TakeBoxes().empty());
}

}  // namespace
