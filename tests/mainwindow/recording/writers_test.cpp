// The grip writers: the pressed buttons or the staff's heads into the active
// song row (treble names from B, bellows in I, basses from M, fingering in V,
// scale in W), the cursor on to the next row and that row shown.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "store/module1.h"
#include "tests/mainwindow/recording/recording_fixture.h"

namespace {

using namespace recording_test;

const Box kSedmPrstu{std::string("Páč asi nemáte více než sedm prstů na pravé ruce, program se Vám na zápis dalších "
                                 "knoflíků se vší úctou u tohoto hmatu vykašle. Sťěžovat si můžete u ") +
                         resources::kMakerContact,
                     forms::vbCritical, "Diagnóza mnohoprstost."};
const Box kSedmBasu{std::string("Spočítejte si prosím prsty na levé ruce a pokud jich máte více než sedm, volejte "
                                "odbornou pomoc: ") +
                        resources::kMakerContact,
                    forms::vbCritical, "Sdělení pro mutanty."};
const Box kNeplatna{"Nota není platná pro Belmoru. Nebude zapsána a procedura bude předčasně ukončena. Upozorněte "
                    "prosím na tuto chybu autora programu.",
                    forms::vbCritical, "Chyba programu"};

using Radek = std::vector<std::string>;
Radek Prazdny(std::size_t n) { return Radek(n, ""); }
Radek Doplneny(Radek r, std::size_t n) {
    r.resize(n);
    return r;
}

class WritersTest : public RecordingFixture {
protected:
    // The cells of the lookup sheet changed for one test (in memory only).
    static void VTabulce(const std::string& adresa, const vb::Variant& hodnota) {
        ExcelAplikace->Windows(NazevReadOnly).Activate();
        ExcelAplikace->Sheets("Calvira12").Select();
        ExcelAplikace->Range(adresa).Value(hodnota);
        ExcelAplikace->Windows(AktualniPisen).Activate();
    }
    static void Klikni(Form1& f, std::initializer_list<int> knofliky) {
        for (int n : knofliky) f.lbl(n).Click();
    }
    static void Basy(Form1& f, std::initializer_list<int> basy) {
        for (int b : basy) f.ImgBas(b).Click();
    }
};

// Buttons pressed 19, 5, 12 in "Es Dur": written in button order, spelled for
// the scale; the bellows word, the scale; the cursor on the next row, the
// step counted, the buttons still pressed (the next row is empty).
TEST_F(WritersTest, PressedButtonsAreWrittenInButtonOrderSpelledForTheScale) {
    Form1& f = StartRecording();
    Stupnice(f, "Es Dur");
    const auto krok = f.KrokPasu;
    Klikni(f, {19, 5, 12});
    f.cmdTlak.Click();

    EXPECT_EQ(Bunky(1, 'B', 'I'), (Radek{"as,", "es1,", "b1,", "", "", "", "", "Tlak"}));
    EXPECT_EQ(Bunka("W1"), "Es Dur");
    EXPECT_EQ(Kurzor(), "$B$2");
    EXPECT_EQ(f.lblTon.Caption.get(), "2");
    EXPECT_EQ(f.KrokPasu, krok + 1);
    EXPECT_TRUE(f.cmdPredchozi.Enabled);
    EXPECT_EQ(Stisknute(f), (std::vector<int>{5, 12, 19}));
    EXPECT_EQ(f.SmerMechu, -1);
    EXPECT_TRUE(TakeBoxes().empty());

    // Without a scale: the plain spellings and an empty W; "< Tah" writes Tah.
    Stupnice(f, "Vyberte stupnici");
    f.cmdTah.Click();
    EXPECT_EQ(Bunky(2, 'B', 'I'), (Radek{"gis,", "dis1,", "ais1,", "", "", "", "", "Tah"}));
    EXPECT_EQ(Bunka("W2"), "");
    EXPECT_EQ(f.SmerMechu, 0);
}

// Nine buttons: one message, and the seven lowest are written.
TEST_F(WritersTest, AnEighthTrebleButtonIsLeftOutWithAMessage) {
    Form1& f = StartRecording();
    Klikni(f, {40, 30, 9, 2, 4, 22, 25, 11, 16});
    TakeBoxes();
    f.cmdTlak.Click();
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kSedmPrstu});
    EXPECT_EQ(Bunky(1, 'B', 'I'), (Radek{"f,", "g,", "c1,", "d1,", "g1,", "cis2,", "e2,", "Tlak"}));

    // Reading a row of seven shows five heads and says so.
    ExcelAplikace->Range("B1").Select();
    f.cmdReadTlak_Click();
    const auto boxy = TakeBoxes();
    ASSERT_EQ(boxy.size(), 1u);
    EXPECT_EQ(boxy[0].title, "Mnohoprstost !");
    for (int i = 0; i <= 4; ++i) EXPECT_TRUE(f.imgNota(i).Visible) << i;
    EXPECT_EQ(f.lblTonKlav(22).Caption.get(), "cis2,") << "the sixth note is named on its key";
}

// Basses 3 and 50: the chord buttons (41-120) come first. Push writes the
// names of column F, pull those of G, from either pair of writers.
TEST_F(WritersTest, BassesComeChordsFirstNamedForTheBellows) {
    Form1& f = StartRecording();
    VTabulce("G4", vb::Variant("Es terc. tah"));
    VTabulce("G51", vb::Variant("C dur tah"));
    Basy(f, {3, 50});
    struct Zapis {
        std::function<void()> klik;
        Radek basy;
        std::string smer;
    };
    const Zapis zapisy[] = {
        {[&] { f.cmdTlak.Click(); }, {"C dur", "Es terc."}, "Tlak"},
        {[&] { f.cmdTah.Click(); }, {"C dur tah", "Es terc. tah"}, "Tah"},
        {[&] { f.cmdTlakNoty.Click(); }, {"C dur", "Es terc."}, "Tlak"},
        {[&] { f.cmdTahNoty.Click(); }, {"C dur tah", "Es terc. tah"}, "Tah"},
    };
    int radek = 1;
    for (const Zapis& z : zapisy) {
        SCOPED_TRACE(radek);
        z.klik();
        // A grip of basses only: B empty, the bellows word set.
        EXPECT_EQ(Bunky(radek, 'B', 'I'), Doplneny({"", "", "", "", "", "", "", z.smer}, 8));
        EXPECT_EQ(Bunky(radek, 'M', 'T'), Doplneny(z.basy, 8));
        EXPECT_EQ(Kurzor(), "$B$" + std::to_string(radek + 1));
        ++radek;
    }
    EXPECT_EQ(StisknuteBasy(f), (std::vector<int>{3, 50}));
    EXPECT_TRUE(TakeBoxes().empty());
}

// Eight basses: one message, the first seven in scanning order.
TEST_F(WritersTest, AnEighthBassIsLeftOutWithAMessage) {
    Form1& f = StartRecording();
    Basy(f, {1, 2, 41, 60, 61, 100, 120, 5});
    f.cmdTlak.Click();
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kSedmBasu});
    EXPECT_EQ(Bunky(1, 'M', 'T'),
              (Radek{"Heses dur", "Ais dur", "heses moll", "Ais7", "ais dim", "Des terc.", "As terc.", ""}));
    EXPECT_EQ(Bunka("I1"), "Tlak");
}

// "> Tlak" with nothing pressed clears the row's notes and basses and sets
// the scale; the cursor stays, the fingering waits.
TEST_F(WritersTest, NothingPressedClearsTheRowAndStays) {
    Form1& f = StartRecording();
    Stupnice(f, "G Dur");
    for (const char* a : {"B1", "C1", "H1", "I1", "M1", "T1", "V1"}) Zapis(a, "x");
    f.Prstoklad = "l9;1\\";
    f.cmdTlak.Click();
    EXPECT_EQ(Bunky(1, 'B', 'I'), Prazdny(8));
    EXPECT_EQ(Bunky(1, 'M', 'T'), Prazdny(8));
    EXPECT_EQ(Bunka("V1"), "x");
    EXPECT_EQ(Bunka("W1"), "G Dur");
    EXPECT_EQ(Kurzor(), "$B$1");
    EXPECT_EQ(f.Prstoklad, "l9;1\\");
}

// The staff's heads a1, c1, e1 in slots 0-2 are written sorted; the staff
// writer leaves the strip's step and the fingering alone, which the next
// keyboard grip then writes; a grip without fingering empties V.
TEST_F(WritersTest, StaffNotesAreSortedAndTheFingeringWaitsForTheKeyboardWriter) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    f.picNota(0).Move(2250, 9260);
    f.picNota(1).Move(2250, 9560);
    f.picNota(2).Move(2250, 9440);
    f.Prstoklad = "l13;2\\";
    Zapis("V1", "stare");
    const auto krok = f.KrokPasu;
    f.cmdTahNoty.Click();
    EXPECT_EQ(Bunky(1, 'B', 'I'), (Radek{"c1,", "e1,", "a1,", "", "", "", "", "Tah"}));
    EXPECT_EQ(Bunka("V1"), "stare");
    EXPECT_EQ(f.KrokPasu, krok);
    EXPECT_EQ(f.Prstoklad, "l13;2\\");
    EXPECT_EQ(Kurzor(), "$B$2");

    f.cmdUvolNoty_Click();
    f.lbl(13).Click();
    f.cmdTlak.Click();
    EXPECT_EQ(Bunka("V2"), "l13;2\\");
    EXPECT_EQ(f.Prstoklad, "");
    Zapis("V3", "stare");
    f.cmdTlak.Click();
    EXPECT_EQ(Bunka("V3"), "");
}

// A staff note below the instrument's lowest tone has no tone number: the
// re-sort drops it and no cell keeps its name.
TEST_F(WritersTest, AStaffNoteWithoutAToneNumberIsDropped) {
    Form1& f = StartRecording();
    f.picNota(0).Move(2250, 9440);  // e1,
    f.picNota(1).Move(2250, 9980);  // c,
    f.picNota(3).Move(2250, 9920);  // d,
    f.cmdTlakNoty.Click();
    EXPECT_EQ(Bunky(1, 'B', 'I'), (Radek{"e1,", "", "", "", "", "", "", "Tlak"}));
}

// A head left at 10040 names no note: the message, the names before it
// stay, nothing further is written and the cursor stays.
TEST_F(WritersTest, AStaffHeadThatNamesNoNoteEndsTheWriter) {
    Form1& f = StartRecording();
    f.picNota(0).Move(2250, 9440);
    f.picNota(2).Move(2250, 10040);
    f.ImgBas(50).Click();
    f.cmdTlakNoty.Click();
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kNeplatna});
    EXPECT_EQ(Bunky(1, 'B', 'I'), (Radek{"e1,", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Bunka("M1"), "");
    EXPECT_EQ(Kurzor(), "$B$1");
}

// The next row holds a grip: it is read on its side, the buttons just
// written are let go, "?" takes the colour of the side; an empty next row
// leaves the grip pressed for the next one.
TEST_F(WritersTest, TheNextRowIsReadWhenItHoldsAGrip) {
    Form1& f = StartRecording();
    Zapis("B2", "g1,");
    Zapis("I2", "Tah");
    Zapis("B3", "a1,");
    Zapis("I3", "Tlak");
    f.lbl(9).Click();
    f.cmdTlak.Click();
    EXPECT_EQ(Kurzor(), "$B$2");
    EXPECT_TRUE(Stisknute(f).empty());
    EXPECT_EQ(f.cmdKlavesa(16).BackColor, 0xC00000u);
    EXPECT_EQ(f.cmdJakDal.BackColor, 0xFF8080u);
    EXPECT_EQ(f.cmdJakDalZpet.BackColor, 0xFF8080u);
    EXPECT_EQ(f.lblTonKlav(16).Caption.get(), "g1,");

    f.lbl(9).Click();
    f.cmdTahNoty.Click();
    EXPECT_EQ(Kurzor(), "$B$3");
    EXPECT_EQ(f.cmdKlavesa(18).BackColor, 0x800080u);
    EXPECT_EQ(f.cmdJakDal.BackColor, 0x8080FFu);
    EXPECT_EQ(Bunka("B2"), "c1,") << "the staff writer wrote the head the press drew";
    EXPECT_TRUE(TakeBoxes().empty());
}

// Grip 5, a grip of basses only on row 6 and grip 7 recorded by clicks; then
// "Poslední", "Další" and "> Tlak" write the next grip after the song, on row
// 8, and the grip of basses only stays as it was.
TEST_F(WritersTest, RecordingAfterTheLastGripKeepsAGripOfBassesOnly) {
    Form1& f = StartRecording();
    for (int r = 1; r <= 4; ++r) {
        Zapis("B" + std::to_string(r), "c1,");
        Zapis("I" + std::to_string(r), "Tlak");
    }
    ExcelAplikace->Range("B5").Select();
    Klikni(f, {16});
    f.cmdTlak.Click();
    Klikni(f, {16});  // let go of the treble button: basses only
    Basy(f, {50});
    f.cmdTlak.Click();
    Basy(f, {50});
    Klikni(f, {20});
    f.cmdTah.Click();
    const Radek jenBasy = Doplneny({"", "", "", "", "", "", "", "Tlak"}, 8);
    ASSERT_EQ(Bunky(6, 'B', 'I'), jenBasy);
    ASSERT_EQ(Bunka("M6"), "C dur");

    f.cmdPosledni.Click();
    EXPECT_EQ(Kurzor(), "$B$7");
    f.cmdDalsi.Click();
    EXPECT_EQ(Kurzor(), "$B$8");
    Klikni(f, {23});
    Basy(f, {3});
    f.cmdTlak.Click();

    EXPECT_EQ(Bunky(6, 'B', 'I'), jenBasy);
    EXPECT_EQ(Bunky(6, 'M', 'N'), (Radek{"C dur", ""}));
    EXPECT_EQ(Bunky(7, 'B', 'I'), Doplneny({"h1,", "", "", "", "", "", "", "Tah"}, 8));
    EXPECT_EQ(Bunky(8, 'B', 'I'), Doplneny({"d2,", "", "", "", "", "", "", "Tlak"}, 8));
    EXPECT_EQ(Bunky(8, 'M', 'N'), (Radek{"Es terc.", ""}));
    EXPECT_EQ(Kurzor(), "$B$9");
    EXPECT_TRUE(TakeBoxes().empty());
}

// A pressed bass that the lookup sheet lacks: one message, the row as far as
// it was written, the cursor back on it.
TEST_F(WritersTest, ABassMissingFromTheLookupSheetIsReportedOnce) {
    Form1& f = StartRecording();
    struct Row {
        const char* bunka;  // the cell of column A emptied
        int bas;
    };
    // 50 lies in no cell; 4 lies only inside 14, 24 and 34.
    for (const Row& r : {Row{"A51", 50}, Row{"A5", 4}}) {
        SCOPED_TRACE(r.bas);
        VTabulce(r.bunka, vb::Variant());
        f.lbl(13).Click();
        Basy(f, {45, r.bas, 10});  // scanned 45, then the missing one
        f.cmdTlak.Click();
        const auto boxy = TakeBoxes();
        ASSERT_EQ(boxy.size(), 1u);
        EXPECT_EQ(boxy[0].title, "Bas nelze zapsat.");
        EXPECT_EQ(boxy[0].prompt.rfind("Bas číslo " + std::to_string(r.bas) + " v tabulce basů", 0), 0u);
        EXPECT_EQ(Bunka("B1"), "e1,");
        EXPECT_EQ(Bunky(1, 'M', 'O'), (Radek{"Des dur", "", ""}));
        EXPECT_EQ(Bunka("I1"), "");
        EXPECT_EQ(Kurzor(), "$B$1");
        EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), AktualniPisen);
        f.cmdUvolKnofl_Click();
        VTabulce(r.bunka, vb::Variant(static_cast<std::int16_t>(r.bas)));
    }
}

// The song's window closed under the program: one message, nothing written.
TEST_F(WritersTest, AClosedSongWindowIsReportedOnce) {
    Form1& f = StartRecording();
    f.lbl(13).Click();
    ExcelAplikace->Windows(AktualniPisen).Activate();
    ExcelAplikace->ActiveWorkbook().Close(false);
    f.cmdTlak.Click();
    f.cmdTlakNoty.Click();
    const auto boxy = TakeBoxes();
    ASSERT_EQ(boxy.size(), 2u);
    for (const Box& b : boxy) EXPECT_EQ(b.title, "Nenalezena aktuální skladba.");
}

// The bubble sort keeps equal keys in their order and moves names with keys.
TEST(SeradPole, SortsByKeyAndKeepsEqualKeysInOrder) {
    std::array<std::uint8_t, 7> klice{20, 5, 99, 12, 5, 0, 99};
    std::array<std::string, 7> jmena{"a", "b", "c", "d", "e", "f", "g"};
    Form1::SeradPole(klice, jmena);
    EXPECT_EQ(klice, (std::array<std::uint8_t, 7>{0, 5, 5, 12, 20, 99, 99}));
    EXPECT_EQ(jmena, (std::array<std::string, 7>{"f", "b", "e", "d", "a", "c", "g"}));
}

}  // namespace
